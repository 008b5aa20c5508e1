#include "maps/visibility_sweep.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <map>
#include <thread>

#include "core/constants.h"
#include "core/datum.h"
#include "core/numeric.h"

namespace velkaro {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Metres along the surface per radian of central angle: one nautical mile per arc-minute.
const double kArcMetres = 1852.0 * 60.0 / kDegToRad;
// Metres per degree of latitude on that sphere.
constexpr double kMetresPerDegree = 1852.0 * 60.0;
// The radius that turns the drop (1/cos γ − 1) · 6400 km into d² / (2 R) for small arcs.
const double kParabolaRadius = kArcMetres * kArcMetres / kEarthRadiusM;

double Drop(double distanceM) {
  return (1.0 / std::cos(distanceM / kArcMetres) - 1.0) * kEarthRadiusM;
}
// Within a few kilometres the parabola equals the drop to far below a millimetre.
double NearDrop(double distanceM) {
  return distanceM * distanceM / (2 * kParabolaRadius);
}

struct GridPoint {
  double gx = 0;  // fractional sample column (0 = centre of column 0)
  double gy = 0;
};

// The world-datum point as fractional sample coordinates of the grid (Tokyo datum).
GridPoint WorldToGrid(double latitude, double longitude) {
  const DatumShift s = TokyoToWorld(latitude, longitude);
  const double tokyoLat = latitude - s.shiftLatitude;
  const double tokyoLon = longitude - s.shiftLongitude;
  return {(tokyoLon - kViewMapWest) * kViewMapPixelsPerLon - 0.5,
          (kViewMapNorth - tokyoLat) * kViewMapPixelsPerLat - 0.5};
}

// Great-circle steps from a fixed point.
struct Origin {
  double lat;  // radians
  double lon;
  double sinLat;
  double cosLat;
  Origin(double latitudeDeg, double longitudeDeg)
      : lat(latitudeDeg * kDegToRad),
        lon(longitudeDeg * kDegToRad),
        sinLat(std::sin(lat)),
        cosLat(std::cos(lat)) {}

  // Azimuth (radians, clockwise from north) and central angle towards a point, and optionally the
  // azimuth from that point back to this one.
  void Towards(double latitudeDeg, double longitudeDeg, double& azimuth, double& arc,
               double* backAzimuth = nullptr) const {
    const double lat2 = latitudeDeg * kDegToRad;
    const double dLon = longitudeDeg * kDegToRad - lon;
    const double sinLat2 = std::sin(lat2);
    const double cosLat2 = std::cos(lat2);
    const double sinDLon = std::sin(dLon);
    const double cosDLon = std::cos(dLon);
    azimuth = std::atan2(sinDLon * cosLat2, cosLat * sinLat2 - sinLat * cosLat2 * cosDLon);
    if (backAzimuth) {
      *backAzimuth = std::atan2(-sinDLon * cosLat, cosLat2 * sinLat - sinLat2 * cosLat * cosDLon);
    }
    const double a = std::sin((lat2 - lat) / 2) * std::sin((lat2 - lat) / 2) +
                     cosLat * cosLat2 * std::sin(dLon / 2) * std::sin(dLon / 2);
    arc = 2 * std::atan2(std::sqrt(a), std::sqrt(std::max(0.0, 1 - a)));
  }

