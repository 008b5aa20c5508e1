#pragma once

#include <string>
#include <vector>

#include "tools/dem_sources.h"
#include "tools/water_bodies.h"

namespace velkaro::tools {

// The squares the tiles cover: every second-level square whose world-datum extent overlaps
// latitude 34.5–36.1 N and longitude 138–141 E.
struct TileArea {
  double south = 34.5, north = 36.1, west = 138.0, east = 141.0;  // world datum
};

// Second-level squares by their index: south edge k/12°, west edge m/8° (Tokyo datum).
struct SquareIndex {
  int k = 0;
  int m = 0;
};
std::vector<SquareIndex> SquaresOverlapping(const TileArea& area);

struct TileBuildOptions {
  TileArea area;
  int threads = 2;
  // Lake detection in the GSI layer (see FindFlatWater): about 0.8 km² and more, enclosed.
  int lakeMinPixels = 50;
  double lakeMinShoreAbove = 0.95;
};

struct TileBuildReport {
  int tiles = 0;
  int lakes = 0;
  long seaSamples = 0;
  long lakeSamples = 0;
  std::vector<WaterBody> lakeBodies;
};

// Builds every tile of the area from the sources into outDir (created when missing), one
// <mesh code>.bh2 per square. Throws std::runtime_error when a source or a file fails.
TileBuildReport BuildMeshTiles(const DemSources& sources, const std::string& outDir,
                               const TileBuildOptions& options = {});

}  // namespace velkaro::tools
