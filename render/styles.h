#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "render/terrain_view.h"

namespace velkaro {

// The style radio buttons: "簡易図" (RadioButton22), "写真調" (23), "水彩画" (24), "水墨画" (25).
enum class StyleChoice { kSimple, kPhoto, kWatercolour, kInk };

// What selecting a style radio button does, in order: clear the pinned names, the simple redraw,
// then with the foreground ticked the label button shows and the detailed drawing follows in the
// chosen style (with a beep for watercolour and ink before it); finally the panorama is
// presented. The click handlers of the three detailed radios beep once more afterwards.
struct StylePlan {
  bool clearPinned = true;
  bool redraw = true;
  bool labelButtonVisible = false;
  std::optional<DrawingStyle> detailed;  // sets drawingStyle, then DrawDetailedView
  int beepsBeforeDetailed = 0;
  bool present = true;
  int beepsAfter = 0;  // from the click handler
};
StylePlan ApplyDrawingStyle(StyleChoice choice, bool foreground);

// A detailed style button ("写真調" Button67, "水彩画" Button68, "水墨画" Button69): all three are
// disabled, drawingStyle is set, the suppression flag cleared, and one detailed drawing runs
// (which enables the buttons again).
struct DetailedButtonPlan {
  DrawingStyle style = DrawingStyle::kPhoto;
  bool disableButtons = true;
  bool clearSuppression = true;
};
DetailedButtonPlan PressDetailedStyleButton(DrawingStyle style);

// The hide-sun and hide-moon buttons as changes of the program state and of controls the window
// applies (object name, enabled), in order.
enum class HideButton { kButton11, kButton4, kButton46, kButton48 };
struct HideOutcome {
  enum class Redraw { kShowCataloguePick, kRedrawPanorama };
  Redraw redraw = Redraw::kShowCataloguePick;
  bool copyPanoramaAfter = false;  // CopyPanoramaToWindow after the redraw
  std::vector<std::pair<std::string, bool>> enable;
  std::vector<std::string> hide;
  bool clearAltitudeItems = false;  // ComboBox1's items emptied
};
HideOutcome PressHideButton(HideButton button, AppState& state);

}  // namespace velkaro
