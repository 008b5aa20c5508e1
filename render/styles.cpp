#include "render/styles.h"

namespace velkaro {

StylePlan ApplyDrawingStyle(StyleChoice choice, bool foreground) {
  StylePlan p;
  p.labelButtonVisible = foreground;
  if (foreground) {
    switch (choice) {
      case StyleChoice::kSimple:
        break;
      case StyleChoice::kPhoto:
        p.detailed = DrawingStyle::kPhoto;
        break;
      case StyleChoice::kWatercolour:
        p.detailed = DrawingStyle::kWatercolour;
        p.beepsBeforeDetailed = 1;
        break;
      case StyleChoice::kInk:
        p.detailed = DrawingStyle::kInk;
        p.beepsBeforeDetailed = 1;
        break;
    }
  }
  p.beepsAfter = choice == StyleChoice::kSimple ? 0 : 1;
  return p;
}

DetailedButtonPlan PressDetailedStyleButton(DrawingStyle style) {
  DetailedButtonPlan p;
  p.style = style;
  return p;
}

HideOutcome PressHideButton(HideButton button, AppState& s) {
  HideOutcome o;
  s.altitudeCorrectionOn = false;
  switch (button) {
    case HideButton::kButton11:
      s.pickSelector = PickSelector::kCatalogue;
      s.viewpoint = LoadCurrentViewpoint(s.cataloguePick, false, "").viewpoint;
      o.enable = {{"Button10", true}};
      s.sunShown = s.moonShown = false;
      s.eventOverlayMode = EventOverlayMode::kNone;
      o.redraw = HideOutcome::Redraw::kShowCataloguePick;
      o.enable.push_back({"Button11", false});
      o.hide = {"GroupBox3", "GroupBox4", "GroupBox5", "GroupBox6", "GroupBox7"};
      break;
    case HideButton::kButton4:
      s.viewpoint.elevation = s.viewpoint.baseElevation;
      s.eventOverlayMode = EventOverlayMode::kNone;
      o.redraw = HideOutcome::Redraw::kRedrawPanorama;
      s.sunShown = s.moonShown = false;
      o.copyPanoramaAfter = true;
      o.enable = {{"Button4", false}, {"Button9", true}};
      break;
    case HideButton::kButton46:
    case HideButton::kButton48: {
      const bool main = button == HideButton::kButton46;
      s.viewpoint.elevation = s.viewpoint.baseElevation;
      o.hide = {"GroupBox7"};
      o.enable = {{main ? "Button45" : "Button44", true},
                  {main ? "Button46" : "Button48", false},
                  {"Button47", true}};
      s.sunShown = s.moonShown = false;
      s.eventOverlayMode = EventOverlayMode::kNone;
      o.redraw =
          main ? HideOutcome::Redraw::kShowCataloguePick : HideOutcome::Redraw::kRedrawPanorama;
      o.enable.push_back({"Button11", false});
      for (const char* g : {"GroupBox3", "GroupBox4", "GroupBox5", "GroupBox6"})
        o.hide.push_back(g);
      o.clearAltitudeItems = !main;
      break;
    }
  }
  return o;
}

}  // namespace velkaro
