#include "tools/pictures/noise.h"

#include <algorithm>
#include <cmath>

namespace velkaro::pictures {
namespace {

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return h;
}

double Lattice(int64_t x, int64_t y, uint32_t seed) {
  return Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed) / 4294967295.0;
}

double Fade(double t) {
  return t * t * t * (t * (t * 6 - 15) + 10);
}

double Lerp(double a, double b, double t) {
  return a + (b - a) * t;
}

}  // namespace

uint64_t SplitMix::Next() {
  uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

double SplitMix::Unit() {
  return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double ValueNoise1(double x, uint32_t seed) {
  return ValueNoise2(x, 0.5, seed);
}

double ValueNoise2(double x, double y, uint32_t seed) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const auto ix = static_cast<int64_t>(fx);
  const auto iy = static_cast<int64_t>(fy);
  const double tx = Fade(x - fx);
  const double ty = Fade(y - fy);
  const double top = Lerp(Lattice(ix, iy, seed), Lattice(ix + 1, iy, seed), tx);
  const double bottom = Lerp(Lattice(ix, iy + 1, seed), Lattice(ix + 1, iy + 1, seed), tx);
  return Lerp(top, bottom, ty);
}

double Fractal1(double x, int octaves, double gain, uint32_t seed) {
  return Fractal2(x, 0.5, octaves, gain, seed);
}

double Fractal2(double x, double y, int octaves, double gain, uint32_t seed) {
  double sum = 0;
  double norm = 0;
  double amplitude = 1;
  for (int o = 0; o < octaves; ++o) {
    // Each octave gets its own lattice and a small offset so that the lattice points of the
    // octaves do not line up.
    sum += amplitude * ValueNoise2(x + o * 17.31, y + o * 5.77, seed + 101u * o);
    norm += amplitude;
    amplitude *= gain;
    x *= 2;
    y *= 2;
  }
  return sum / norm;
}

double SmoothStep(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

}  // namespace velkaro::pictures