  // The point at central angle `arc` along `azimuth`, as grid coordinates.
  GridPoint Along(double azimuth, double arc) const {
    const double sinArc = std::sin(arc);
    const double cosArc = std::cos(arc);
    const double sinLat2 = sinLat * cosArc + cosLat * sinArc * std::cos(azimuth);
    const double lat2 = std::asin(std::clamp(sinLat2, -1.0, 1.0));
    const double lon2 =
        lon + std::atan2(std::sin(azimuth) * sinArc * cosLat, cosArc - sinLat * sinLat2);
    return WorldToGrid(lat2 / kDegToRad, lon2 / kDegToRad);
  }
};

Origin SummitOrigin() {
  return Origin(SummitReference.latitude, SummitReference.longitude);
}

// The terrain along a straight piece of line in grid coordinates, position (gx + vx·(s − s0),
// gy + vy·(s − s0)) for s in (s0, s1]. Between two crossings of grid lines the line stays in one
// cell, where the bilinear surface is a quadratic in s; its highest points are the crossings, the
// end and, where the quadratic is concave, its vertex. emit(s, h) receives those in order of s, so
// no peak of the surface between the samples is missed.
template <typename Emit>
void WalkLine(const VisibilityTerrain& terrain, GridPoint start, double vx, double vy, double s0,
              double s1, Emit&& emit) {
  const auto crossings = [](double g, double v, double& next, double& step) {
    if (v > 0) {
      next = (std::floor(g) + 1 - g) / v;
      step = 1 / v;
    } else if (v < 0) {
      next = (std::ceil(g) - 1 - g) / v;
      step = -1 / v;
    } else {
      next = kInf;
      step = kInf;
    }
  };
  double nextX = 0;
  double stepX = 0;
  double nextY = 0;
  double stepY = 0;
  crossings(start.gx, vx, nextX, stepX);
  crossings(start.gy, vy, nextY, stepY);
  const double length = s1 - s0;
  const int maxX = terrain.width - 2;
  const int maxY = terrain.height - 2;
  double a = 0;  // start of the current piece, relative to s0
  while (a < length) {
    const double b = std::min({nextX, nextY, length});
    const double m = (a + b) / 2;
    const int cx = std::clamp(static_cast<int>(std::floor(start.gx + vx * m)), 0, maxX);
    const int cy = std::clamp(static_cast<int>(std::floor(start.gy + vy * m)), 0, maxY);
    const float* row0 = terrain.ground.data() + static_cast<size_t>(cy) * terrain.width + cx;
    const float* row1 = row0 + terrain.width;
    const double h00 = row0[0];
    const double h10 = row0[1] - h00;
    const double h01 = row1[0] - h00;
    const double q = row1[1] - row0[1] - row1[0] + h00;
    const auto surface = [&](double s) {
      const double u = std::clamp(start.gx + vx * s - cx, 0.0, 1.0);
      const double v = std::clamp(start.gy + vy * s - cy, 0.0, 1.0);
      return h00 + h10 * u + h01 * v + q * u * v;
    };
    const double curvature = q * vx * vy;
    if (curvature < 0) {
      const double ua = start.gx + vx * a - cx;
      const double va = start.gy + vy * a - cy;
      const double slope = vx * (h10 + q * va) + vy * (h01 + q * ua);
      const double vertex = a - slope / (2 * curvature);
      if (vertex > a && vertex < b) emit(s0 + vertex, surface(vertex));
    }
    emit(s0 + b, surface(b));
    if (b == nextX) nextX += stepX;
    if (b == nextY) nextY += stepY;
    a = b;
  }
}

// Grid steps per metre along an azimuth at a latitude.
void GridDirection(double azimuth, double latitude, double& vx, double& vy) {
  vx = std::sin(azimuth) * kViewMapPixelsPerLon /
       (kMetresPerDegree * std::cos(latitude * kDegToRad));
  vy = -std::cos(azimuth) * kViewMapPixelsPerLat / kMetresPerDegree;
}

// The upper convex hull of a terrain profile seen from the summit: r the distance from the summit,
// g the height lowered by the parabolic drop r² / 2R, h the ground height itself.
class ProfileHull {
 public:
  void Add(double r, double h) {
    const Point p{r, h - r * r / (2 * kParabolaRadius), h};
    while (points_.size() >= 2) {
      const Point& a = points_[points_.size() - 2];
      const Point& b = points_.back();
      // b is dropped when it does not lie strictly above the chord from a to p.
      if ((b.g - a.g) * (p.r - a.r) <= (p.g - a.g) * (b.r - a.r)) {
        points_.pop_back();
      } else {
        break;
      }
    }
    points_.push_back(p);
  }

