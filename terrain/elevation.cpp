#include "terrain/elevation.h"

#include <algorithm>
#include <cmath>

#include "core/datum.h"
#include "terrain/mesh_code.h"

namespace velkaro {

ElevationLookup LookUpElevation(TileCache& cache, double latitude, double longitude) {
  if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::fabs(latitude) > 90 ||
      std::fabs(longitude) > 360) {
    return {};
  }
  const TokyoFromWorld tokyo = WorldToTokyo(latitude, longitude);
  const double lat = tokyo.tokyoLatitude;
  const double lon = tokyo.tokyoLongitude;
  ElevationLookup result;
  result.code = MeshCodeOf(lat, lon);
  const MeshCorner corner = MeshTileCorner(result.code);
  if (!corner.valid) return result;  // no six-digit square: nothing is stored there
  const double firstLat = corner.latitude + kMeshRowStep / 2;
  const double firstLon = corner.longitude + kMeshColStep / 2;
  // Within half a step of the square's edges the nearest sample would be row or column 0 or 201;
  // the square's own samples are the ones read.
  result.row =
      std::clamp(static_cast<int>(std::nearbyint(200 - (lat - firstLat) / kMeshRowStep)), 1, 200);
  result.column =
      std::clamp(static_cast<int>(std::nearbyint((lon - firstLon) / kMeshColStep + 1)), 1, 200);
  const auto tile = cache.Get(result.code);
  const MeshSample sample = DecodeMeshSample(tile->sample(result.row, result.column));
  result.height = sample.height;
  result.surfaceClass = sample.surfaceClass;
  result.tilePresent = tile->present;
  result.elevation = tile->present ? sample.height : kNoTileElevation;
  return result;
}

int TerrainElevationAt(TileCache& cache, double latitude, double longitude) {
  return LookUpElevation(cache, latitude, longitude).elevation;
}

}  // namespace velkaro
