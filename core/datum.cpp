#include "core/datum.h"

#include <cmath>

#include "core/constants.h"

namespace velkaro {

DatumShift TokyoToWorld(double tokyoLatitude, double tokyoLongitude) {
  const double d = kDegToRad;
  const double a = 6377397.155;
  const double f = 1 / 299.152813;
  const double e2 = 2 * f - f * f;
  const double fw = 1 / 298.257222101;
  const double e2w = 2 * fw - fw * fw;

  // The datum records are single precision, the input included.
  const float latT = static_cast<float>(tokyoLatitude);
  const float lonT = static_cast<float>(tokyoLongitude);
  const double phi = latT * d;
  const double lambda = lonT * d;
  const double sinPhi = std::sin(phi);
  const double n = a / std::sqrt(1 - e2 * sinPhi * sinPhi);
  const double x = n * std::cos(phi) * std::cos(lambda) - 148;
  const double y = n * std::cos(phi) * std::sin(lambda) + 508;
  const double z = n * (1 - e2) * sinPhi + 680;

  double lonW = std::atan(y / x) / d;
  if (lonW > 180) lonW -= 180;
  if (lonW < 0) lonW += 180;
  const double latW = std::atan(z / (1 - e2w) / (y / std::sin(lonW * d))) / d;

  DatumShift r;
  r.worldLatitude = static_cast<float>(latW);
  r.worldLongitude = static_cast<float>(lonW);
  r.shiftLatitude = static_cast<float>(static_cast<double>(r.worldLatitude) - latT);
  r.shiftLongitude = static_cast<float>(static_cast<double>(r.worldLongitude) - lonT);
  return r;
}

WorldLatLon TokyoMinutesToWorld(double latMinutes, double lonMinutes) {
  const DatumShift s = TokyoToWorld(20 + latMinutes / 60, 120 + lonMinutes / 60);
  return {s.worldLatitude, s.worldLongitude};
}

TokyoFromWorld WorldToTokyo(double worldLatitude, double worldLongitude) {
  TokyoFromWorld r;
  r.forward = TokyoToWorld(worldLatitude, worldLongitude);
  r.tokyoLatitude = static_cast<float>(worldLatitude - r.forward.shiftLatitude);
  r.tokyoLongitude = static_cast<float>(worldLongitude - r.forward.shiftLongitude);
  return r;
}

}  // namespace velkaro
