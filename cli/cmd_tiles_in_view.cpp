// velkaro-cli tiles-in-view: the squares a detailed drawing of a viewpoint would draw, farthest
// first, from the frame of a simple redraw at the given draw size. The viewpoint goes through a
// pick and the sizes are the window's client size, as for velkaro-cli panorama, so that both
// commands see the same frame.
#include <string>

#include "cli/command.h"
#include "cli/gui_output.h"
#include "core/summit_grid.h"
#include "core/text.h"
#include "core/viewpoint.h"
#include "render/frame.h"
#include "render/panorama.h"
#include "resources/embedded.h"
#include "terrain/tiles_in_view.h"

namespace velkaro::cli {
namespace {

float ZoomOf(const Args& a) {
  const std::string text = a.text("size", "1.0");
  const auto v = ParseNumber(text);
  for (float zoom : kDrawSizeZoom) {
    if (v && static_cast<float>(*v) == zoom) return zoom;
  }
  throw UsageError("--size: '" + text + "' is not one of 0.06 0.2 0.3 0.5 0.7 1.0 1.4 2.0");
}

int RunTilesInView(const Args& a) {
  const Observer o = LoadCurrentViewpoint(PickFromArgs(a), false, "").viewpoint.observer();
  const int width = static_cast<int>(a.number("width", 1920));
  const int height = static_cast<int>(a.number("height", 1080));
  if (width <= kMainPanelWidth || height <= kPanoramaHeightMargin + 30) {
    throw UsageError("--width/--height leave no room for the panorama");
  }
  const SummitGrid grid = LoadSummitGrid(EmbeddedResource("zorvht"));
  if (grid.empty()) throw std::runtime_error("the summit height grid is not embedded");
  const SummitSight sight = ComputeSummitSight(o);
  const PanoramaFrame frame =
      ComputeFrame(width, height, ZoomOf(a), sight, ProjectSummitGridExtremes(grid, o, sight));
  const ViewFrame view{sight.summitAzimuth, sight.summitDistanceKm, frame.leftAzimuth,
                       frame.rightAzimuth};
  const TileList list = SelectTilesInView(o, view);
  Json tiles = Json::array();
  for (const auto& e : list) tiles.push_back({{"meshCode", e.code}, {"distanceKm", e.distanceKm}});
  PrintJson({{"summitAzimuth", sight.summitAzimuth},
             {"summitDistanceKm", sight.summitDistanceKm},
             {"leftAzimuth", frame.leftAzimuth},
             {"rightAzimuth", frame.rightAzimuth},
             {"count", list.size()},
             {"tiles", tiles}});
  return 0;
}

const RegisterCommand kTilesInView("tiles-in-view",
                                   "--lat φ --lon λ --elev m [--size zoom] [--width W --height H]",
                                   RunTilesInView);

}  // namespace
}  // namespace velkaro::cli
