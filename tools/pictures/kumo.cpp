#include "tools/pictures/kumo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "tools/pictures/noise.h"

namespace velkaro::pictures {
namespace {

// The picture is a cylindrical view over a sea of clouds: the camera floats a little above the
// cloud tops and turns through most of a full circle across the picture's width, so every part of
// it has a true perspective (large billows below, small ones near the far edge) and nothing
// repeats. The cloud surface is a height field of rounded domes at three scales on a slow swell,
// with a few towering heads far off that break the upper edge.

using Colour = std::array<double, 3>;

constexpr int kScale = 2;               // drawn at twice the size, then averaged down
constexpr double kFocal = 600.0;        // pixels per radian at the final size
constexpr double kHorizonRow = 50.0;    // the camera's eye level, in rows of the final picture
constexpr double kCameraHeight = 1.65;  // above the cloud base, in the height field's units
constexpr double kNearest = 2.5;        // nearest distance marched
constexpr double kFarthest = 160.0;
constexpr double kStep = 1.01;  // distance grows by this factor per step

constexpr uint32_t kSeed = 0x6b756d6fu;

constexpr Colour kHazeTop = {220, 232, 244};
constexpr Colour kHazeLow = {230, 238, 247};
constexpr Colour kLit = {253, 253, 252};
constexpr Colour kShadow = {150, 163, 188};
constexpr Colour kFar = {238, 242, 248};

Colour Mix(const Colour& a, const Colour& b, double t) {
  return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t};
}

uint64_t CellHash(int64_t i, int64_t j, uint32_t seed) {
  uint64_t h = static_cast<uint64_t>(i) * 0x9e3779b97f4a7c15ull ^
               static_cast<uint64_t>(j) * 0xc2b2ae3d27d4eb4full ^ seed * 0x165667b19e3779f9ull;
  h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ull;
  h = (h ^ (h >> 27)) * 0x94d049bb133111ebull;
  return h ^ (h >> 31);
}

// Four independent numbers in [0, 1] from one cell hash.
double Part(uint64_t hash, int k) {
  return ((hash >> (16 * k)) & 0xffff) / 65535.0;
}

// Union of two dome heights that rounds the fold between them instead of leaving a crease.
double SoftMax(double a, double b, double k) {
  const double h = std::max(k - std::abs(a - b), 0.0) / k;
  return std::max(a, b) + h * h * k * 0.25;
}

// Domes of one scale: each cell of size `size` may hold one sphere; the value is the top of the
// spheres over (x, z) in units of the cell size (0 between domes, about 1 at most).
double Domes(double x, double z, double size, double emptyShare, uint32_t seed) {
  const double cx = x / size;
  const double cz = z / size;
  const auto i0 = static_cast<int64_t>(std::floor(cx));
  const auto j0 = static_cast<int64_t>(std::floor(cz));
  // Centres lie 0.15..0.85 into their cell and radii are at most 1: a neighbouring cell whose
  // nearest possible centre is a radius away or more cannot reach the point.
  auto gap = [](double f, int64_t offset) {
    if (offset < 0) return f + 0.15;
    if (offset > 0) return 1.15 - f;
    return std::max({0.0, 0.15 - f, f - 0.85});
  };
  const double fx = cx - static_cast<double>(i0);
  const double fz = cz - static_cast<double>(j0);
  double best = 0;
  for (int64_t i = i0 - 1; i <= i0 + 1; ++i) {
    const double gx = gap(fx, i - i0);
    for (int64_t j = j0 - 1; j <= j0 + 1; ++j) {
      const double gz = gap(fz, j - j0);
      if (gx * gx + gz * gz >= 1) continue;
      const uint64_t hash = CellHash(i, j, seed);
      if (Part(hash, 0) < emptyShare) continue;
      const double px = i + 0.15 + 0.7 * Part(hash, 1);
      const double pz = j + 0.15 + 0.7 * Part(hash, 2);
      const double r = 0.6 + 0.4 * Part(hash, 3);
      const double d2 = (cx - px) * (cx - px) + (cz - pz) * (cz - pz);
      if (d2 < r * r) best = SoftMax(best, std::sqrt(r * r - d2), 0.3);
    }
  }
  return best;
}

// Height of the cloud tops above the cloud base at ground position (x, z); the camera is at the
// origin. `crevice` receives how deep the point lies between the middle-sized domes (0 on a top,
// 1 in a fold), which darkens the folds beyond what the slope alone gives.
double CloudHeight(double x, double z, double* crevice) {
  const double distance = std::sqrt(x * x + z * z);
  const double swell = 1.0 * (Fractal2(x / 18.0, z / 18.0, 3, 0.5, kSeed) - 0.5);
  const double big = Domes(x, z, 1.7, 0.12, kSeed + 1);
  // The smaller lumps fade out with distance, where they would be finer than a pixel.
  const double middleShare = 1 - SmoothStep(50, 120, distance);
  const double smallShare = 1 - SmoothStep(20, 60, distance);
  const double middle = middleShare > 0 ? Domes(x, z, 0.62, 0.05, kSeed + 2) : 0.5;
  const double small = smallShare > 0 ? Domes(x, z, 0.21, 0.0, kSeed + 3) : 0.5;
  // Towering heads only far away, so that they rise above the eye level near the upper edge.
  double towers = 0;
  const double farOff = SmoothStep(16, 30, distance);
  if (farOff > 0) {
    const double heads = Domes(x, z, 5.5, 0.5, kSeed + 4);
    if (heads > 0) {
      const double lumps = Domes(x, z, 0.9, 0.0, kSeed + 5);
      towers = farOff * (heads * 2.6 + 0.35 * lumps * std::min(1.0, heads * 3));
    }
  }
  if (crevice) *crevice = middleShare * (1 - std::min(1.0, middle * 1.6));
  return swell + 0.75 * big + 0.32 * (middleShare * middle + (1 - middleShare) * 0.5) +
         0.10 * (smallShare * small + (1 - smallShare) * 0.5) + towers;
}

// Colour of the cloud surface at (x, z): lit from above and a little from the camera's side, the
// folds in shade, whiter and flatter with distance.
Colour ShadeSurface(double x, double z, double height, double crevice) {
  const double e = 0.01;
  const double hx = CloudHeight(x + e, z, nullptr) - height;
  const double hz = CloudHeight(x, z + e, nullptr) - height;
  // Normal of the surface y = h(x, z).
  double nx = -hx / e, ny = 1.0, nz = -hz / e;
  const double norm = std::sqrt(nx * nx + ny * ny + nz * nz);
  nx /= norm;
  ny /= norm;
  nz /= norm;
  constexpr double kLx = -0.50, kLy = 0.80, kLz = 0.10;
  const double diffuse = nx * kLx + ny * kLy + nz * kLz;
  double light = std::clamp((diffuse + 0.35) / 1.35, 0.0, 1.0);
  light = std::pow(light, 1.6) * (1 - 0.35 * crevice);
  // A soft mottle on the near billows, so their surfaces read as vapour rather than plaster.
  const double distance = std::sqrt(x * x + z * z);
  const double mottle = 1 - SmoothStep(8, 30, distance);
  if (mottle > 0) {
    light += mottle * 0.10 * (Fractal2(x / 0.09, z / 0.09, 3, 0.55, kSeed + 9) - 0.5);
  }
  const Colour surface = Mix(kShadow, kLit, std::clamp(light, 0.0, 1.0));
  const double fog = 1 - std::exp(-distance / 70.0);
  return Mix(surface, kFar, 0.92 * fog);
}

}  // namespace

