#include "events/moon_phase.h"

#include <cmath>

#include "astro/screen_bearing.h"
#include "core/constants.h"
#include "core/numeric.h"

namespace velkaro {
namespace {

double Normalise180(double a) {
  while (a > 180) a -= 360;
  while (a < -180) a += 360;
  return a;
}

}  // namespace

MoonPhaseShape ComputeMoonPhaseShape(int x, int y, int r, double age, bool setting,
                                     MoonPhaseStyle style) {
  MoonPhaseShape s;
  const bool path = style == MoonPhaseStyle::kPath;
  // The path drawing works with pi as 3.14159; the press drawing with the program's pi.
  const double rad = path ? 3.14159 / 180.0 : kDegToRad;
  const double fullUpper = path ? 16 : 15;
  if ((age >= 14 && age <= fullUpper) || r < 6) {
    s.kind = MoonPhaseShape::Kind::kFull;
    s.circlePenWidth = path ? 1 : 2;
    return s;
  }
  if (age < 0.5 || age > 29) {
    s.kind = MoonPhaseShape::Kind::kDotted;
    s.circlePenWidth = 1;
    return s;
  }
  s.kind = MoonPhaseShape::Kind::kPhase;
  const double w = setting ? 40 : 140;
  s.p1x = TruncInt(x + r * std::cos(w * rad));
  s.p1y = TruncInt(y - r * std::sin(w * rad));
  s.p2x = TruncInt(x - r * std::cos(w * rad));
  s.p2y = TruncInt(y + r * std::sin(w * rad));
  s.limbPenWidth = path ? 2 : ((age > 28 || age < 2) ? 1 : 2);
  s.limb = {static_cast<double>(x), static_cast<double>(y), static_cast<double>(r), w,
            age >= 15 ? 180.0 : -180.0};
  s.e = TruncInt(r * std::cos(age / 29.3 * 360 * rad));
  const double psi = 50 * rad;
  const bool plus = setting ? age < 14.5 : age >= 14.5;
  const int sign = plus ? 1 : -1;
  s.mx = TruncInt(x + sign * s.e * std::cos(psi));
  s.my = TruncInt(y + sign * s.e * std::sin(psi));

  const double x1 = s.p1x, y1 = s.p1y, x2 = s.p2x, y2 = s.p2y, x3 = s.mx, y3 = s.my;
  const double d = x1 * y2 - x2 * y1 + x2 * y3 - x3 * y2 + x3 * y1 - x1 * y3;
  const bool curved = path ? (std::abs(s.e) >= 2 && r > 5) : std::abs(s.e) >= 2;
  // Three points on one line have no circle: the terminator is then the straight segment.
  if (!curved || d == 0) return s;
  const double q1 = x1 * x1 + y1 * y1, q2 = x2 * x2 + y2 * y2, q3 = x3 * x3 + y3 * y3;
  double cx = (y2 * q1 - y1 * q2 + y3 * q2 - y2 * q3 + y1 * q3 - y3 * q1) * 0.5 / d;
  double cy = (x1 * q2 - x2 * q1 + x2 * q3 - x3 * q2 + x3 * q1 - x1 * q3) * 0.5 / d;
  double rho = std::hypot(x1 - cx, y1 - cy);
  if (!path) {
    cx = Nearest(cx);
    cy = Nearest(cy);
    rho = Nearest(rho);
  }
  const double b1 = ScreenBearing(x1 - cx, y1 - cy);
  const double b2 = ScreenBearing(x2 - cx, y2 - cy);
  s.terminatorIsArc = true;
  s.terminator = {cx, cy, rho, 450 - b1, Normalise180(b1 - b2)};
  return s;
}

}  // namespace velkaro
