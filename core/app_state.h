#pragma once

#include <string>

#include "core/viewpoint.h"

namespace velkaro {

// What the panorama shows besides the mountain.
enum class EventOverlayMode { kNone = 0, kSunPath = 1, kMoonPath = 2 };
enum class ViewMode { kView = 0, kDiamond = 1, kPearl = 2 };
enum class ScreenState { kPanorama = 1, kNewPoint = 2, kMapSelection = 3 };
enum class LabelDisplayState { kOff = 0, kFamous = 1, kAll = 2 };

// The program-wide state, owned by the main window; computations take what they need from it.
struct AppState {
  Viewpoint viewpoint;
  CataloguePick cataloguePick = DefaultViewpointPick();
  MapPick mapPick = [] {
    MapPick p;
    p.name = "New Point";
    return p;
  }();
  PickSelector pickSelector = PickSelector::kCatalogue;

  bool altitudeCorrectionOn = false;
  std::string altitudeCorrectionText = kAltitudeCorrectionDefaultText;

  EventOverlayMode eventOverlayMode = EventOverlayMode::kNone;
  ViewMode viewMode = ViewMode::kView;
  ScreenState screenState = ScreenState::kPanorama;
  bool drawingSuppressed = false;
  LabelDisplayState labelDisplayState = LabelDisplayState::kOff;
  bool sunShown = false;
  bool moonShown = false;
  bool deleteGeneratedFiles = true;
  bool developerKey = true;
  bool networkAvailable = false;

  const Pick& selectedPick() const {
    return pickSelector == PickSelector::kCatalogue ? cataloguePick : mapPick;
  }
};

}  // namespace velkaro
