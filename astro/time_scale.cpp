#include "astro/time_scale.h"

#include <cmath>

#include "astro/trig.h"

namespace velkaro {

using namespace astro_detail;

AstroTime AstroTimeFromDateTime(DateTime t) {
  const CivilDateTime c = DecodeDateTime(t);
  return {c.year, c.month, c.day, c.hour, c.minute, c.second};
}

TimeScale AstroTimeScale(const AstroTime& t) {
  // January and February count as months 13 and 14 of the previous year.
  double y = t.year - 2000;
  double m = t.month;
  const double d = t.day;
  if (m <= 2) {
    y -= 1;
    m += 12;
  }
  // Days from 2000 January 1, 12:00 UT to 00:00 JST of the date (33.875 holds the 9 h offset).
  const double k = 365 * y + 30 * m + d - 33.875 + std::floor(3 * (m + 1) / 5) + std::floor(y / 4);
  const double f = t.hour / 24.0 + t.minute / 1440.0 + t.second / 86400.0;
  // ΔT follows the calendar year, not the year lowered for January and February.
  const double deltaT = (t.year - 2000) * 0.722 + 65;
  return {(k + f + deltaT / 86400) / 365.25, f};
}

double SiderealTime(double T, double F, double longitude) {
  double theta = 325.4606 + 360.007700536 * T + 0.00000003879 * T * T + 360 * F + longitude;
  while (theta > 360) theta -= 360;
  while (theta < 0) theta += 360;
  return theta;
}

HorizontalCoords EquatorialToHorizontal(double alpha, double delta, double theta, double phi) {
  double t = theta - alpha;
  if (t > 180) t -= 360;
  if (t < -180) t += 360;
  const double sinT = SinDeg(t), cosT = CosDeg(t);
  const double sinD = SinDeg(delta), cosD = CosDeg(delta);
  const double sinP = SinDeg(phi), cosP = CosDeg(phi);
  const double den = cosP * sinD - sinP * cosD * cosT;
  double a = 0;
  if (den != 0) {
    a = AtanDeg(-cosD * sinT / den);
    if (den < 0) a += 180;
    if (a < 0) a += 360;
    // A tiny negative angle plus 360 can round to 360 itself; that direction is north.
    if (a >= 360) a -= 360;
  } else if (sinT < 0) {
    a = 90;
  } else if (sinT > 0) {
    a = 270;
  }
  return {t, a, AsinDeg(sinD * sinP + cosD * cosP * cosT)};
}

double Refraction(double trueAltitude) {
  if (trueAltitude <= 0) return kHorizontalRefraction;
  const double r = 0.0167 / TanDeg(trueAltitude + 8.6 / (trueAltitude + 4.4));
  return r > 0.5855555 ? kHorizontalRefraction : r;
}

}  // namespace velkaro
