#pragma once

#include <string>

#include "terrain/tile_cache.h"

namespace velkaro {

// The ground height returned for a point whose tile file is missing.
inline constexpr int kNoTileElevation = -1999;

// Everything a lookup finds about a point: its square, the sample it reads, and the result.
struct ElevationLookup {
  std::string code;
  int row = 0;     // 1..200
  int column = 0;  // 1..200
  bool tilePresent = false;
  int height = 0;                    // decoded height of the sample
  int surfaceClass = 0;              // decoded class of the sample
  int elevation = kNoTileElevation;  // what TerrainElevationAt returns
};

// The tile sample under a world-datum point: converted to the Tokyo datum, its square's file read
// through the cache, row and column rounded to the nearest sample and held inside 1..200.
ElevationLookup LookUpElevation(TileCache& cache, double latitude, double longitude);

// Integer metres of the ground at a world-datum point (sea negative as stored), or −1999 when the
// square's tile file is missing.
int TerrainElevationAt(TileCache& cache, double latitude, double longitude);

}  // namespace velkaro
