#include "render/panorama.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <random>
#include <thread>

#include "astro/body_position.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/text.h"
#include "render/text_draw.h"

namespace velkaro {

namespace {

constexpr Rgb kDayTop{177, 207, 235}, kDayBottom{240, 250, 255};
constexpr Rgb kEveningTop{230, 160, 90}, kEveningBottom{255, 181, 84};
constexpr Rgb kNightTop{48, 48, 64}, kNightBottom{96, 96, 96};
constexpr Rgb kMorningTop{117, 147, 175}, kMorningBottom{180, 190, 195};

Rgb Mix(double n, Rgb a, double o, Rgb b) {
  return {static_cast<uint8_t>(TruncInt(n * a.r + o * b.r)),
          static_cast<uint8_t>(TruncInt(n * a.g + o * b.g)),
          static_cast<uint8_t>(TruncInt(n * a.b + o * b.b))};
}

// The spot heights that replace the projected values of the cells they fall in.
struct SpotHeight {
  float latitude, longitude, height;
};
constexpr SpotHeight kSpotHeights[] = {
    {35.360531f, 138.727264f, 3776}, {35.366650f, 138.729507f, 3756},
    {35.394428f, 138.732834f, 2304}, {35.359699f, 138.731430f, 3710},
    {35.359428f, 138.729767f, 3730}, {35.360809f, 138.733383f, 3730},
    {35.362759f, 138.733932f, 3740}, {35.364429f, 138.733383f, 3730},
    {35.366100f, 138.731995f, 3720}, {35.385811f, 138.747833f, 2286},
    {35.343868f, 138.751999f, 2693}};

// Relative azimuth and elevation of every projected cell, indexed like the grid.
struct GridProjection {
  int rows = 0, cols = 0;
  std::vector<float> relAz, relEl;
  GridExtremes extremes;
  size_t At(int i, int j) const { return static_cast<size_t>(i) * (cols + 1) + j; }
};

void ProjectPoint(const Observer& obs, const SummitSight& sight, double lat, double lon,
                  float height, SightLine& line, float& relAz, float& relEl) {
  line.targetLatitude = lat;
  line.targetLongitude = lon;
  line.targetHeight = height;
  ComputeSightLine(obs, line);
  relEl = static_cast<float>(line.elevationAngle - sight.e2600);
  relAz = static_cast<float>(RelativeAzimuth(line.azimuth, sight.summitAzimuth));
}

GridProjection ProjectGrid(const SummitGrid& grid, const Observer& obs, const SummitSight& sight) {
  GridProjection p;
  p.rows = grid.rows();
  p.cols = grid.cols();
  const size_t n = static_cast<size_t>(p.rows + 1) * (p.cols + 1);
  p.relAz.assign(n, 0);
  p.relEl.assign(n, 0);
  const int lastRow = p.rows - 2, lastCol = p.cols - 2;
  if (lastRow < 1 || lastCol < 1) return p;
  // Rows are independent: two halves on two threads, extremes merged afterwards. Each half starts
  // its own sight line from the summit's elevation angle, which a cell closer than 0.1 km keeps.
  auto work = [&](int i0, int i1, GridExtremes& ex) {
    SightLine line;
    line.elevationAngle = sight.e2600;
    for (int i = i0; i < i1; ++i) {
      const double lat = grid.latitude(i);
      for (int j = 1; j <= lastCol; ++j) {
        float az, el;
        ProjectPoint(obs, sight, lat, grid.longitude(j), static_cast<float>(grid.height(i, j)),
                     line, az, el);
        p.relAz[p.At(i, j)] = az;
        p.relEl[p.At(i, j)] = el;
        ex.maxRelAz = std::max(ex.maxRelAz, az);
        ex.minRelAz = std::min(ex.minRelAz, az);
        ex.maxRelEl = std::max(ex.maxRelEl, el);
      }
    }
  };
  const int mid = 1 + lastRow / 2;
  GridExtremes a, b;
  {
    std::jthread second([&] { work(mid, lastRow + 1, b); });
    work(1, mid, a);
  }
  p.extremes.maxRelAz = std::max(a.maxRelAz, b.maxRelAz);
  p.extremes.minRelAz = std::min(a.minRelAz, b.minRelAz);
  p.extremes.maxRelEl = std::max(a.maxRelEl, b.maxRelEl);
  return p;
}

}  // namespace

GridExtremes ProjectSummitGridExtremes(const SummitGrid& grid, const Observer& observer,
                                       const SummitSight& sight) {
  return ProjectGrid(grid, observer, sight).extremes;
}

namespace {

// Heights falling to the south are lit; the moon display dims by the brightness.
std::vector<Rgb> ColourSummitGrid(const SummitGrid& grid, bool dim, float b) {
  std::vector<Rgb> colour(static_cast<size_t>(grid.rows() + 1) * (grid.cols() + 1));
  for (int i = 1; i <= grid.rows() - 1; ++i) {
    for (int j = 1; j <= grid.cols() - 1; ++j) {
      float u = static_cast<float>(grid.height(i, j) - grid.height(i + 1, j)) / 50.0f;
      u = std::clamp(u, -1.0f, 1.0f) * 50.0f;
      int c[3] = {NearestInt(120 + u), NearestInt(155 + u), NearestInt(190 + u)};
      if (dim)
        for (int& v : c) v = NearestInt(v * static_cast<double>(b));
      colour[static_cast<size_t>(i) * (grid.cols() + 1) + j] = {static_cast<uint8_t>(c[0] & 0xFF),
                                                                static_cast<uint8_t>(c[1] & 0xFF),
                                                                static_cast<uint8_t>(c[2] & 0xFF)};
    }
  }
  return colour;
}

void DrawMountain(const Canvas& cv, const SummitGrid& grid, const GridProjection& p,
                  const PanoramaFrame& f, Quadrant q, const std::vector<Rgb>& colour,
                  bool diamond) {
  const int rows = grid.rows(), cols = grid.cols();
  if (rows < 4 || cols < 4) return;
  std::vector<ShadedVertex> v(p.relAz.size());
  for (int i = 1; i <= rows - 2; ++i) {
    for (int j = 1; j <= cols - 2; ++j) {
      const size_t k = p.At(i, j);
      v[k].x = TruncInt(static_cast<double>(p.relAz[k]) * f.ppd + f.Xc);
      v[k].y = TruncInt(f.Yc - static_cast<double>(p.relEl[k]) * f.ppd);
      v[k].colour = diamond ? kDiamondMountainColour : colour[k];
    }
  }
  auto cell = [&](int i, int j) {
    const ShadedVertex& a = v[p.At(i, j)];
    const ShadedVertex& b = v[p.At(i, j + 1)];
    const ShadedVertex& c = v[p.At(i + 1, j + 1)];
    const ShadedVertex& d = v[p.At(i + 1, j)];
    FillShadedTriangle(cv, a, b, c);
    FillShadedTriangle(cv, a, c, d);
  };
  const int lr = rows - 3, lc = cols - 3;
  switch (q) {
    case Quadrant::kNorth:
      for (int i = 1; i <= lr; ++i)
        for (int j = 1; j <= lc; ++j) cell(i, j);
      break;
    case Quadrant::kEast:
      for (int j = lc; j >= 1; --j)
        for (int i = 1; i <= lr; ++i) cell(i, j);
      break;
    case Quadrant::kSouth:
      for (int i = lr; i >= 1; --i)
        for (int j = lc; j >= 1; --j) cell(i, j);
      break;
    case Quadrant::kWest:
      for (int j = 1; j <= lc; ++j)
        for (int i = 1; i <= lr; ++i) cell(i, j);
      break;
  }
}

inline uint32_t Blend(uint32_t src, uint32_t dst, int alpha) {
  auto ch = [&](int shift) {
    const int s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
    return static_cast<uint32_t>((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
  };
  return 0xFF000000u | ch(16) | ch(8) | ch(0);
}

// The cloud band hides the grid's cut-off foot: a band of the cloud picture (or flat grey in the
// diamond display and when it is dark) that fades in over n rows above its opaque part. The band
// reaches the bottom of a window taller than its 400 rows, so no cut-off foot shows below it.
void DrawCloudBand(QImage& panorama, const PanoramaFrame& f, const QImage* kumo, int column,
                   std::optional<Rgb> fill, float edgeTop) {
  const int W = f.W, H = f.H;
  const int n = TruncInt(50 * f.zoom);
  const int ytop = TruncInt(f.Yc - edgeTop * f.ppd - n);
  const int bandRows = std::max(400, H - ytop);
  const bool haveKumo = kumo && !kumo->isNull();
  std::vector<uint32_t> row(static_cast<size_t>(W));
  auto bandRow = [&](int k) {
    if (fill) {
      const uint32_t grey = PackRgb(*fill), black = 0xFF000000u;
      if (k == 0 || k == bandRows - 1) {
        std::fill(row.begin(), row.end(), black);
      } else {
        std::fill(row.begin(), row.end(), grey);
        row.front() = black;
        row.back() = black;
      }
      return;
    }
    std::fill(row.begin(), row.end(), 0xFFFFFFFFu);
    if (haveKumo && k < kumo->height()) {
      const auto* src = reinterpret_cast<const uint32_t*>(kumo->constScanLine(k));
      const int count = std::min(W, kumo->width() - column);
      for (int x = 0; x < count; ++x) row[x] = 0xFF000000u | src[column + x];
    }
  };
  const Canvas cv = Canvas::Of(panorama);
  for (int k = 1; k <= n; ++k) {
    const int alpha = std::min(255, TruncInt(k * 255.0 / n));
    for (int r = k; r <= k + 1; ++r) {
      const int y = ytop + r;
      if (y < 0 || y >= H || r >= bandRows) continue;
      bandRow(r);
      uint32_t* dst = cv.row(y);
      for (int x = 0; x < W; ++x) dst[x] = Blend(row[x], dst[x], alpha);
    }
  }
  for (int r = std::max(n, -ytop); r < bandRows; ++r) {
    const int y = ytop + r;
    if (y >= H) break;
    if (y < 0) continue;
    bandRow(r);
    std::copy(row.begin(), row.end(), cv.row(y));
  }
}

}  // namespace

SkyColours ChooseSky(EventOverlayMode mode, float A, float Z) {
  switch (mode) {
    case EventOverlayMode::kNone:
      return {kDayTop, kDayBottom, 1.0f};
    case EventOverlayMode::kSunPath:
      return {kEveningTop, kEveningBottom, 1.0f};
    case EventOverlayMode::kMoonPath:
      break;
  }
  if (A > 20) return {kDayTop, kDayBottom, 1.0f};
  if (A > 0) {
    const float N = A / 20, O = 1 - N;
    const bool west = Z > 180;
    return {Mix(N, kDayTop, O, west ? kEveningTop : kMorningTop),
            Mix(N, kDayBottom, O, west ? kEveningBottom : kMorningBottom), N + 0.4f * O};
  }
  if (A >= -10) {
    const float N = (A + 10) / 10, O = 1 - N;
    return {Mix(N, kEveningTop, O, kNightTop), Mix(N, kEveningBottom, O, kNightBottom),
            0.4f * N + 0.2f * O};
  }
  if (Z > 180) return {kNightTop, kNightBottom, 0.6f};
  return {kMorningTop, kMorningBottom, 0.6f};
}

Quadrant ViewingQuadrant(double az) {
  if (az >= 315 || az < 45) return Quadrant::kNorth;
  if (az < 135) return Quadrant::kEast;
  if (az < 225) return Quadrant::kSouth;
  return Quadrant::kWest;
}

std::vector<ScaleTick> AzimuthScaleTicks(const PanoramaFrame& f, ScaleRounding rounding) {
  int a0, span;
  if (rounding == ScaleRounding::kTruncate) {
    a0 = TruncInt(f.leftAzimuth);
    const int a1 = TruncInt(f.rightAzimuth);
    span = a1 - a0 + 1;
    if (span < 0) span += 360;
  } else {
    a0 = NearestInt(f.leftAzimuth);
    const int a1 = NearestInt(f.rightAzimuth);
    span = a1 - a0;
    if (span < 0) span += 360;
    if (a0 < 0) a0 += 360;
  }
  const bool everyDegree = span <= 30;
  std::vector<ScaleTick> ticks;
  for (int k = 0; k <= span; ++k) {
    int az = a0 + k;
    if (az > 359) az -= 360;
    const int x = TruncInt(RelativeAzimuth(az, f.summitAzimuth) * f.ppd + f.Xc);
    const bool major = az % 5 == 0;
    ticks.push_back({az, x, major, everyDegree || major});
  }
  return ticks;
}

void DrawAzimuthScale(QImage& panorama, const PanoramaFrame& f, ScaleRounding rounding) {
  const Canvas cv = Canvas::Of(panorama);
  FillRect(cv, 0, f.H - 30, f.W, f.H, 0xFFFFFFFFu);
  QPainter p(&panorama);
  p.setFont(DrawingFont(12));
  p.setPen(Qt::black);
  const QFontMetrics fm(p.font());
  for (const ScaleTick& t : AzimuthScaleTicks(f, rounding)) {
    DrawLineNoEnd(cv, t.x, f.H - 20, t.x, t.major ? f.H - 30 : f.H - 26, 0xFF000000u);
    if (!t.numbered) continue;
    const QString s = QString::number(t.azimuth);
    p.drawText(t.x - TruncInt(fm.horizontalAdvance(s) / 2.0), f.H - 18 + fm.ascent(), s);
  }
}

namespace {

std::string CoordinatesLine(const Viewpoint& v) {
  return "緯度= " + Utf8Substr(FormatGeneral(v.latitude), 0, 9) +
         "  / 経度= " + Utf8Substr(FormatGeneral(v.longitude), 0, 10) +
         "  / 標高= " + FormatGeneral(v.elevation) + "m";
}
std::string DistanceLine(const SummitSight& s) {
  return "Zorv山までの距離= " + std::to_string(NearestInt(s.summitDistanceKm)) +
         "Km / 方位= " + FormatDecimals(1, s.summitAzimuth) + " 度";
}
bool LongRemark(const Viewpoint& v) {
  return Utf8Length(v.remark) > 5;
}

}  // namespace

std::vector<std::string> InformationLines(const Viewpoint& v, const SummitSight& sight,
                                          int focalLength) {
  std::vector<std::string> lines;
  lines.push_back(v.name + "   (" + v.reading + ")");
  if (LongRemark(v)) lines.push_back("( " + v.remark + " )");
  lines.push_back(CoordinatesLine(v));
  lines.push_back(DistanceLine(sight));
  lines.push_back("（参考）レンズ焦点距離= " + std::to_string(focalLength) + "mm");
  return lines;
}

std::string InformationLabel(const Viewpoint& v, const SummitSight& sight) {
  std::string s = "( " + v.reading + " )" + "\r\n";
  if (LongRemark(v)) s += "( " + v.remark + " )";
  s += "\r\n" + CoordinatesLine(v) + "\r\n" + DistanceLine(sight);
  return s;
}

PanoramaResult RedrawPanorama(const PanoramaInputs& in, QImage recycled) {
  PanoramaResult out;
  const Viewpoint& vp = in.viewpoint;
  const Observer obs = vp.observer();
  const EventOverlayMode mode = in.mode;
  static const SummitGrid kNoGrid;
  const SummitGrid& grid = in.grid ? *in.grid : kNoGrid;

  out.sight = ComputeSummitSight(obs);
  const SummitSight& sight = out.sight;

  // Project the grid, then the four edge midpoints and the spot heights.
  GridProjection proj = ProjectGrid(grid, obs, sight);
  const int rc = grid.referenceRow(), cc = grid.referenceCol();
  SightLine line;
  line.elevationAngle = sight.e2600;
  out.edgeTop = -100;
  if (grid.rows() >= 3 && grid.cols() >= 3) {
    const int edges[4][2] = {{1, cc}, {rc, grid.cols() - 2}, {grid.rows() - 2, cc}, {rc, 1}};
    for (const auto& e : edges) {
      float az, el;
      ProjectPoint(obs, sight, grid.latitude(e[0]), grid.longitude(e[1]),
                   static_cast<float>(grid.height(e[0], e[1])), line, az, el);
      out.edgeTop = std::max(out.edgeTop, el);
    }
    for (const SpotHeight& s : kSpotHeights) {
      const int r = grid.RowOf(s.latitude), c = grid.ColOf(s.longitude);
      float az, el;
      ProjectPoint(obs, sight, s.latitude, s.longitude, s.height, line, az, el);
      if (r >= 1 && r <= grid.rows() - 2 && c >= 1 && c <= grid.cols() - 2) {
        proj.relAz[proj.At(r, c)] = az;
        proj.relEl[proj.At(r, c)] = el;
      }
    }
  }

  float sunAltitude = 90, sunAzimuth = 0;
  if (mode == EventOverlayMode::kMoonPath) {
    const BodyPosition sun = ComputeSunPosition(AstroTimeFromDateTime(in.pearlInstant), obs);
    sunAltitude = sun.apparentAltitude;
    sunAzimuth = sun.azimuth;
  }

  const int drawSize = std::clamp(in.drawSize, 0, static_cast<int>(kDrawSizeZoom.size()) - 1);
  out.frame =
      ComputeFrame(in.clientWidth, in.clientHeight, kDrawSizeZoom[drawSize], sight, proj.extremes);
  PanoramaFrame& f = out.frame;
  out.edit9 = FormatGeneral(f.highestElevation);
  out.quadrant = ViewingQuadrant(sight.summitAzimuth);
  if (f.W <= 0 || f.H <= 0) return out;
  // The sky's two triangles cover every pixel, so the image needs no clearing first.
  if (recycled.width() == f.W && recycled.height() == f.H &&
      recycled.format() == QImage::Format_RGB32) {
    out.panorama = std::move(recycled);
  } else {
    out.panorama = QImage(f.W, f.H, QImage::Format_RGB32);
  }
  const Canvas cv = Canvas::Of(out.panorama);

  out.sky = ChooseSky(mode, sunAltitude, sunAzimuth);
  const float b = out.sky.brightness;
  FillShadedTriangle(cv, {0, 0, out.sky.top}, {f.W, 0, out.sky.top}, {0, f.H, out.sky.bottom});
  FillShadedTriangle(cv, {f.W, 0, out.sky.top}, {f.W, f.H, out.sky.bottom},
                     {0, f.H, out.sky.bottom});

  const bool dim = mode == EventOverlayMode::kMoonPath && b < 1;
  const std::vector<Rgb> colour = ColourSummitGrid(grid, dim, b);
  DrawMountain(cv, grid, proj, f, out.quadrant, colour, mode == EventOverlayMode::kSunPath);

  // The cloud band's column: uniform over the picture's columns that leave a full band width.
  const int kumoWidth = in.kumo && !in.kumo->isNull() ? in.kumo->width() : 0;
  out.cloudColumn = 0;
  if (kumoWidth > f.W) {
    std::mt19937 rng(in.cloudSeed);
    out.cloudColumn = std::uniform_int_distribution<int>(0, kumoWidth - f.W - 1)(rng);
  }
  std::optional<Rgb> bandFill;
  if (mode == EventOverlayMode::kSunPath) {
    bandFill = Rgb{128, 128, 128};
  } else if (b < 0.7f) {
    const auto g = static_cast<uint8_t>(TruncInt(192 * b));
    bandFill = Rgb{g, g, g};
  }
  DrawCloudBand(out.panorama, f, in.kumo, out.cloudColumn, bandFill, out.edgeTop);

  out.detailedStyleGroupVisible = in.foreground;
  if (in.foreground) {
    const LabelList all = in.mountains ? BuildLabelList(*in.mountains, obs, sight, f) : LabelList{};
    out.foregroundDetail =
        DrawSimpleForeground(out.panorama, all, vp, sight, f, mode, b, in.markerOffset);
    out.labels = out.foregroundDetail.labels;
    out.hmax = out.foregroundDetail.hmax;
  }

  DrawAzimuthScale(out.panorama, f, ScaleRounding::kTruncate);
  out.detailedArea = InDetailedArea(vp.latitude, vp.longitude);
  out.upDownPosition = std::clamp(f.focalLength, 10, 1000);

  const bool none = mode == EventOverlayMode::kNone;
  out.buttons.button10 = none;
  out.buttons.button9 = none;
  out.buttons.button11 = !none;
  out.buttons.button4 = !none;
  if (mode == EventOverlayMode::kNone) {
    out.buttons.button45 = true;
    out.buttons.button46 = false;
  } else if (mode == EventOverlayMode::kMoonPath) {
    out.buttons.button45 = false;
    out.buttons.button46 = true;
  }

  out.informationLines = InformationLines(vp, sight, f.focalLength);
  out.informationLabel = InformationLabel(vp, sight);
  {
    QPainter p(&out.panorama);
    p.setFont(DrawingFont(15));
    p.setPen(Qt::white);
    const QFontMetrics fm(p.font());
    for (size_t k = 0; k < out.informationLines.size(); ++k)
      p.drawText(15, 35 + 22 * static_cast<int>(k) + fm.ascent(),
                 ToQString(out.informationLines[k]));
  }
  out.lens = RefreshLensPreview(out.panorama, f, out.upDownPosition);
  return out;
}

}  // namespace velkaro