  // The steepest slope from an eye at distance d with absolute height e to the profile, under the
  // exact drop seen from the eye (−infinity for an empty profile). The eye's slopes towards the
  // hull vertices rise and then fall (the hull is concave), so the steepest is found by bisection
  // under the parabolic drop, then the few vertices around it are measured with the exact drop.
  double SteepestSlope(double d, double e) const {
    if (points_.empty()) return -kInf;
    const double eyeG = e - d * d / (2 * kParabolaRadius);
    const auto slope = [&](size_t i) { return (points_[i].g - eyeG) / (d - points_[i].r); };
    size_t lo = 0;
    size_t hi = points_.size() - 1;
    while (lo < hi) {
      const size_t mid = (lo + hi) / 2;
      if (slope(mid + 1) > slope(mid)) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    double best = -kInf;
    const size_t first = lo >= 2 ? lo - 2 : 0;
    const size_t last = std::min(points_.size() - 1, lo + 2);
    for (size_t i = first; i <= last; ++i) {
      const double t = d - points_[i].r;
      best = std::max(best, (points_[i].h - Drop(t) - e) / t);
    }
    return best;
  }

 private:
  struct Point {
    double r;
    double g;
    double h;
  };
  std::vector<Point> points_;
};

// The steepest slope from the eye of pixel (x, y) over the terrain within `reach` metres along its
// own line to the summit: close to the eye a lateral offset of a metre changes the slope of a
// hillside decisively, so this part is never taken from a neighbouring ray.
double NearSlope(const VisibilityTerrain& terrain, int x, int y, double eye, double azimuth,
                 double reach) {
  if (reach <= 0) return -kInf;
  double vx = 0;
  double vy = 0;
  GridDirection(azimuth, ViewMapPixelCentre(x, y).latitude, vx, vy);
  double best = -kInf;
  WalkLine(terrain, GridPoint{static_cast<double>(x), static_cast<double>(y)}, vx, vy, 0.0, reach,
           [&](double t, double h) {
             if (t > 1e-6) best = std::max(best, (h - NearDrop(t) - eye) / t);
           });
  return best;
}

template <typename Fn>
void RunParallel(int threads, int count, Fn fn) {
  std::atomic<int> next{0};
  const auto work = [&] {
    for (;;) {
      const int begin = next.fetch_add(64);
      if (begin >= count) return;
      const int end = std::min(count, begin + 64);
      for (int i = begin; i < end; ++i) fn(i);
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < std::max(1, threads); ++t) pool.emplace_back(work);
  work();
  for (auto& th : pool) th.join();
}

}  // namespace

int VisibilityValueOfHeight(double limit) {
  if (!(limit < kVerticalTop)) return 0;  // NaN counts as hidden too
  // The lowest level k (height 3776 − k·step) that still lies above the limit.
  int k = kVerticalSteps;
  if (limit > kVerticalBottom) {
    k = static_cast<int>(std::ceil((kVerticalTop - limit) / kVerticalStep)) - 1;
    k = std::clamp(k, 0, kVerticalSteps);
  }
  const double f = static_cast<double>(k) / kVerticalSteps;
  return std::min(255, 127 + NearestInt(128.0 * f));
}

PixelPlace PixelPlaceOf(int x, int y) {
  const TokyoPoint tokyo = ViewMapPixelCentre(x, y);
  const DatumShift s = TokyoToWorld(tokyo.latitude, tokyo.longitude);
  PixelPlace p;
  p.latitude = tokyo.latitude + s.shiftLatitude;
  p.longitude = tokyo.longitude + s.shiftLongitude;
  double azimuth = 0;
  double arc = 0;
  SummitOrigin().Towards(p.latitude, p.longitude, azimuth, arc);
  p.summitDistanceM = arc * kArcMetres;
  return p;
}

VisibilityField ComputeVisibilityField(const VisibilityTerrain& terrain,
                                       const VisibilitySweepOptions& options) {
  const int w = terrain.width;
  const int h = terrain.height;
  const size_t pixels = static_cast<size_t>(w) * h;
  const int rays = std::max(8, options.rayCount);
  const double knotSpacing = options.knotSpacingM > 0 ? options.knotSpacingM : 500.0;
  const double reach = std::max(0.0, options.nearReachM);
  VisibilityField field;
  field.width = w;
  field.height = h;
  field.limit.assign(pixels, static_cast<float>(-kInf));
  field.summitArea.assign(pixels, 0);

  // 1. Each pixel's place between two neighbouring rays, its distance from the summit and the
  //    direction of its own line to the summit.
  std::vector<int32_t> rayOf(pixels, -1);  // the ray just before the pixel's azimuth
  std::vector<float> weightOf(pixels, 0);  // how far on towards the next ray
  std::vector<float> distanceOf(pixels, 0);
  std::vector<float> backAzimuthOf(pixels, 0);
  const Origin summit = SummitOrigin();
  RunParallel(options.threads, h, [&](int y) {
    for (int x = 0; x < w; ++x) {
      const TokyoPoint tokyo = ViewMapPixelCentre(x, y);
      const DatumShift s = TokyoToWorld(tokyo.latitude, tokyo.longitude);
      double azimuth = 0;
      double arc = 0;
      double back = 0;
      summit.Towards(tokyo.latitude + s.shiftLatitude, tokyo.longitude + s.shiftLongitude, azimuth,
                     arc, &back);
      const double d = arc * kArcMetres;
      const size_t i = static_cast<size_t>(y) * w + x;
      if (d < kSummitAreaRadiusM) {
        field.summitArea[i] = 1;
        continue;
      }
      if (azimuth < 0) azimuth += 2 * kPi;
      const double u = azimuth / (2 * kPi) * rays;
      const double k = std::floor(u);
      rayOf[i] = static_cast<int32_t>(k) % rays;
      weightOf[i] = static_cast<float>(u - k);
      distanceOf[i] = static_cast<float>(d);
      backAzimuthOf[i] = static_cast<float>(back);
    }
  });

  // 2. Every pixel is asked of both rays around it; entries grouped by ray. The top bit of an
  //    entry's code says whether the ray is the pixel's second one.
  constexpr uint32_t kSecondRay = 0x80000000u;
  std::vector<uint32_t> start(static_cast<size_t>(rays) + 1, 0);
  for (size_t i = 0; i < pixels; ++i) {
    if (rayOf[i] < 0) continue;
    ++start[rayOf[i] + 1];
    ++start[(rayOf[i] + 1) % rays + 1];
  }
  for (int k = 0; k < rays; ++k) start[k + 1] += start[k];
  struct Entry {
    float distance;
    uint32_t code;
  };
  std::vector<Entry> entries(start[rays]);
  {
    std::vector<uint32_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < pixels; ++i) {
      if (rayOf[i] < 0) continue;
      const auto pixel = static_cast<uint32_t>(i);
      entries[fill[rayOf[i]]++] = {distanceOf[i], pixel};
      entries[fill[(rayOf[i] + 1) % rays]++] = {distanceOf[i], pixel | kSecondRay};
    }
  }

