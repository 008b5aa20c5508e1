#pragma once

#include <string>

namespace velkaro {

// Second-level squares of the Japanese standard regional mesh: 5' of latitude by 7.5' of
// longitude, named by a six-digit code, all on the Tokyo datum.
inline constexpr double kMeshSquareLat = 5.0 / 60.0;  // degrees
inline constexpr double kMeshSquareLon = 7.5 / 60.0;  // degrees
inline constexpr double kMeshRowStep = 1.0 / 2400.0;  // 1.5" between tile rows
inline constexpr double kMeshColStep = 1.0 / 1600.0;  // 2.25" between tile columns

// The code of the square holding a Tokyo-datum point: p u q v written in decimal one after the
// other (p = trunc(lat × 1.5), u = trunc(lon − 100), q and v the row and column inside the band).
std::string MeshCodeOf(double latitude, double longitude);

struct MeshCorner {
  double latitude = 0;   // south edge, Tokyo datum
  double longitude = 0;  // west edge
  bool valid = false;    // false when the text is not a six-digit code
};

// The south-west corner of the square named by a six-digit code.
MeshCorner MeshTileCorner(const std::string& code);

}  // namespace velkaro
