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
// The radius that turns the drop (1/cos γ − 1) · 6400 km into d² / (2 R) for small arcs.
const double kParabolaRadius = kArcMetres * kArcMetres / kEarthRadiusM;

double Drop(double distanceM) { return (1.0 / std::cos(distanceM / kArcMetres) - 1.0) * kEarthRadiusM; }

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

  // Azimuth (radians, clockwise from north) and central angle towards a point.
  void Towards(double latitudeDeg, double longitudeDeg, double& azimuth, double& arc) const {
    const double lat2 = latitudeDeg * kDegToRad;
    const double dLon = longitudeDeg * kDegToRad - lon;
    const double sinLat2 = std::sin(lat2);
    const double cosLat2 = std::cos(lat2);
    azimuth = std::atan2(std::sin(dLon) * cosLat2, cosLat * sinLat2 - sinLat * cosLat2 * std::cos(dLon));
    const double a = std::sin((lat2 - lat) / 2) * std::sin((lat2 - lat) / 2) +
                     cosLat * cosLat2 * std::sin(dLon / 2) * std::sin(dLon / 2);
    arc = 2 * std::atan2(std::sqrt(a), std::sqrt(std::max(0.0, 1 - a)));
  }

  // The point at central angle `arc` along `azimuth`, in degrees.
  void Along(double azimuth, double arc, double& latitudeDeg, double& longitudeDeg) const {
    const double sinArc = std::sin(arc);
    const double cosArc = std::cos(arc);
    const double sinLat2 = sinLat * cosArc + cosLat * sinArc * std::cos(azimuth);
    const double lat2 = std::asin(std::clamp(sinLat2, -1.0, 1.0));
    const double lon2 =
        lon + std::atan2(std::sin(azimuth) * sinArc * cosLat, cosArc - sinLat * sinLat2);
    latitudeDeg = lat2 / kDegToRad;
    longitudeDeg = lon2 / kDegToRad;
  }
};

Origin SummitOrigin() { return Origin(SummitReference.latitude, SummitReference.longitude); }

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

  // The limit on the summit's vertical for an eye at distance d with absolute height e: the eye's
  // slopes towards the hull vertices rise and then fall (the hull is concave), so the steepest is
  // found by bisection under the parabolic drop, then the few vertices around it are measured
  // with the exact drop.
  double Limit(double d, double e) const {
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
    return e + Drop(d) + d * best;
  }

 private:
  struct Point {
    double r;
    double g;
    double h;
  };
  std::vector<Point> points_;
};

