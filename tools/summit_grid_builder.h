#pragma once

#include "core/summit_grid.h"
#include "tools/dem_sources.h"

namespace velkaro::tools {

// The mountain's own height grid: 216 × 176 cells placed around the summit reference point, each
// the composite model's height there (the 1" source around the summit) in whole metres. The header
// carries the reference point of the grid in arc-minutes, Tokyo datum, as the program has always
// stored it.
SummitGrid BuildSummitGrid(const DemSources& sources);

}  // namespace velkaro::tools
