#include "tools/pictures/moonlist.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "core/constants.h"
#include "tools/pictures/noise.h"

namespace velkaro::pictures {
namespace {

// The dark plains of the visible face as overlapping soft blobs, in disc coordinates: u to the
// right, v upwards, the disc's radius 1, at the orthographic positions of the real plains with
// north up. Their sum is cut at a noisy level, so neighbours merge into one ragged shore the way
// Imbrium, Serenitatis and Tranquillitatis do.
struct Blob {
  double u, v;    // centre
  double ru, rv;  // half axes
  double weight;
};

constexpr std::array<Blob, 16> kMaria = {{
    {-0.78, 0.30, 0.20, 0.40, 1.0},   // Oceanus Procellarum, north
    {-0.60, -0.02, 0.22, 0.28, 1.0},  // Oceanus Procellarum, south
    {-0.38, 0.05, 0.16, 0.14, 0.8},   // Mare Insularum
    {-0.25, 0.52, 0.30, 0.22, 1.1},   // Mare Imbrium
    {0.00, 0.80, 0.32, 0.08, 0.7},    // Mare Frigoris
    {0.27, 0.45, 0.17, 0.15, 1.1},    // Mare Serenitatis
    {0.07, 0.24, 0.09, 0.07, 0.8},    // Mare Vaporum
    {0.48, 0.14, 0.21, 0.17, 1.1},    // Mare Tranquillitatis
    {0.82, 0.29, 0.08, 0.13, 1.2},    // Mare Crisium
    {0.75, -0.13, 0.10, 0.16, 0.9},   // Mare Fecunditatis
    {0.55, -0.27, 0.08, 0.08, 0.9},   // Mare Nectaris
    {-0.27, -0.35, 0.19, 0.15, 0.9},  // Mare Nubium
    {-0.57, -0.41, 0.09, 0.09, 1.0},  // Mare Humorum
    {-0.15, -0.18, 0.10, 0.08, 0.7},  // Mare Cognitum
    {-0.45, -0.25, 0.12, 0.10, 0.6},  // between Nubium and Procellarum
    {0.20, 0.05, 0.08, 0.08, 0.6},    // Sinus Medii
}};

// Bright young craters, small sharp spots.
struct Crater {
  double u, v, r, albedo;
};

constexpr std::array<Crater, 5> kCraters = {{
    {-0.14, -0.68, 0.035, 1.40},  // Tycho
    {-0.34, 0.17, 0.03, 1.25},    // Copernicus
    {-0.61, 0.14, 0.022, 1.25},   // Kepler
    {-0.67, 0.40, 0.02, 1.45},    // Aristarchus
    {0.42, -0.55, 0.03, 1.15},    // a bright southern highland crater
}};

constexpr uint32_t kSurfaceSeed = 0x6d6f6f6eu;
constexpr int kSubsamples = 4;  // per axis, for smooth limb and terminator

// Surface albedo at (u, v): bright highlands with a fine mottle, darker maria with ragged shores.
double Albedo(double u, double v) {
  const double mottle = Fractal2(u * 8 + 3.1, v * 8 - 1.7, 4, 0.6, kSurfaceSeed) - 0.5;
  const double shoreNoise = Fractal2(u * 7 + 11.3, v * 7 + 2.9, 3, 0.6, kSurfaceSeed + 7) - 0.5;
  const double floorNoise = Fractal2(u * 12 - 4.2, v * 12 + 8.8, 2, 0.5, kSurfaceSeed + 9) - 0.5;
  double density = 0;
  for (const Blob& b : kMaria) {
    const double du = (u - b.u) / b.ru;
    const double dv = (v - b.v) / b.rv;
    density += b.weight * std::exp(-(du * du + dv * dv));
  }
  const double mare = SmoothStep(0.36, 0.62, density + 0.55 * shoreNoise);
  double albedo = 0.92 + 0.18 * mottle;
  albedo += (0.50 + 0.14 * floorNoise - albedo) * mare;
  for (const Crater& c : kCraters) {
    const double reach = std::hypot(u - c.u, v - c.v) / c.r;
    albedo += (c.albedo - albedo) * (1 - SmoothStep(0.4, 1.0, reach));
  }
  return albedo;
}

// One sub-sample of a picture: its place on the disc and what the surface there is like. The
// same for every age, so it is worked out once for the whole sheet.
struct SurfacePoint {
  int x, y;      // pixel of the picture
  double u, nz;  // disc coordinate to the right, and the surface normal's part towards us
  double albedo;
};

std::vector<SurfacePoint> SurfacePoints() {
  std::vector<SurfacePoint> points;
  for (int y = 0; y < kMoonCellSize; ++y) {
    for (int x = 0; x < kMoonCellSize; ++x) {
      for (int sy = 0; sy < kSubsamples; ++sy) {
        for (int sx = 0; sx < kSubsamples; ++sx) {
          const double u = (x + (sx + 0.5) / kSubsamples - kMoonDiscCentre) / kMoonDiscRadius;
          const double v = -(y + (sy + 0.5) / kSubsamples - kMoonDiscCentre) / kMoonDiscRadius;
          if (u * u + v * v > 1) continue;
          points.push_back({x, y, u, std::sqrt(1 - u * u - v * v), Albedo(u, v)});
        }
      }
    }
  }
  return points;
}

// The moon at `ageDays` into the picture at (left, top): sunlight by the Lommel-Seeliger law,
// which keeps a full moon evenly bright and darkens only near the terminator, plus earthshine on
// the dark part.
void DrawMoon(double ageDays, const std::vector<SurfacePoint>& points, RgbImage& sheet, int left,
              int top) {
  const double elongation = 2 * kPi * std::fmod(ageDays, kSynodicMonthDays) / kSynodicMonthDays;
  const double sinE = std::sin(elongation);
  const double cosE = std::cos(elongation);
  // The earth is nearly full as seen from a new moon, so the dark side glows most then.
  const double earthshine = 0.04 + 0.05 * (1 + cosE) / 2;
  constexpr std::array<double, 3> kSunTint = {1.0, 0.985, 0.94};
  constexpr std::array<double, 3> kEarthTint = {0.85, 0.92, 1.0};
  std::vector<std::array<double, 3>> sums(kMoonCellSize * kMoonCellSize);
  for (const SurfacePoint& p : points) {
    // The sun as seen from the moon: behind it at new moon (elongation 0), to the right while
    // waxing, towards the viewer at full moon.
    const double mu0 = p.u * sinE - p.nz * cosE;
    double lit = 0;
    if (mu0 > 0) lit = std::min(1.0, 2 * mu0 / (mu0 + p.nz + 1e-9));
    lit *= SmoothStep(-0.01, 0.07, mu0);
    const double sun = std::pow(std::clamp(lit * p.albedo * 0.92, 0.0, 1.0), 1 / 2.2);
    const double dark = earthshine * std::min(p.albedo, 1.0);
    auto& sum = sums[p.y * kMoonCellSize + p.x];
    for (int c = 0; c < 3; ++c) sum[c] += sun * kSunTint[c] + dark * kEarthTint[c] * (1 - sun);
  }
  for (int y = 0; y < kMoonCellSize; ++y) {
    for (int x = 0; x < kMoonCellSize; ++x) {
      uint8_t* px = sheet.At(left + x, top + y);
      for (int c = 0; c < 3; ++c) {
        const double mean = sums[y * kMoonCellSize + x][c] / (kSubsamples * kSubsamples);
        px[c] = static_cast<uint8_t>(std::lround(std::clamp(mean, 0.0, 1.0) * 255));
      }
    }
  }
}

}  // namespace

RgbImage DrawMoonList() {
  const std::vector<SurfacePoint> points = SurfacePoints();
  RgbImage sheet(kMoonListWidth, kMoonListHeight);
  for (int k = 0; k < kMoonAgeCount; ++k) {
    const MoonCell cell = MoonCellOrigin(k);
    DrawMoon(k, points, sheet, cell.left, cell.top);
  }
  return sheet;
}

}  // namespace velkaro::pictures
