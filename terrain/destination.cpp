#include "terrain/destination.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"

namespace velkaro {

namespace {
// Rounding can carry a cosine a hair beyond ±1 (along a meridian, or at arc 0); acos of that would
// be NaN.
double SafeAcos(double x) {
  return std::acos(std::clamp(x, -1.0, 1.0));
}
}  // namespace

GeoPoint DestinationPoint(double latitude, double longitude, double arcDeg, double azimuthDeg) {
  const double d = kDegToRad;
  const double c1 = (90 - latitude) * d;
  const double delta = arcDeg * d;
  const double cosC2 =
      std::cos(c1) * std::cos(delta) + std::sin(c1) * std::sin(delta) * std::cos(azimuthDeg * d);
  const double c2 = SafeAcos(cosC2);
  GeoPoint p;
  p.latitude = 90 - c2 / d;
  const double denominator = std::sin(c1) * std::sin(c2);
  double dLon = 0;
  if (denominator != 0) {
    dLon = SafeAcos((std::cos(delta) - std::cos(c1) * std::cos(c2)) / denominator) / d;
  }
  p.longitude = azimuthDeg < 180 ? longitude + dLon : longitude - dLon;
  return p;
}

}  // namespace velkaro
