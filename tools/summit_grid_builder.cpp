#include "tools/summit_grid_builder.h"

#include <cmath>

namespace velkaro::tools {

SummitGrid BuildSummitGrid(const DemSources& sources) {
  SummitGrid grid;
  grid.Resize(216, 176);
  grid.originLatMinutes = 921.575f;
  grid.originLonMinutes = 1124.025f;
  for (int i = 1; i <= grid.rows(); ++i) {
    for (int j = 1; j <= grid.cols(); ++j) {
      const CompositeValue v = SampleComposite(sources, grid.latitude(i), grid.longitude(j));
      grid.setHeight(i, j, static_cast<int>(std::floor(v.height + 0.5)));
    }
  }
  return grid;
}

}  // namespace velkaro::tools
