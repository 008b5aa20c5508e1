#pragma once

#include <cmath>

namespace velkaro {

// Pixel positions and most conversions truncate towards zero.
inline double Trunc(double x) { return std::trunc(x); }
inline int TruncInt(double x) { return static_cast<int>(std::trunc(x)); }

// "Nearest" always sends halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline double Nearest(double x) { return std::nearbyint(x); }
inline int NearestInt(double x) { return static_cast<int>(std::nearbyint(x)); }

}  // namespace velkaro
