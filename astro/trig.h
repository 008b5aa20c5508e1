#pragma once

#include <cmath>

#include "astro/series.h"
#include "core/constants.h"

namespace velkaro::astro_detail {

// Trigonometry in degrees: the argument turns into radians only inside the call.
inline double SinDeg(double x) {
  return std::sin(x * kDegToRad);
}
inline double CosDeg(double x) {
  return std::cos(x * kDegToRad);
}
inline double TanDeg(double x) {
  return std::tan(x * kDegToRad);
}
inline double AtanDeg(double x) {
  return std::atan(x) / kDegToRad;
}
// Rounding can carry a sine a hair beyond ±1; the angle is then ±90, not NaN.
inline double AsinDeg(double x) {
  return std::asin(std::fmax(-1.0, std::fmin(1.0, x))) / kDegToRad;
}
inline double AcosDeg(double x) {
  return std::acos(x) / kDegToRad;
}

// start + Σ amp·sin(phase + rate·T), each term added in the order of the table.
template <typename Table>
double SumSeries(const Table& terms, double T, double start = 0) {
  double sum = start;
  for (const SeriesTerm& term : terms) sum += term.amp * SinDeg(term.phase + term.rate * T);
  return sum;
}

// Into [0, 360) by whole turns.
inline double ReduceDegrees(double x) {
  while (x >= 360) x -= 360;
  while (x < 0) x += 360;
  return x;
}

}  // namespace velkaro::astro_detail
