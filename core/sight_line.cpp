#include "core/sight_line.h"

#include <cmath>

#include "core/constants.h"

namespace velkaro {

void ComputeSightLine(const Observer& observer, SightLine& line) {
  const double d = kDegToRad;
  const double phi1 = observer.latitude * d;
  const double lambda1 = observer.longitude * d;
  const double phi2 = line.targetLatitude * d;
  const double lambda2 = line.targetLongitude * d;
  const double dLambda = lambda1 - lambda2;
  const double s = phi1 + phi2;
  double m = phi1 - phi2;
  // A target due east or west would divide by sin(0) below.
  if (m == 0) m = 1e-12;

  // Azimuth by Napier's analogies.
  const double tanHalf = std::tan(dLambda / 2);
  const double x = std::cos(s / 2) / std::sin(m / 2) * tanHalf;
  const double y = std::sin(s / 2) / std::cos(m / 2) * tanHalf;
  const double t = std::atan(x) + std::atan(y);
  double az = t / d;
  const double e = lambda2 - lambda1;
  double offset = 0;
  if (e < 0 && t > 0) offset = 180;
  if (e < 0 && t < 0) offset = 360;
  if (e > 0 && t < 0) offset = 180;
  az += offset;
  if (az > 360) az -= 360;
  if (e == 0) {
    if (phi2 > phi1)
      az = 0;
    else if (phi2 < phi1)
      az = 180;
    else
      az = 0;
  }
  if (az == 360) az = 0;
  line.azimuth = az;

  line.distanceKm = 0;
  line.centralAngle = 0;
  if (phi1 == phi2 && lambda1 == lambda2) return;

  const double g = std::sin(phi1) * std::sin(phi2) + std::cos(phi1) * std::cos(phi2) * std::cos(dLambda);
  const double gamma = (g != 0) ? std::atan(std::sqrt(1 - g * g) / g) : 0.0;
  line.centralAngle = gamma;
  line.centralAngleDeg = std::fabs(gamma / d);
  line.distanceKm = std::fabs(gamma / d * 60 * 1.852);
  line.dropM = (1 / std::cos(gamma) - 1) * kEarthRadiusM;

  if (line.distanceKm > 0.1) {
    const float h = static_cast<float>(line.targetHeight - line.dropM -
                                       (static_cast<double>(observer.elevation) + kEyeHeight));
    line.elevationAngle = std::atan(h / (line.distanceKm * 1000)) / d;
  }
}

SummitSight ComputeSummitSight(const Observer& observer) {
  SummitSight sight;
  SightLine line;
  line.targetLatitude = SummitReference.latitude;
  line.targetLongitude = SummitReference.longitude;
  line.targetHeight = 2600;
  ComputeSightLine(observer, line);
  sight.summitAzimuth = line.azimuth;
  sight.e2600 = line.elevationAngle;
  sight.summitDistanceKm = static_cast<float>(line.distanceKm);
  line.targetHeight = 3700;
  ComputeSightLine(observer, line);
  sight.e3700 = line.elevationAngle;
  sight.toleranceDeg = static_cast<float>(std::atan(2.0 / sight.summitDistanceKm) / kDegToRad);
  return sight;
}

}  // namespace velkaro
