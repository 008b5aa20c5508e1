// velkaro-cli add-municipality-elevations: the municipality source list → d30.03 with the terrain
// elevation of each town hall.
#include <cstdio>

#include "cli/command.h"
#include "cli/data_tool_folders.h"
#include "core/folders.h"
#include "terrain/elevation.h"
#include "tools/catalogue_data/catalogue_build.h"

namespace velkaro::cli {
namespace {

int RunAddMunicipalityElevations(const Args& a) {
  const std::string folder = Data2Folder(a);
  TileCache cache(a.text("mesh", MakeAppFolders(ExecutableFolder()).meshFolder));
  const tools::ToolReport r = tools::AddMunicipalityElevations(
      a.text("source", folder + tools::kMunicipalitySourceName),
      a.text("out", folder + tools::kMunicipalityElevationsName),
      [&](double lat, double lon) { return TerrainElevationAt(cache, lat, lon); },
      [](int done) { std::fprintf(stderr, "\r%d", done); });
  if (r.lines > 0) std::fprintf(stderr, "\n");
  return ReportTool(r);
}

const RegisterCommand kAddMunicipalityElevations(
    "add-municipality-elevations", "[--data2 DIR] [--mesh DIR] [--source FILE] [--out FILE]",
    RunAddMunicipalityElevations);

}  // namespace
}  // namespace velkaro::cli