  // 3. One sweep per ray: the steepest slope from each eye to the ray's terrain beyond the eye's
  //    near zone.
  std::vector<float> firstSlope(pixels, static_cast<float>(-kInf));
  std::vector<float> secondSlope(pixels, static_cast<float>(-kInf));
  RunParallel(options.threads, rays, [&](int k) {
    Entry* first = entries.data() + start[k];
    Entry* last = entries.data() + start[k + 1];
    if (first == last) return;
    std::sort(first, last, [](const Entry& a, const Entry& b) {
      return a.distance != b.distance ? a.distance < b.distance : a.code < b.code;
    });
    const double azimuth = 2 * kPi * k / rays;
    // The ray's profile out to the near zone of its farthest pixel: straight pieces in grid
    // coordinates between exact great-circle positions.
    struct Sample {
      double r;
      double h;
    };
    std::vector<Sample> profile;
    const double end = (last - 1)->distance - reach;
    GridPoint a = summit.Along(azimuth, kSummitAreaRadiusM / kArcMetres);
    for (double r = kSummitAreaRadiusM; r < end; r += knotSpacing) {
      const double r1 = std::min(r + knotSpacing, end);
      const GridPoint b = summit.Along(azimuth, r1 / kArcMetres);
      WalkLine(terrain, a, (b.gx - a.gx) / (r1 - r), (b.gy - a.gy) / (r1 - r), r, r1,
               [&](double s, double hs) {
                 profile.push_back({s, hs});
               });
      a = b;
    }
    ProfileHull hull;
    size_t next = 0;
    for (Entry* e = first; e != last; ++e) {
      const double d = e->distance;
      while (next < profile.size() && profile[next].r <= d - reach) {
        hull.Add(profile[next].r, profile[next].h);
        ++next;
      }
      const uint32_t i = e->code & ~kSecondRay;
      const float slope = static_cast<float>(hull.SteepestSlope(d, terrain.ground[i] + kEyeHeight));
      ((e->code & kSecondRay) ? secondSlope : firstSlope)[i] = slope;
    }
  });
  entries.clear();
  entries.shrink_to_fit();

