#include "terrain/mesh_code.h"

#include <cmath>

namespace velkaro {

std::string MeshCodeOf(double latitude, double longitude) {
  const int p = static_cast<int>(std::trunc(latitude * 1.5));
  const int u = static_cast<int>(std::trunc(longitude - 100));
  const int q = static_cast<int>(std::trunc((latitude - p * 2.0 / 3.0) * 12));
  const int v = static_cast<int>(std::trunc((longitude - 100 - u) * 8));
  return std::to_string(p) + std::to_string(u) + std::to_string(q) + std::to_string(v);
}

MeshCorner MeshTileCorner(const std::string& code) {
  MeshCorner corner;
  if (code.size() != 6) return corner;
  for (char c : code) {
    if (c < '0' || c > '9') return corner;
  }
  const int p = (code[0] - '0') * 10 + (code[1] - '0');
  const int u = (code[2] - '0') * 10 + (code[3] - '0');
  const int q = code[4] - '0';
  const int v = code[5] - '0';
  corner.latitude = p * 2.0 / 3.0 + q * 5.0 / 60.0;
  corner.longitude = u + 100 + v * 7.5 / 60.0;
  corner.valid = true;
  return corner;
}

}  // namespace velkaro
