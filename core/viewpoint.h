#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/sight_line.h"

namespace velkaro {

// The current viewing point.
struct Viewpoint {
  double latitude = 0;
  double longitude = 0;
  float elevation = 0;      // metres, including the altitude correction when it is on
  float baseElevation = 0;  // metres, as picked
  std::string name;
  std::string reading;
  std::string remark;

  Observer observer() const { return {latitude, longitude, elevation}; }
};

// A place as picked from a catalogue or a map; coordinates at single precision.
struct Pick {
  float latitude = 0;
  float longitude = 0;
  float elevation = 0;
  std::string name;
  std::string reading;
  std::string remark;
};
using CataloguePick = Pick;
using MapPick = Pick;

// Which pick the viewpoint is loaded from.
enum class PickSelector : uint8_t { kCatalogue = 0, kMap = 1 };

// The place shown when nothing was saved yet.
Pick DefaultViewpointPick();

// The altitude correction's combo box items, in order, and its text after a layout rebuild.
inline constexpr std::array<const char*, 12> kAltitudeCorrectionItems = {
    "   10", "   20", "   50", "  100", "  200", "  300",
    "  500", " 1000", " 2000", " 3000", " 5000", "10000"};
inline constexpr const char* kAltitudeCorrectionDefaultText = "  50";

// Reads a correction text: with a "+" its characters 2 to 11 trimmed, then what stands before the
// first "m", read as a decimal number. False when what is left is not a number.
bool ParseAltitudeCorrection(const std::string& text, double& value);

struct LoadedViewpoint {
  Viewpoint viewpoint;
  bool ok = true;     // false: the correction text was not a number
  std::string error;  // the conversion error to report
};

// Copies the pick into a fresh viewpoint (so a correction is never applied twice) and, when the
// correction is on, raises the elevation by it. A correction that does not read as a number is a
// conversion error; the viewpoint then holds the pick's values.
LoadedViewpoint LoadCurrentViewpoint(const Pick& pick, bool correctionOn,
                                     const std::string& correctionText);

}  // namespace velkaro
