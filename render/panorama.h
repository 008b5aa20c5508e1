#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/datetime.h"
#include "core/summit_grid.h"
#include "core/viewpoint.h"
#include "render/foreground.h"
#include "render/frame.h"
#include "render/labels.h"
#include "render/raster.h"

namespace velkaro {

inline const Rgb kDiamondMountainColour{125, 83, 69};

struct SkyColours {
  Rgb top;
  Rgb bottom;
  float brightness = 1.0f;
};

// Sky colours and brightness: day without an overlay, evening with the sun path, and with the
// moon path by the sun's apparent altitude and azimuth at the pearl display instant.
SkyColours ChooseSky(EventOverlayMode mode, float sunAltitude, float sunAzimuth);

// The viewing quadrant from the summit's azimuth, and the grid's cell order for it.
enum class Quadrant { kNorth, kEast, kSouth, kWest };
Quadrant ViewingQuadrant(double summitAzimuth);

// Everything one redraw reads.
struct PanoramaInputs {
  Viewpoint viewpoint;  // loaded from the pick, with the altitude correction applied
  int clientWidth = 1920;
  int clientHeight = 1080;
  int drawSize = kDefaultDrawSize;  // index into kDrawSizeZoom
  EventOverlayMode mode = EventOverlayMode::kNone;
  DateTime pearlInstant = 0;  // the pearl display instant, for the sky in the moon display
  bool foreground = false;    // "前景の山描画"
  const SummitGrid* grid = nullptr;
  const QImage* kumo = nullptr;  // the cloud picture; none gives a white band
  uint32_t cloudSeed = 0;        // picks the cloud band's column
  const std::vector<MountainLabel>* mountains = nullptr;  // the label list, when there is one
  int markerOffset = 0;  // 0 until the first detailed drawing, then 1
};

struct EventButtonStates {
  bool button10 = true;  // "ダイヤモンドZorvを表示"
  bool button9 = true;   // "ダイヤモンドﾞZorvを探す"
  bool button11 = false;
  bool button4 = false;
  std::optional<bool> button45;  // "パールZorvを表示"; nothing: left as it was
  std::optional<bool> button46;
};

// Everything one redraw produces; the window applies the states to its controls and shows the
// images. The label display state returns to off after every redraw.
struct PanoramaResult {
  QImage panorama;
  PanoramaFrame frame;
  SummitSight sight;
  SkyColours sky;
  Quadrant quadrant = Quadrant::kNorth;
  int cloudColumn = 0;
  float edgeTop = -100;
  EventButtonStates buttons;
  bool detailedArea = false;               // the three detailed style buttons are enabled
  bool detailedStyleGroupVisible = false;  // "詳細描画ｽﾀｲﾙ"
  int upDownPosition = 0;                  // UpDown1 := focal length (within its 10..1000)
  std::string edit9;                       // the mountain's highest elevation angle, general form
  std::vector<std::string> informationLines;
  std::string informationLabel;  // Label12
  LabelList labels;              // survivors of the simple foreground (empty without it)
  float hmax = 100;
  SimpleForegroundResult foregroundDetail;
  LensPreview lens;
};

// Where the summit grid's projection from a viewpoint reaches, as a redraw computes it before it
// sets up the frame (for tools that need the frame without drawing).
GridExtremes ProjectSummitGridExtremes(const SummitGrid& grid, const Observer& observer,
                                       const SummitSight& sight);

// `recycled` may hand over the previous panorama: when it has the new size its pixel memory is
// drawn over again instead of a fresh image being allocated (every pixel is repainted).
PanoramaResult RedrawPanorama(const PanoramaInputs& in, QImage recycled = {});

// The bottom strip with the azimuth scale; the numbers are written for every degree when the view
// spans at most 30, else for multiples of 5. The simple drawing truncates the edge azimuths, the
// detailed drawing rounds them.
enum class ScaleRounding { kTruncate, kNearest };
void DrawAzimuthScale(QImage& panorama, const PanoramaFrame& frame, ScaleRounding rounding);
// The degrees the scale ticks, in order, and whether each is numbered.
struct ScaleTick {
  int azimuth;
  int x;
  bool major;
  bool numbered;
};
std::vector<ScaleTick> AzimuthScaleTicks(const PanoramaFrame& frame, ScaleRounding rounding);

// The information text's lines and the information label.
std::vector<std::string> InformationLines(const Viewpoint& v, const SummitSight& sight,
                                          int focalLength);
std::string InformationLabel(const Viewpoint& v, const SummitSight& sight);

}  // namespace velkaro
