#include "astro/moon_age.h"

#include <cmath>

#include "astro/ecliptic.h"

namespace velkaro {

using namespace astro_detail;

namespace {

constexpr double kElongationPerDay = 12.1818;  // mean daily growth of the elongation, degrees

// Moon minus sun ecliptic longitude at an instant, (−360, 360), from the longitudes exactly as
// the position records hold them; the rest of the positions is not needed for it.
double ElongationAt(DateTime instant) {
  const TimeScale ts = AstroTimeScale(AstroTimeFromDateTime(instant));
  const float sun = StoreLongitude(SunEclipticLongitude(ts.T));
  const float moon = StoreLongitude(MoonEclipticLongitude(ts.T, MoonAuxiliaryAm(ts.T)));
  return static_cast<double>(moon) - sun;
}

}  // namespace

MoonAgeResult MoonAge(DateTime instant, const Observer& observer) {
  MoonAgeResult out;
  double d = ElongationAt(instant);
  if (d < 0) d += 360;
  out.elongation = d;
  out.tideName = TideName(d);

  // From the mean rate, step back to the new moon and refine that instant until the elongation
  // there is within 0.05°.
  double age = d / kElongationPerDay;
  double newMoon = instant - age;
  double lastEvaluated = instant;
  double f = 1;
  while (std::fabs(f) > 0.05 && out.steps < 100) {
    ++out.steps;
    lastEvaluated = newMoon;
    f = ElongationAt(newMoon);
    if (f > 180) f -= 360;
    if (f < -180) f += 360;
    newMoon -= f / kElongationPerDay;
    age = instant - newMoon;
  }
  out.age = static_cast<float>(age);
  // The full positions of the last instant evaluated, for callers that show them.
  out.lastTime = AstroTimeFromDateTime(lastEvaluated);
  out.sun = ComputeSunPosition(out.lastTime, observer);
  out.moon = ComputeMoonPosition(out.lastTime, observer);
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