  // 4. Per pixel: the far slope interpolated between its two rays (the steepest slope varies
  //    continuously with the azimuth), the near zone walked along its own line.
  RunParallel(options.threads, h, [&](int y) {
    for (int x = 0; x < w; ++x) {
      const size_t i = static_cast<size_t>(y) * w + x;
      if (rayOf[i] < 0) continue;
      const double a = firstSlope[i];
      const double b = secondSlope[i];
      const double far = (a == -kInf || b == -kInf) ? std::max(a, b) : a + (b - a) * weightOf[i];
      const double d = distanceOf[i];
      const double eye = terrain.ground[i] + kEyeHeight;
      const double near =
          NearSlope(terrain, x, y, eye, backAzimuthOf[i], std::min(reach, d - kSummitAreaRadiusM));
      const double slope = std::max(far, near);
      field.limit[i] = slope == -kInf ? static_cast<float>(-kInf)
                                      : static_cast<float>(eye + Drop(d) + d * slope);
    }
  });
  return field;
}

double ExactVisibilityLimit(const VisibilityTerrain& terrain, int x, int y) {
  const PixelPlace place = PixelPlaceOf(x, y);
  if (place.summitDistanceM < kSummitAreaRadiusM) return std::nan("");
  return ExactVisibilityLimitFrom(terrain, place.latitude, place.longitude,
                                  terrain.GroundAt(x, y) + kEyeHeight);
}

double ExactVisibilityLimitFrom(const VisibilityTerrain& terrain, double latitude, double longitude,
                                double eyeHeight) {
  const Origin eye(latitude, longitude);
  double azimuth = 0;
  double arc = 0;
  eye.Towards(SummitReference.latitude, SummitReference.longitude, azimuth, arc);
  const double d = arc * kArcMetres;
  if (d < kSummitAreaRadiusM) return std::nan("");
  // Exact great-circle positions every 100 m, every cell crossed in between.
  constexpr double kPiece = 100.0;
  const double end = d - kSummitAreaRadiusM;
  double best = -kInf;
  GridPoint a = WorldToGrid(latitude, longitude);
  for (double t = 0; t < end; t += kPiece) {
    const double t1 = std::min(t + kPiece, end);
    const GridPoint b = eye.Along(azimuth, t1 / kArcMetres);
    WalkLine(terrain, a, (b.gx - a.gx) / (t1 - t), (b.gy - a.gy) / (t1 - t), t, t1,
             [&](double s, double h) {
               if (s > 1e-6) best = std::max(best, (h - Drop(s) - eyeHeight) / s);
             });
    a = b;
  }
  if (best == -kInf) return -kInf;
  return eyeHeight + Drop(d) + d * best;
}

ViewMapImage PaintViewMap(const VisibilityTerrain& terrain, const VisibilityField& field) {
  const size_t pixels = static_cast<size_t>(field.width) * field.height;
  std::vector<Rgb> colours(pixels);
  const auto key = [](const Rgb& c) { return (c.r << 16) | (c.g << 8) | c.b; };
  std::map<int, uint8_t> used;
  for (size_t i = 0; i < pixels; ++i) {
    Rgb c;
    if (field.summitArea[i]) {
      c = kSummitAreaColour;
    } else {
      const int g = VisibilityValueOfHeight(field.limit[i]);
      const bool water = terrain.water[i] != 0;
      c = g == 0 ? (water ? kHiddenWaterColour : kHiddenLandColour)
                 : (water ? SeenWaterColour(g) : SeenLandColour(g));
    }
    colours[i] = c;
    used.emplace(key(c), 0);
  }
  ViewMapImage image;
  image.width = field.width;
  image.height = field.height;
  // 127 shades each of gray and of water, red and purple: never more than 256.
  int index = 0;
  for (auto& [k, slot] : used) {
    slot = static_cast<uint8_t>(index++);
    image.palette.push_back(
        {static_cast<uint8_t>(k >> 16), static_cast<uint8_t>(k >> 8), static_cast<uint8_t>(k)});
  }
  image.indices.resize(pixels);
  // Colours come in long runs, so one cached lookup per run keeps this cheap.
  int lastKey = -1;
  uint8_t lastIndex = 0;
  for (size_t i = 0; i < pixels; ++i) {
    const int k = key(colours[i]);
    if (k != lastKey) {
      lastKey = k;
      lastIndex = used.at(k);
    }
    image.indices[i] = lastIndex;
  }
  return image;
}

}  // namespace velkaro
