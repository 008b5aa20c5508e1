#pragma once

#include <string>
#include <vector>

#include "core/sight_line.h"

namespace velkaro {

struct TileListEntry {
  std::string code;
  double distanceKm = 0;  // from the viewpoint to the centre of the square
};
// Farthest first. Every square in view is kept (the list is not cut at 199 entries).
using TileList = std::vector<TileListEntry>;

// What the tile selection needs of the last panorama redraw.
struct ViewFrame {
  double summitAzimuth = 0;     // As
  double summitDistanceKm = 0;  // Ds
  double leftAzimuth = 0;       // the panorama's edges, degrees in [0, 360]
  double rightAzimuth = 0;
};

// Covered area of the terrain tiles (world datum); the selection never looks beyond it.
inline constexpr double kTerrainNorth = 36.05;
inline constexpr double kTerrainSouth = 34.5;
inline constexpr double kTerrainEast = 141.0;
inline constexpr double kTerrainWest = 138.0;

// The squares whose terrain can appear in the panorama: within 10 km beyond the summit and inside
// the field of view widened by a tenth, plus the viewpoint's own square.
TileList SelectTilesInView(const Observer& viewpoint, const ViewFrame& frame);

}  // namespace velkaro
