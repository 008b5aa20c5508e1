#include "tools/water_bodies.h"

#include <cmath>

#include "core/constants.h"

namespace velkaro::tools {

namespace {
constexpr float kLowland = 10;  // metres
}  // namespace

void PixelCentre(const DemRaster& r, int col, int row, double* latitude, double* longitude) {
  if (r.projection == DemRaster::Projection::kGeographic) {
    *longitude = r.originX + (col + 0.5) * r.pixelX;
    *latitude = r.originY - (row + 0.5) * r.pixelY;
    return;
  }
  const double worldPixels = 256.0 * static_cast<double>(1 << r.zoom);
  *longitude = (r.originX + col + 0.5) / worldPixels * 360 - 180;
  *latitude =
      std::atan(std::sinh(kPi * (1 - 2 * (r.originY + row + 0.5) / worldPixels))) / kDegToRad;
}

WaterMap FindFlatWater(const DemRaster& r, int minPixels, double minShoreAbove) {
  const size_t n = static_cast<size_t>(r.width) * r.height;
  WaterMap map;
  map.body.assign(n, -1);
  std::vector<char> visited(n, 0);
  std::vector<size_t> stack, members;
  for (size_t start = 0; start < n; ++start) {
    if (visited[start]) continue;
    visited[start] = 1;
    const float level = r.values[start];
    if (std::isnan(level) || level <= 0) continue;
    // In the lowlands the model is flat in whole metres where it was made from 1 m contours; a
    // lake surface there carries its measured level (Kasumigaura 0.2 m, Inba 1.5 m).
    if (level < kLowland && level == std::round(level)) continue;
    members.clear();
    stack.assign(1, start);
    int shore = 0, shoreAbove = 0;
    while (!stack.empty()) {
      const size_t i = stack.back();
      stack.pop_back();
      members.push_back(i);
      const int col = static_cast<int>(i % r.width);
      const int row = static_cast<int>(i / r.width);
      const size_t next[4] = {col > 0 ? i - 1 : i, col + 1 < r.width ? i + 1 : i,
                              row > 0 ? i - r.width : i, row + 1 < r.height ? i + r.width : i};
      for (size_t j : next) {
        if (j == i) continue;
        if (r.values[j] != level) {
          ++shore;
          if (r.values[j] > level) ++shoreAbove;  // false for no data
          continue;
        }
        if (visited[j]) continue;
        visited[j] = 1;
        stack.push_back(j);
      }
    }
    if (static_cast<int>(members.size()) < minPixels) continue;
    const double above = shore > 0 ? static_cast<double>(shoreAbove) / shore : 0;
    if (above < minShoreAbove) continue;
    WaterBody body;
    body.shoreAbove = above;
    body.level = level;
    body.pixels = static_cast<int>(members.size());
    double sumLat = 0, sumLon = 0;
    for (size_t i : members) {
      double lat, lon;
      PixelCentre(r, static_cast<int>(i % r.width), static_cast<int>(i / r.width), &lat, &lon);
      sumLat += lat;
      sumLon += lon;
      map.body[i] = static_cast<int>(map.bodies.size());
    }
    body.latitude = sumLat / body.pixels;
    body.longitude = sumLon / body.pixels;
    map.bodies.push_back(body);
  }
  return map;
}

}  // namespace velkaro::tools
