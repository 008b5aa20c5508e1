#include <cmath>

#include "astro/body_position.h"
#include "astro/ecliptic.h"
#include "astro/position_common.h"
#include "astro/trig.h"

namespace velkaro {

using namespace astro_detail;

namespace astro_detail {

double MoonAuxiliaryAm(double T) {
  return SumSeries(kMoonAmTerms, T);
}

double MoonEclipticLongitude(double T, double am) {
  // The first term carries Am inside its argument; the rest follow in table order.
  const SeriesTerm& first = kMoonLongitudeTerms[0];
  double lm = 218.3161 + 4812.67881 * T;
  lm += first.amp * SinDeg(first.phase + first.rate * T + am);
  for (size_t i = 1; i < kMoonLongitudeTerms.size(); ++i) {
    const SeriesTerm& term = kMoonLongitudeTerms[i];
    lm += term.amp * SinDeg(term.phase + term.rate * T);
  }
  return ReduceDegrees(lm);
}

}  // namespace astro_detail

BodyPosition ComputeMoonPosition(const AstroTime& t, const Observer& observer) {
  const double phi = SinglePrecision(observer.latitude);
  const double lambda = SinglePrecision(observer.longitude);
  const TimeScale ts = AstroTimeScale(t);
  const double T = ts.T;

  BodyPosition p;
  p.siderealTime = SiderealTime(T, ts.F, lambda);

  const double am = MoonAuxiliaryAm(T);
  const double bm = SumSeries(kMoonBmTerms, T);
  const double hp = 0.9507 + SumSeries(kMoonParallaxTerms, T);
  p.horizontalParallax = static_cast<float>(hp);
  p.distance = 6378.14 / SinDeg(hp);
  p.semiDiameter = AtanDeg(1738 / p.distance);

  const double lm = MoonEclipticLongitude(T, am);

  // The first two latitude terms carry the auxiliary angles inside their arguments.
  double bl = 0;
  {
    const SeriesTerm& first = kMoonLatitudeTerms[0];
    const SeriesTerm& second = kMoonLatitudeTerms[1];
    bl += first.amp * SinDeg(first.phase + first.rate * T + bm);
    bl += second.amp * SinDeg(second.phase + second.rate * T + am);
    for (size_t i = 2; i < kMoonLatitudeTerms.size(); ++i) {
      const SeriesTerm& term = kMoonLatitudeTerms[i];
      bl += term.amp * SinDeg(term.phase + term.rate * T);
    }
  }

  const double eps = 23.439291 - 0.000130042 * T;
  const double sinE = SinDeg(eps), cosE = CosDeg(eps);
  const double sinL = SinDeg(lm), cosL = CosDeg(lm);
  const double sinB = SinDeg(bl), cosB = CosDeg(bl);
  const double x = cosB * cosL;
  const double y = cosE * cosB * sinL - sinE * sinB;
  const double z = sinE * cosB * sinL + cosE * sinB;
  // α is left in (-90, 270): callers compare it as it comes out.
  double alpha = AtanDeg(y / x);
  if (x < 0) alpha += 180;

  p.rightAscension = alpha;
  p.declination = AtanDeg(z / std::sqrt(x * x + y * y));
  p.eclipticLongitude = StoreLongitude(lm);
  FinishPosition(p, phi, hp);
  return p;
}

}  // namespace velkaro
