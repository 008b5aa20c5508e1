#pragma once

#include <string>

#include "core/summit_grid.h"
#include "tools/tile_builder.h"

namespace velkaro::tools {

// The data pipeline's two steps, shared by velkaro-cli and the build's own data tool (which the
// build runs before anything that embeds their output exists). Both throw std::runtime_error with
// a message naming what failed.

// Writes <outDir>/<mesh code>.bh2 for every square of the area.
TileBuildReport RunBuildTiles(const std::string& demDir, const std::string& outDir, int threads);

// Writes the summit height grid resource (all rows × cols heights) to outFile; returns the grid.
SummitGrid RunBuildSummitGrid(const std::string& demDir, const std::string& outFile);

}  // namespace velkaro::tools
