#pragma once

#include <vector>

#include "tools/dem_sources.h"

namespace velkaro::tools {

// One flat water surface found in a raster.
struct WaterBody {
  float level = 0;  // metres
  int pixels = 0;
  // Share of the pixels around the area that lie higher than its surface (no data counts as lower).
  double shoreAbove = 0;
  double latitude = 0;  // centroid
  double longitude = 0;
};

struct WaterMap {
  std::vector<int> body;  // per raster pixel: index into bodies, or −1
  std::vector<WaterBody> bodies;
};

// Inland water in a raster whose lakes carry one exact surface value (the GSI tiles do): connected
// areas (4-neighbours) of pixels with the same value above sea level, at least minPixels large,
// and enclosed: at least minShoreAbove of the pixels around them lie higher. Flat plains of the
// same size exist, but they drain somewhere; a lake's shore rises everywhere except at its outlet.
// Below 10 m a whole-metre level is a contour-made plain, not water.
WaterMap FindFlatWater(const DemRaster& raster, int minPixels, double minShoreAbove);

// The pixel centre of a raster pixel as a world-datum point.
void PixelCentre(const DemRaster& raster, int col, int row, double* latitude, double* longitude);

}  // namespace velkaro::tools
