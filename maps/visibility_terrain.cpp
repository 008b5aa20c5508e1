#include "maps/visibility_terrain.h"

#include <algorithm>
#include <cmath>

#include "terrain/mesh_code.h"
#include "terrain/mesh_tile.h"

namespace velkaro {

double VisibilityTerrain::GroundAtSample(double gx, double gy) const {
  gx = std::clamp(gx, 0.0, static_cast<double>(width - 1));
  gy = std::clamp(gy, 0.0, static_cast<double>(height - 1));
  const int x0 = std::min(static_cast<int>(gx), width - 2);
  const int y0 = std::min(static_cast<int>(gy), height - 2);
  const double fx = gx - x0;
  const double fy = gy - y0;
  const float* row0 = ground.data() + static_cast<size_t>(y0) * width + x0;
  const float* row1 = row0 + width;
  const double top = row0[0] + (row0[1] - row0[0]) * fx;
  const double bottom = row1[0] + (row1[1] - row1[0]) * fx;
  return top + (bottom - top) * fy;
}

std::string ViewMapTileCode(int m, int n) {
  // The centre of the square, so that rounding at its edges cannot pick a neighbour.
  const double latitude = kViewMapNorth - (m + 0.5) * (5.0 / 60.0);
  const double longitude = kViewMapWest + (n + 0.5) * (7.5 / 60.0);
  return MeshCodeOf(latitude, longitude);
}

VisibilityTerrain LoadVisibilityTerrain(const std::string& meshFolder) {
  VisibilityTerrain t;
  t.ground.assign(static_cast<size_t>(t.width) * t.height, 0.0f);
  t.water.assign(t.ground.size(), 1);
  for (int m = 0; m < kViewMapTileRows; ++m) {
    for (int n = 0; n < kViewMapTileColumns; ++n) {
      const MeshTile tile = LoadMeshTile(meshFolder, ViewMapTileCode(m, n));
      if (!tile.present) {
        ++t.tilesMissing;
        continue;  // left as open water at sea level
      }
      ++t.tilesFound;
      for (int r = 1; r <= kTileCells; ++r) {
        const size_t rowStart = static_cast<size_t>(m * kTileCells + r - 1) * t.width +
                                static_cast<size_t>(n) * kTileCells;
        for (int s = 1; s <= kTileCells; ++s) {
          const MeshSample sample = DecodeMeshSample(tile.sample(r, s));
          const bool sea = sample.height < 0 || sample.surfaceClass == kSurfaceFiller;
          const size_t i = rowStart + (s - 1);
          t.ground[i] = sea ? 0.0f : static_cast<float>(sample.height);
          t.water[i] = (sea || sample.surfaceClass == kSurfaceWater) ? 1 : 0;
        }
      }
    }
  }
  return t;
}

}  // namespace velkaro
