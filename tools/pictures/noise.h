#pragma once

#include <cstdint>

namespace velkaro::pictures {

// Deterministic pseudo-random numbers for the procedural pictures: the same seed gives the same
// sequence on every run and every machine (no library distributions, whose output may differ).
class SplitMix {
 public:
  explicit SplitMix(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  // Uniform in [0, 1).
  double Unit();
  // Uniform in [lo, hi).
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

 private:
  uint64_t state_;
};

// Smooth value noise in [0, 1] on the integer lattice, interpolated with a quintic fade so the
// surface has no visible grid creases.
double ValueNoise1(double x, uint32_t seed);
double ValueNoise2(double x, double y, uint32_t seed);

// Fractal sums of the above: `octaves` layers, each twice the frequency and `gain` times the
// amplitude of the previous one, normalised back into [0, 1].
double Fractal1(double x, int octaves, double gain, uint32_t seed);
double Fractal2(double x, double y, int octaves, double gain, uint32_t seed);

// Hermite step between edge0 and edge1 (either order), clamped to [0, 1].
double SmoothStep(double edge0, double edge1, double x);

}  // namespace velkaro::pictures
