#include <cmath>

#include "astro/body_position.h"
#include "astro/ecliptic.h"
#include "astro/position_common.h"
#include "astro/trig.h"

namespace velkaro {

using namespace astro_detail;

namespace astro_detail {

void FinishPosition(BodyPosition& p, double phi, double parallax) {
  const HorizontalCoords h =
      EquatorialToHorizontal(p.rightAscension, p.declination, p.siderealTime, phi);
  p.azimuth = StoreAzimuth(h.azimuth);
  p.trueAltitude = static_cast<float>(h.altitude - CosDeg(h.altitude) * parallax);
  p.refraction = static_cast<float>(Refraction(p.trueAltitude));
  p.apparentAltitude = p.trueAltitude + p.refraction;
}

double SunEclipticLongitude(double T) {
  const double ls =
      280.4603 + 360.00769 * T + (1.9146 - 0.00005 * T) * SinDeg(357.538 + 359.991 * T);
  return ReduceDegrees(SumSeries(kSunLongitudeTerms, T, ls));
}

}  // namespace astro_detail

BodyPosition ComputeSunPosition(const AstroTime& t, const Observer& observer) {
  const double phi = SinglePrecision(observer.latitude);
  const double lambda = SinglePrecision(observer.longitude);
  const TimeScale ts = AstroTimeScale(t);
  const double T = ts.T;

  BodyPosition p;
  p.siderealTime = SiderealTime(T, ts.F, lambda);

  const double ls = SunEclipticLongitude(T);

  // 0.000030·sin(90) of the distance series is the constant 0.000030.
  const double q = (0.007256 - 0.0000002 * T) * SinDeg(267.54 + 359.991 * T) +
                   0.000091 * SinDeg(265.1 + 719.98 * T) + 0.000030 +
                   0.000013 * SinDeg(27.8 + 4452.67 * T) + 0.000007 * SinDeg(254 + 450.4 * T) +
                   0.000007 * SinDeg(156 + 329.6 * T);
  const double r = std::pow(10.0, q);
  const double parallax = 0.0024428 / r;

  const double eps = 23.439291 - 0.000130042 * T;
  double alpha = AtanDeg(TanDeg(ls) * CosDeg(eps));
  // α lies in the same half turn as the longitude.
  const double low = ls < 180 ? 0.0 : 180.0;
  while (alpha < low) alpha += 180;
  while (alpha >= low + 180) alpha -= 180;

  p.rightAscension = alpha;
  p.declination = AsinDeg(SinDeg(ls) * SinDeg(eps));
  p.eclipticLongitude = StoreLongitude(ls);
  p.distance = r;
  p.semiDiameter = 0.266994 / r;
  p.horizontalParallax = static_cast<float>(parallax);
  FinishPosition(p, phi, parallax);
  return p;
}

}  // namespace velkaro
