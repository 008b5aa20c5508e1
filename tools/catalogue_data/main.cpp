// velkaro-build-catalogue: the build step that makes the catalogue lists of DATA/DATA2 from the
// source data, graded on the view map picture it is given (velkaro-cli embeds that picture, so
// this step stands apart from it).
#include <cstdio>
#include <cstring>
#include <string>

#include "core/text.h"
#include "maps/view_map.h"
#include "terrain/elevation.h"
#include "terrain/tile_cache.h"
#include "tools/catalogue_data/catalogue_build.h"

int main(int argc, char** argv) {
  std::string sources, viewMap, tiles, work, out;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--sources")
      sources = value;
    else if (name == "--view-map")
      viewMap = value;
    else if (name == "--tiles")
      tiles = value;
    else if (name == "--work")
      work = value;
    else if (name == "--out")
      out = value;
  }
  if (sources.empty() || viewMap.empty() || tiles.empty() || work.empty() || out.empty()) {
    std::fprintf(stderr,
                 "usage: velkaro-build-catalogue --sources DIR --view-map GIF --tiles DIR "
                 "--work DIR --out DATA2\n");
    return 2;
  }
  const auto bytes = velkaro::ReadFileBytes(viewMap);
  if (!bytes) {
    std::fprintf(stderr, "velkaro-build-catalogue: cannot read %s\n", viewMap.c_str());
    return 1;
  }
  velkaro::ViewMap map(
      std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()));
  if (!map.image()) {
    std::fprintf(stderr, "velkaro-build-catalogue: %s: %s\n", viewMap.c_str(), map.error().c_str());
    return 1;
  }
  velkaro::TileCache cache(tiles);
  velkaro::tools::CatalogueBuildReport report;
  std::string error;
  const bool ok = velkaro::tools::BuildCatalogue(
      sources, work, out,
      [&](double lat, double lon) { return velkaro::VisibilityValueAt(map, lat, lon); },
      [&](double lat, double lon) { return velkaro::TerrainElevationAt(cache, lat, lon); }, &report,
      &error);
  if (!ok) {
    std::fprintf(stderr, "velkaro-build-catalogue: %s\n", error.c_str());
    return 1;
  }
  std::printf(
      "catalogue: d10.03 %d mountains; d2.03 %d summits (● %d, ◎ %d, ○ %d, △ %d); d4.03 %d of %d "
      "municipalities (● %d, ◎ %d, ○ %d, △ %d); d3.20 %d places; %d rows skipped\n",
      report.mountains, report.summits, report.summitGrades[0], report.summitGrades[1],
      report.summitGrades[2], report.summitGrades[3], report.visibleMunicipalities,
      report.municipalities, report.municipalityGrades[0], report.municipalityGrades[1],
      report.municipalityGrades[2], report.municipalityGrades[3], report.places, report.skipped);
  return 0;
}