struct PixelRay {
  float distance;
  uint32_t pixel;
};

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
  const double step = options.stepM > 0 ? options.stepM : 25.0;
  VisibilityField field;
  field.width = w;
  field.height = h;
  field.limit.assign(pixels, static_cast<float>(-kInf));
  field.summitArea.assign(pixels, 0);

  // 1. Each pixel's nearest ray and its distance from the summit.
  std::vector<int32_t> rayOf(pixels, -1);
  std::vector<float> distanceOf(pixels, 0);
  const Origin summit = SummitOrigin();
  RunParallel(options.threads, h, [&](int y) {
    for (int x = 0; x < w; ++x) {
      const TokyoPoint tokyo = ViewMapPixelCentre(x, y);
      const DatumShift s = TokyoToWorld(tokyo.latitude, tokyo.longitude);
      double azimuth = 0;
      double arc = 0;
      summit.Towards(tokyo.latitude + s.shiftLatitude, tokyo.longitude + s.shiftLongitude, azimuth,
                     arc);
      const double d = arc * kArcMetres;
      const size_t i = static_cast<size_t>(y) * w + x;
      if (d < kSummitAreaRadiusM) {
        field.summitArea[i] = 1;
        continue;
      }
      if (azimuth < 0) azimuth += 2 * kPi;
      int k = static_cast<int>(std::nearbyint(azimuth / (2 * kPi) * rays));
      rayOf[i] = k % rays;
      distanceOf[i] = static_cast<float>(d);
    }
  });

  // 2. Pixels grouped by ray, nearest the summit first.
  std::vector<uint32_t> start(static_cast<size_t>(rays) + 1, 0);
  for (size_t i = 0; i < pixels; ++i) {
    if (rayOf[i] >= 0) ++start[rayOf[i] + 1];
  }
  for (int k = 0; k < rays; ++k) start[k + 1] += start[k];
  std::vector<PixelRay> entries(start[rays]);
  {
    std::vector<uint32_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < pixels; ++i) {
      if (rayOf[i] >= 0) entries[fill[rayOf[i]]++] = {distanceOf[i], static_cast<uint32_t>(i)};
    }
  }
  rayOf.clear();
  rayOf.shrink_to_fit();
  distanceOf.clear();
  distanceOf.shrink_to_fit();

  // 3. One sweep per ray.
  constexpr int kKnotSpacing = 32;  // exact positions every 32 samples, linear in between
  RunParallel(options.threads, rays, [&](int k) {
    PixelRay* first = entries.data() + start[k];
    PixelRay* last = entries.data() + start[k + 1];
    if (first == last) return;
    std::sort(first, last, [](const PixelRay& a, const PixelRay& b) {
      return a.distance != b.distance ? a.distance < b.distance : a.pixel < b.pixel;
    });
    const double azimuth = 2 * kPi * k / rays;
    const double maxDistance = (last - 1)->distance;
    ProfileHull hull;
    // Knot positions cover every sample up to the farthest pixel.
    const int samples = static_cast<int>((maxDistance - kSummitAreaRadiusM) / step) + 2;
    const int knots = samples / kKnotSpacing + 2;
    std::vector<GridPoint> knot(knots);
    for (int j = 0; j < knots; ++j) {
      double lat = 0;
      double lon = 0;
      summit.Along(azimuth, (kSummitAreaRadiusM + j * kKnotSpacing * step) / kArcMetres, lat, lon);
      knot[j] = WorldToGrid(lat, lon);
    }
    int next = 0;  // next profile sample to add
    for (PixelRay* e = first; e != last; ++e) {
      const double d = e->distance;
      // Terrain from 10 km out to half a step short of the eye.
      while (next < samples) {
        const double r = kSummitAreaRadiusM + next * step;
        if (r > d - step / 2) break;
        const int kn = next / kKnotSpacing;
        const double f = static_cast<double>(next % kKnotSpacing) / kKnotSpacing;
        const double gx = knot[kn].gx + (knot[kn + 1].gx - knot[kn].gx) * f;
        const double gy = knot[kn].gy + (knot[kn + 1].gy - knot[kn].gy) * f;
        hull.Add(r, terrain.GroundAtSample(gx, gy));
        ++next;
      }
      const uint32_t i = e->pixel;
      const double eye = terrain.ground[i] + kEyeHeight;
      field.limit[i] = static_cast<float>(hull.Limit(d, eye));
    }
  });
  return field;
}

double ExactVisibilityLimit(const VisibilityTerrain& terrain, int x, int y, double stepM) {
  const PixelPlace place = PixelPlaceOf(x, y);
  if (place.summitDistanceM < kSummitAreaRadiusM) return std::nan("");
  const Origin eyeOrigin(place.latitude, place.longitude);
  double azimuth = 0;
  double arc = 0;
  eyeOrigin.Towards(SummitReference.latitude, SummitReference.longitude, azimuth, arc);
  const double d = arc * kArcMetres;
  const double eye = terrain.GroundAt(x, y) + kEyeHeight;
  double best = -kInf;
  for (double t = stepM; t <= d - kSummitAreaRadiusM; t += stepM) {
    double lat = 0;
    double lon = 0;
    eyeOrigin.Along(azimuth, t / kArcMetres, lat, lon);
    const GridPoint g = WorldToGrid(lat, lon);
    const double ground = terrain.GroundAtSample(g.gx, g.gy);
    best = std::max(best, (ground - Drop(t) - eye) / t);
  }
  if (best == -kInf) return -kInf;
  return eye + Drop(d) + d * best;
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
    image.palette.push_back({static_cast<uint8_t>(k >> 16), static_cast<uint8_t>(k >> 8),
                             static_cast<uint8_t>(k)});
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