RgbImage DrawKumo() {
  const int width = kKumoWidth * kScale;
  const int height = kKumoHeight * kScale;
  const double focal = kFocal * kScale;
  const double horizon = kHorizonRow * kScale;
  std::vector<Colour> canvas(static_cast<size_t>(width) * height);

  for (int x = 0; x < width; ++x) {
    // Background: the pale haze that veils the mountain's foot above the cloud tops.
    for (int y = 0; y < height; ++y) {
      canvas[static_cast<size_t>(y) * width + x] = Mix(kHazeTop, kHazeLow, y / double(height));
    }
    const double angle = (x + 0.5 - width / 2.0) / focal;
    const double dirX = std::sin(angle);
    const double dirZ = std::cos(angle);
    int lowestFree = height;  // rows from here down are drawn already
    // Draws the surface seen at distance d if it rises above what is drawn; returns the row.
    auto sample = [&](double d) {
      const double px = d * dirX;
      const double pz = d * dirZ;
      double crevice = 0;
      const double h = CloudHeight(px, pz, &crevice);
      const double row = horizon + focal * std::atan((kCameraHeight - h) / d);
      const int top = std::max(0, static_cast<int>(std::floor(row)));
      if (top < lowestFree) {
        const Colour c = ShadeSurface(px, pz, h, crevice);
        for (int y = top; y < lowestFree; ++y) canvas[static_cast<size_t>(y) * width + x] = c;
        lowestFree = top;
      }
    };
    double previous = kNearest;
    for (double d = kNearest; d < kFarthest && lowestFree > 0; d *= kStep) {
      const int before = lowestFree;
      sample(d);
      // A steep face (a towering head) covers many rows in one step: go over the step again
      // in finer steps, so the face is shaded row by row instead of in one flat streak.
      if (before - lowestFree > 2 && d > kNearest) {
        const int parts = std::min(before - lowestFree, 24);
        lowestFree = before;
        for (int k = 1; k <= parts; ++k) sample(previous + (d - previous) * k / parts);
      }
      previous = d;
    }
    // Beyond the last step the cloud sea runs out to the eye level, lost in the distance.
    const int eyeRow = static_cast<int>(horizon);
    for (int y = eyeRow; y < lowestFree; ++y) canvas[static_cast<size_t>(y) * width + x] = kFar;
  }

  // Average down, and let the last rows approach the white that continues the band below the
  // picture.
  RgbImage image(kKumoWidth, kKumoHeight);
  for (int y = 0; y < kKumoHeight; ++y) {
    const double white = 0.85 * SmoothStep(140, kKumoHeight - 1, y);
    for (int x = 0; x < kKumoWidth; ++x) {
      Colour sum{};
      for (int sy = 0; sy < kScale; ++sy) {
        for (int sx = 0; sx < kScale; ++sx) {
          const Colour& c = canvas[static_cast<size_t>(y * kScale + sy) * width + x * kScale + sx];
          for (int ch = 0; ch < 3; ++ch) sum[ch] += c[ch];
        }
      }
      for (double& v : sum) v /= kScale * kScale;
      const Colour c = Mix(sum, Colour{255, 255, 255}, white);
      uint8_t* px = image.At(x, y);
      for (int ch = 0; ch < 3; ++ch) {
        px[ch] = static_cast<uint8_t>(std::lround(std::clamp(c[ch], 0.0, 255.0)));
      }
    }
  }
  return image;
}

}  // namespace velkaro::pictures
