#include "astro/moon_age.h"

#include <cmath>

namespace velkaro {

namespace {

constexpr double kElongationPerDay = 12.1818;  // mean daily growth of the elongation, degrees

struct Elongation {
  double degrees;  // moon minus sun ecliptic longitude, (−360, 360)
  BodyPosition sun, moon;
  AstroTime time;
};

Elongation ElongationAt(DateTime instant, const Observer& observer) {
  Elongation e;
  e.time = AstroTimeFromDateTime(instant);
  e.sun = ComputeSunPosition(e.time, observer);
  e.moon = ComputeMoonPosition(e.time, observer);
  e.degrees = static_cast<double>(e.moon.eclipticLongitude) - e.sun.eclipticLongitude;
  return e;
}

}  // namespace

MoonAgeResult MoonAge(DateTime instant, const Observer& observer) {
  MoonAgeResult out;
  Elongation now = ElongationAt(instant, observer);
  double d = now.degrees;
  if (d < 0) d += 360;
  out.elongation = d;
  out.tideName = TideName(d);
  out.sun = now.sun;
  out.moon = now.moon;
  out.lastTime = now.time;

  // From the mean rate, step back to the new moon and refine that instant until the elongation
  // there is within 0.05°.
  double age = d / kElongationPerDay;
  double newMoon = instant - age;
  double f = 1;
  while (std::fabs(f) > 0.05 && out.steps < 100) {
    ++out.steps;
    const Elongation e = ElongationAt(newMoon, observer);
    f = e.degrees;
    if (f > 180) f -= 360;
    if (f < -180) f += 360;
    newMoon -= f / kElongationPerDay;
    age = instant - newMoon;
    out.sun = e.sun;
    out.moon = e.moon;
    out.lastTime = e.time;
  }
  out.age = static_cast<float>(age);
  return out;
}

const char* TideName(double elongation) {
  struct Band {
    double below;
    const char* name;
  };
  // The tide follows the elongation symmetrically around new and full moon.
  static constexpr Band kBands[] = {
      {36, "大潮"},  {72, "中潮"},  {108, "小潮"}, {120, "長潮"}, {132, "若潮"},
      {168, "中潮"}, {216, "大潮"}, {252, "中潮"}, {288, "小潮"}, {300, "長潮"},
      {312, "若潮"}, {348, "中潮"}, {360, "大潮"},
  };
  for (const Band& band : kBands)
    if (elongation < band.below) return band.name;
  return "大潮";
}

}  // namespace velkaro
