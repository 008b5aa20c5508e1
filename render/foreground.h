#pragma once

#include <QImage>
#include <vector>

#include "core/app_state.h"
#include "core/viewpoint.h"
#include "render/frame.h"
#include "render/labels.h"

namespace velkaro {

// The area the terrain tiles cover: inside it the detailed styles can be drawn and no sea horizon
// is drawn by the simple foreground.
bool InDetailedArea(double latitude, double longitude);

struct SimpleForegroundResult {
  LabelList labels;  // the labels whose peaks nothing nearer covered, farthest first
  float hmax = 100;  // greatest height among them, never below 100
  float horizonDistanceKm = 0;
  float horizonDip = 0;
  bool horizonDrawn = false;
  int horizonY = 0;
};

inline constexpr const char* kHorizonText1 =
    "この線は水平線、または地平線の高さです。これ以下のものは水平線以下に隠れます";
inline constexpr const char* kHorizonText2 =
    "　（遠距離の場合、大気の温度、地表、海水の温度などにより見え方が変動します）";

// The nearer mountains as cones fading into haze, farthest first, each leaving a red marker on its
// peak; the sea horizon outside the detailed area; then the labels whose marker survived.
// markerOffset is 0 until a detailed drawing has been made, 1 after.
SimpleForegroundResult DrawSimpleForeground(QImage& panorama, const LabelList& labels,
                                            const Viewpoint& viewpoint, const SummitSight& sight,
                                            const PanoramaFrame& frame, EventOverlayMode mode,
                                            float brightness, int markerOffset);

}  // namespace velkaro
