#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velkaro::tools {

// A value of an elevation source at one point.
struct DemValue {
  double height = 0;    // metres
  double weight = 0;    // 1 inside the source, falling to 0 over the band at its edges
  bool noData = false;  // the nearest pixel holds no value (for the GSI tiles: sea)
};

// A grid of heights read from one source, geographic (plate carrée) or Web Mercator, with pixel
// centres at origin + (col + 0.5, row + 0.5) × pixel size. Values are metres; NaN is no data.
class DemRaster {
 public:
  enum class Projection { kGeographic, kWebMercator };

  std::string name;
  Projection projection = Projection::kGeographic;
  int width = 0;
  int height = 0;
  // Geographic: west edge (degrees), north edge, pixel size in degrees.
  // Web Mercator: the global pixel numbers of the top-left pixel at `zoom`, 256-pixel tiles.
  double originX = 0;
  double originY = 0;
  double pixelX = 0;
  double pixelY = 0;
  int zoom = 0;
  // Width of the edge band over which the source hands over to coarser ones, in pixels (0: none).
  double blendPixels = 0;
  std::vector<float> values;  // row-major, north row first

  float at(int col, int row) const { return values[static_cast<size_t>(row) * width + col]; }

  // Fractional pixel position (pixel centres on whole numbers) of a world-datum point.
  void PixelOf(double latitude, double longitude, double* col, double* row) const;
  // Bilinear value at a point; nothing when the point lies outside the source or its nearest pixel
  // holds no value. Neighbours without a value are left out of the weights.
  std::optional<DemValue> Sample(double latitude, double longitude) const;
  // The nearest pixel's value (NaN when outside).
  float Nearest(double latitude, double longitude) const;
};

// Opens a raster with GDAL (band 1, scaled by `scale`, no-data value honoured), georeferenced in
// degrees. Throws std::runtime_error naming the file when it cannot be read.
DemRaster LoadGeographicRaster(const std::string& path, double scale, double blendPixels);

// The GSI elevation tiles of one zoom level (folder <dir>/<zoom>/<x>/<y>.png, RGB-encoded
// centimetres, (128,0,0) no data) as one mosaic covering the tiles present; absent tiles are no
// data, i.e. sea.
DemRaster LoadGsiMosaic(const std::string& dir, int zoom);

// The elevation sources of the data folder, finest first.
struct DemSources {
  std::vector<DemRaster> fine;  // the 1" and 3" sources, in priority order
  DemRaster gsi;                // the regional base layer
};
DemSources LoadDemSources(const std::string& demDir);

// The composite model: each finer source in turn, blended into the coarser ones over its edge band.
struct CompositeValue {
  double height = 0;
  bool gsiNoData = false;  // the base layer has no value here (open water)
  bool covered = false;    // some source has a value
};
CompositeValue SampleComposite(const DemSources& sources, double latitude, double longitude);

}  // namespace velkaro::tools
