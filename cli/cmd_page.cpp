// velkaro-cli page: writes one of the generated web map pages.
#include "catalogue/registered.h"
#include "cli/command.h"
#include "core/folders.h"
#include "core/sight_line.h"
#include "maps/pages.h"
#include "terrain/destination.h"

namespace velkaro::cli {
namespace {

int RunPage(const Args& a) {
  // The page as a word ("page map1 ...") or as --kind.
  const std::string kind = a.words().empty() ? a.text("kind") : a.word(0);
  const double lat = a.number("lat");
  const double lon = a.number("lon");
  const std::string out = a.text("out");
  const int mode = static_cast<int>(a.number("mode", 0));
  if (mode < 0 || mode > 2) throw UsageError("--mode must be 0, 1 or 2");
  std::string error;
  bool ok = false;
  if (kind == "map1") {
    PickMapContent content;
    content.centre = {lat, lon};
    content.mode = static_cast<ViewMode>(mode);
    RegisteredViewpoints registered;
    const std::string markers = a.text("registered", "off");
    if (markers != "on" && markers != "off") throw UsageError("--registered must be on or off");
    if (markers == "on") {
      const std::string folder = a.text("folder", MakeAppFolders(ExecutableFolder()).userFolder);
      CatalogueLoad load = LoadRegisteredViewpoints(folder + "/location.csv");
      if (!load.ok) throw std::runtime_error(load.error);
      registered = std::move(load.list);
      content.registered = &registered;
    }
    ok = WritePickMapPage(out, content, {}, &error);
  } else if (kind == "kgmap") {
    const SummitSight sight = ComputeSummitSight({lat, lon, 0});
    const GeoPoint end = DestinationPoint(lat, lon, kDirectionLineArcDeg, sight.summitAzimuth);
    ok = WriteDirectionMapPage(out, {lat, lon}, {end.latitude, end.longitude}, {}, &error);
  } else if (kind == "mtmap") {
    ok = WriteListPointMapPage(out, static_cast<float>(lat), static_cast<float>(lon), {}, &error);
  } else {
    throw UsageError("--kind must be map1, kgmap or mtmap");
  }
  if (!ok) throw std::runtime_error(error);
  PrintJson({{"kind", kind}, {"written", out}});
  return 0;
}

const RegisterCommand kPage("page",
                            "map1|kgmap|mtmap --lat φ --lon λ [--mode 0|1|2] "
                            "[--registered on|off] [--folder USERDIR] -o FILE",
                            RunPage, true);

}  // namespace
}  // namespace velkaro::cli
