#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/sight_line.h"
#include "render/frame.h"
#include "render/raster.h"

namespace velkaro {

// One line of the mountain label list: field 1 name, 3 height, 4 latitude, 5 longitude, 6 class.
struct MountainLabel {
  std::string name;
  float height = 0;
  float latitude = 0;
  float longitude = 0;
  int labelClass = 0;  // 100, 200, 300 or other values above 10: famous; 10 or less: not
};

// Reads the list's lines (UTF-8); lines whose fields do not read as numbers are skipped.
std::vector<MountainLabel> ParseMountainLabels(const std::vector<std::string>& lines);

// A mountain in view, placed on the panorama.
struct LabelEntry {
  std::string name;
  float height = 0;
  int x = 0;
  int y = 0;
  int yFoot = 0;  // screen y of the point at height 0 below the peak
  float distanceKm = 0;
  float latitude = 0;
  float longitude = 0;
  int labelClass = 0;
};
using LabelList = std::vector<LabelEntry>;

// The mountains within 1.2 half fields of the summit's azimuth, between 0.2 km and 10 km beyond
// the summit, placed with the nearest integer, farthest first. The frame's saved ppd is used.
LabelList BuildLabelList(const std::vector<MountainLabel>& mountains, const Observer& observer,
                         const SummitSight& sight, const PanoramaFrame& frame);

// A name pinned by Shift-click.
struct PinnedLabel {
  std::string name;
  int x = 0;
  int y = 0;
  int labelClass = 0;
};

// Background colour of a famous mountain's label by its class.
Rgb LabelClassColour(int labelClass);

// The vertical labels on the window canvas: all labels in black on white (state 2), then the
// famous ones in white on their class colour (states 1 and 2), then the pinned names.
void DrawLabels(QImage& canvas, const LabelList& labels, LabelDisplayState state,
                const std::vector<PinnedLabel>& pinned);
void DrawPinnedLabels(QImage& canvas, const std::vector<PinnedLabel>& pinned);

// What a press of the label button "山名" does: the new state, and whether to ask before the
// pinned names are cleared (the answer goes to ResolvePinnedQuestion).
struct LabelButtonOutcome {
  LabelDisplayState state = LabelDisplayState::kOff;
  bool presentPanorama = true;
  bool drawLabels = false;
  bool askToClearPinned = false;
};
LabelButtonOutcome PressLabelButton(LabelDisplayState state, bool namesPinned);
inline constexpr const char* kClearPinnedQuestion =
    "書き込みを指定した山名があります\r\n削除してもっよろしいですか？";
// Yes clears the pinned names; No keeps them and they are drawn again.
void ResolvePinnedQuestion(bool yes, std::vector<PinnedLabel>& pinned, QImage& canvas);

}  // namespace velkaro
