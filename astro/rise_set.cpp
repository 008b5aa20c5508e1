#include "astro/rise_set.h"

#include <cmath>

#include "astro/position_common.h"
#include "astro/trig.h"
#include "core/numeric.h"

namespace velkaro {

using namespace astro_detail;

namespace {

constexpr double kConvergence = 0.00005;  // of a day, about 4 seconds

// The instant of a day fraction p on `date`, whole seconds truncated. Outside 0..1 the fields go
// out of range (hour 25, minute −14, ...), which the time scale takes as it stands.
AstroTime AtFraction(const CivilDate& date, double p) {
  AstroTime t{date.year, date.month, date.day, 0, 0, 0};
  t.hour = TruncInt(24 * p);
  t.minute = TruncInt(1440 * p - 60.0 * t.hour);
  t.second = TruncInt(86400 * p - 3600.0 * t.hour - 60.0 * t.minute);
  return t;
}

// One correction of the hour-angle iteration: how far (degrees, −180..180) the body's hour angle
// is from the hour angle t0 at which it stands at altitude h0. t0 keeps its previous value when
// the body never reaches h0 on that declination.
double HourAngleError(const BodyPosition& b, double phi, double h0, RiseOrSet which, double& t0) {
  const double cosT0 =
      (SinDeg(h0) - SinDeg(phi) * SinDeg(b.declination)) / (CosDeg(phi) * CosDeg(b.declination));
  if (std::fabs(cosT0) < 1) t0 = AcosDeg(cosT0);
  const double target = which == RiseOrSet::kRise ? -std::fabs(t0) : t0;
  double delta = target - (b.siderealTime - b.rightAscension);
  if (delta > 180) delta -= 360;
  if (delta < -180) delta += 360;
  return delta;
}

}  // namespace

SunRiseSet SolveSunRiseSet(DateTime date, const Observer& observer, RiseOrSet which) {
  const CivilDate day = DecodeDate(date);
  const double phi = SinglePrecision(observer.latitude);
  // The dip of the horizon grows with the eye's height; a place below sea level has none.
  const double dip = 0.0353333 * std::sqrt(std::fmax(0.0, static_cast<double>(observer.elevation)));

  SunRiseSet out;
  double p = which == RiseOrSet::kRise ? 0.25 : 0.75;
  double delta = 1;
  double t0 = 0;
  while (std::fabs(delta) > kConvergence && out.steps < kSunRiseSetStepLimit) {
    ++out.steps;
    out.lastTime = AtFraction(day, p);
    out.last = ComputeSunPosition(out.lastTime, observer);
    const double r = out.last.distance;
    // Upper limb on the apparent horizon: semi-diameter, dip, horizontal refraction, parallax.
    const double h0 = -0.266994 / r - dip - 0.585556 + 0.0024428 / r;
    delta = HourAngleError(out.last, phi, h0, which, t0) / 360;
    p += delta;
  }
  out.time = p;
  out.azimuth = out.last.azimuth;
  out.azimuthRounded = NearestInt(out.last.azimuth);
  return out;
}

MoonRiseSet SolveMoonRiseSet(DateTime date, const Observer& observer, RiseOrSet which,
                             const MoonRiseSet& previous) {
  const CivilDate day = DecodeDate(date);
  const double phi = SinglePrecision(observer.latitude);

  MoonRiseSet out = previous;
  out.found = false;
  out.steps = 0;
  double p = 0.5;
  double delta = 1;
  double t0 = 0;
  while (std::fabs(delta) > kConvergence && out.steps < 100) {
    ++out.steps;
    out.lastTime = AtFraction(day, p);
    out.last = ComputeMoonPosition(out.lastTime, observer);
    // The centre of the disc on the horizon: parallax minus the horizontal refraction.
    const double h0 = out.last.horizontalParallax - 0.585556;
    // 347.8° is the moon's mean daily advance in hour angle.
    delta = HourAngleError(out.last, phi, h0, which, t0) / 347.8;
    p += delta;
  }
  if (out.steps < 99) {
    out.found = true;
    out.time = p;
    out.instant = std::floor(date) + p;
    out.azimuth = NearestInt(out.last.azimuth);
  }
  return out;
}

}  // namespace velkaro
