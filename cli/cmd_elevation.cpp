// velkaro-cli elevation: the terrain tile sample under a world-datum point.
#include "cli/command.h"
#include "core/folders.h"
#include "terrain/elevation.h"

namespace velkaro::cli {
namespace {

int RunElevation(const Args& a) {
  const AppFolders folders = MakeAppFolders(ExecutableFolder());
  TileCache cache(a.text("mesh", folders.meshFolder));
  const ElevationLookup e = LookUpElevation(cache, a.number("lat"), a.number("lon"));
  PrintJson({{"meshCode", e.code},
             {"row", e.row},
             {"column", e.column},
             {"tilePresent", e.tilePresent},
             {"height", e.height},
             {"surfaceClass", e.surfaceClass},
             {"elevation", e.elevation}});
  return 0;
}

const RegisterCommand kElevation("elevation", "--lat φ --lon λ [--mesh DIR]", RunElevation);

}  // namespace
}  // namespace velkaro::cli
