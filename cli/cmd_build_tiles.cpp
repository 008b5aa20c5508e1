// velkaro-cli build-tiles / build-summit-grid: the data pipeline's steps by hand (the build runs
// the same code through velkaro-datatool).
#include <stdexcept>

#include "cli/command.h"
#include "tools/data_commands.h"

namespace velkaro::cli {
namespace {

int RunBuildTiles(const Args& a) {
  try {
    const auto report = tools::RunBuildTiles(a.text("dem"), a.text("out"),
                                             static_cast<int>(a.number("threads", 2)));
    Json lakes = Json::array();
    for (const auto& b : report.lakeBodies) {
      lakes.push_back({{"level", b.level},
                       {"pixels", b.pixels},
                       {"latitude", b.latitude},
                       {"longitude", b.longitude}});
    }
    PrintJson({{"tiles", report.tiles},
               {"seaSamples", report.seaSamples},
               {"lakeSamples", report.lakeSamples},
               {"lakes", lakes}});
    return 0;
  } catch (const std::runtime_error& e) {
    PrintJson({{"error", e.what()}});
    return 1;
  }
}

int RunBuildSummitGrid(const Args& a) {
  try {
    const SummitGrid grid = tools::RunBuildSummitGrid(a.text("dem"), a.text("out"));
    int top = 0, topRow = 0, topCol = 0;
    for (int i = 1; i <= grid.rows(); ++i) {
      for (int j = 1; j <= grid.cols(); ++j) {
        if (grid.height(i, j) > top) top = grid.height(i, j), topRow = i, topCol = j;
      }
    }
    PrintJson({{"rows", grid.rows()},
               {"cols", grid.cols()},
               {"highest", top},
               {"highestRow", topRow},
               {"highestCol", topCol}});
    return 0;
  } catch (const std::runtime_error& e) {
    PrintJson({{"error", e.what()}});
    return 1;
  }
}

const RegisterCommand kBuildTiles("build-tiles", "--dem DIR --out DIR [--threads n]",
                                  RunBuildTiles);
const RegisterCommand kBuildSummitGrid("build-summit-grid", "--dem DIR --out FILE",
                                       RunBuildSummitGrid);

}  // namespace
}  // namespace velkaro::cli
