#include "render/terrain_view.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "core/constants.h"
#include "core/datum.h"
#include "core/numeric.h"
#include "render/panorama.h"
#include "terrain/mesh_code.h"
#include "terrain/tiles_in_view.h"

namespace velkaro {

namespace {

constexpr double kDLat = 1.0 / 2400;
constexpr double kDLon = 1.0 / 1600;
constexpr int kSide = kMeshTileSide;  // 202
constexpr int kCells = kSide - 1;     // 201
constexpr uint32_t kRed = 0xFFFF0000u;

uint8_t Clamp8(double v) {
  return static_cast<uint8_t>(std::clamp(NearestInt(v), 0, 255));
}

// The working grids of one tile, indexed [r][s] with r, s = 0..202.
struct TileWork {
  static constexpr int kN = kSide + 1;
  std::vector<int16_t> h = std::vector<int16_t>(kN * kN, -1);
  std::vector<uint8_t> k = std::vector<uint8_t>(kN * kN, 0);
  std::vector<float> d = std::vector<float>(kN * kN, 0);
  std::vector<ShadedVertex> v = std::vector<ShadedVertex>(kN * kN);
  std::vector<uint8_t> f = std::vector<uint8_t>(kN * kN, 1);
  std::vector<uint16_t> m = std::vector<uint16_t>(kN * kN, 0);
  static int At(int r, int s) { return r * kN + s; }
};

// Runs job(part, parts) on `parts` threads (the calling thread being one of them) and waits.
void RunParts(int parts, const std::function<void(int, int)>& job) {
  parts = std::max(1, parts);
  std::vector<std::jthread> others;
  for (int p = 1; p < parts; ++p) others.emplace_back([&, p] { job(p, parts); });
  job(0, parts);
}

void DrawTerrainCell(const Canvas& cv, DrawingStyle style, const TileWork& w, int r, int s) {
  const ShadedVertex& a = w.v[TileWork::At(r, s)];
  const ShadedVertex& b = w.v[TileWork::At(r, s + 1)];
  const ShadedVertex& c = w.v[TileWork::At(r + 1, s + 1)];
  const ShadedVertex& e = w.v[TileWork::At(r + 1, s)];
  if (w.f[TileWork::At(r, s)] == 1) {
    if (w.d[TileWork::At(r, s + 1)] > w.d[TileWork::At(r + 1, s)]) {
      FillTerrainTriangle(cv, style, a, b, c);
      FillTerrainTriangle(cv, style, a, c, e);
    } else {
      FillTerrainTriangle(cv, style, a, c, e);
      FillTerrainTriangle(cv, style, a, b, c);
    }
  } else {
    if (w.d[TileWork::At(r, s)] > w.d[TileWork::At(r + 1, s + 1)]) {
      FillTerrainTriangle(cv, style, a, b, e);
      FillTerrainTriangle(cv, style, e, b, c);
    } else {
      FillTerrainTriangle(cv, style, e, b, c);
      FillTerrainTriangle(cv, style, a, b, e);
    }
  }
}

void SetMarker(const Canvas& cv, const LabelList& labels, int n) {
  const LabelEntry& l = labels[static_cast<size_t>(n - 1)];
  cv.set(l.x, l.y - 1, kRed);
}

}  // namespace

Rgb TerrainSampleColour(const TerrainContext& ctx, double d, int h, int k, int sigma) {
  const double ds = ctx.sight.summitDistanceKm;
  const bool sun = ctx.mode == EventOverlayMode::kSunPath;
  if (ctx.style == DrawingStyle::kInk) {
    if (k == 5) return {121, 150, 180};
    const double t = std::min(d / ds, 1.0);
    const double hr = std::min(h / static_cast<double>(ctx.hmax), 1.0);
    const double v = 0.3 * hr + 0.7 * (1 - t);
    double g = Nearest((1 - v) * 255);
    if (sun) g = Nearest(g * 0.6);
    const uint8_t c = Clamp8(g);
    return {c, c, c};
  }
  double ch[3];
  if (sun) {
    const double t = std::min(std::sqrt(d / ds), 1.0), f = 0.7 * t + 0.3;
    ch[0] = Nearest((64 + sigma) * f);
    ch[1] = ch[2] = Nearest((48 + sigma) * f);
  } else {
    const double nearC[3] = {15, 48, 32}, mid[3] = {60, 96, 96}, far[3] = {120, 155, 190};
    const double beta = (k == 1 || k == 2) ? 40 : 0;
    if (d > ds / 2) {
      const double t = std::min((d - ds / 2) / (ds - ds / 2), 1.0);
      for (int c = 0; c < 3; ++c) ch[c] = Nearest(far[c] * t + mid[c] * (1 - t) + beta + sigma);
    } else {
      const double t = std::max(d / (ds / 2), 0.0);
      for (int c = 0; c < 3; ++c) ch[c] = Nearest(mid[c] * t + nearC[c] * (1 - t) + beta + sigma);
    }
    if (k == 3 || k == 4) ch[0] = 140, ch[1] = 150, ch[2] = 150;
    if (ctx.style == DrawingStyle::kWatercolour)
      for (double& c : ch) c += 100;
  }
  if (ctx.mode == EventOverlayMode::kMoonPath && ctx.brightness < 1)
    for (double& c : ch) c = Nearest(c * ctx.brightness);
  Rgb out{Clamp8(ch[0]), Clamp8(ch[1]), Clamp8(ch[2])};
  const bool dark = ctx.brightness <= 0.8f;
  if (h < 0) out = dark ? Rgb{0, 40, 60} : kTerrainSkyColour;
  if (k == 5) out = dark ? Rgb{50, 80, 120} : kTerrainSkyColour;
  if (k == 8) out = {192, 192, 192};
  return out;
}

void FillTerrainTriangle(const Canvas& cv, DrawingStyle style, const ShadedVertex& v1,
                         const ShadedVertex& v2, const ShadedVertex& v3) {
  const bool water = style == DrawingStyle::kWatercolour;
  if (SignedArea2(v1.x, v1.y, v2.x, v2.y, v3.x, v3.y) >= 0) {
    if (!water) {
      FillShadedTriangle(cv, v1, v2, v3);
      return;
    }
    ShadedVertex a = v1, b = v2, c = v3;
    ++a.y, ++b.y, ++c.y;
    FillShadedTriangle(cv, a, b, c);
  } else if (water) {
    DrawLineNoEnd(cv, v1.x, v1.y, v2.x, v2.y, 0xFF000000u);
    DrawLineNoEnd(cv, v2.x, v2.y, v3.x, v3.y, 0xFF000000u);
  }
}

void ForEachTerrainCell(double as, int vr, int vc, const std::function<void(int, int)>& cell) {
  bool rowsOuter, rowsDown, colsDown;  // "down": 201 -> 1
  if (as < 45) {
    rowsOuter = true, rowsDown = false, colsDown = true;
  } else if (as < 90) {
    rowsOuter = false, rowsDown = false, colsDown = true;
  } else if (as < 135) {
    rowsOuter = false, rowsDown = true, colsDown = true;
  } else if (as < 180) {
    rowsOuter = true, rowsDown = true, colsDown = true;
  } else if (as < 225) {
    rowsOuter = true, rowsDown = true, colsDown = false;
  } else if (as < 270) {
    rowsOuter = false, rowsDown = true, colsDown = false;
  } else if (as < 315) {
    rowsOuter = false, rowsDown = false, colsDown = false;
  } else {
    rowsOuter = true, rowsDown = false, colsDown = false;
  }
  // The inner loop: plain, or from both far ends towards the viewpoint's index.
  auto inner = [&](bool down, int split, const std::function<void(int)>& visit) {
    if (split >= 1 && split <= kCells) {
      for (int q = 1; q < split; ++q) visit(q);
      for (int q = kCells; q >= split; --q) visit(q);
    } else if (down) {
      for (int q = kCells; q >= 1; --q) visit(q);
    } else {
      for (int q = 1; q <= kCells; ++q) visit(q);
    }
  };
  auto outer = [&](bool down, const std::function<void(int)>& visit) {
    if (down) {
      for (int q = kCells; q >= 1; --q) visit(q);
    } else {
      for (int q = 1; q <= kCells; ++q) visit(q);
    }
  };
  if (rowsOuter) {
    outer(rowsDown, [&](int r) { inner(colsDown, vc, [&](int s) { cell(r, s); }); });
  } else {
    outer(colsDown, [&](int s) { inner(rowsDown, vr, [&](int r) { cell(r, s); }); });
  }
}

namespace {

void RenderTileInto(const Canvas& cv, const TerrainContext& ctx, const std::string& code,
                    const MeshTile& tile, const LabelList& labels, TileWork& w) {
  const MeshCorner corner = MeshTileCorner(code);
  if (!corner.valid) return;
  const WorldLatLon sw =
      TokyoMinutesToWorld((corner.latitude - 20) * 60, (corner.longitude - 120) * 60);
  const double phi1 = static_cast<double>(sw.latitude) + kDLat / 2;
  const double lam1 = static_cast<double>(sw.longitude) + kDLon / 2;
  const Viewpoint& vp = ctx.viewpoint;
  const int vr = NearestInt(200 - (vp.latitude - phi1) / kDLat);
  const int vc = NearestInt((vp.longitude - lam1) / kDLon + 1);
  const PanoramaFrame& f = ctx.frame;
  const double ppd = f.savedPpd;
  const Observer obs = vp.observer();

  for (int r = 1; r <= kSide; ++r)
    for (int s = 1; s <= kSide; ++s) {
      const MeshSample m = DecodeMeshSample(tile.sample(r, s));
      w.h[TileWork::At(r, s)] = static_cast<int16_t>(m.height < 0 ? -1 : m.height);
      w.k[TileWork::At(r, s)] = static_cast<uint8_t>(m.surfaceClass);
    }

  // Projection and colour of every sample, rows shared out between the threads.
  RunParts(ctx.threads, [&](int part, int parts) {
    SightLine line;
    line.elevationAngle = ctx.sight.e2600;
    for (int r = 1 + part; r <= kSide; r += parts) {
      for (int s = 1; s <= kSide; ++s) {
        const int i = TileWork::At(r, s);
        line.targetLatitude = phi1 + (200 - r) * kDLat;
        line.targetLongitude = lam1 + (s - 1) * kDLon;
        line.targetHeight = w.h[i];
        ComputeSightLine(obs, line);
        const double rel = RelativeAzimuth(line.azimuth, ctx.sight.summitAzimuth);
        w.d[i] = static_cast<float>(line.distanceKm);
        int x = NearestInt(rel * ppd + f.Xc);
        int y = TruncInt(f.Yc - (line.elevationAngle - ctx.sight.e2600) * ppd);
        x = std::clamp(x, -500, f.W + 500);
        y = std::clamp(y, -500, f.H + 500);
        if (line.distanceKm < 0.1 || std::abs(rel) > 90) y = f.H + 50;
        const int below = r == kSide ? TileWork::At(kSide - 1, s) : i;
        const int lower = r == kSide ? TileWork::At(kSide, s) : TileWork::At(r + 1, s);
        const int sigma = std::clamp(w.h[below] - w.h[lower], -50, 50);
        w.v[i] = {x, y, TerrainSampleColour(ctx, line.distanceKm, w.h[i], w.k[i], sigma)};
      }
    }
  });

  // Label peaks: the sample under each label takes the label's own screen point.
  std::fill(w.m.begin(), w.m.end(), 0);
  for (size_t n = 0; n < labels.size(); ++n) {
    const LabelEntry& l = labels[n];
    if (!(l.latitude >= phi1 && l.latitude < phi1 + 1.0 / 12 && l.longitude >= lam1 &&
          l.longitude < lam1 + 0.125))
      continue;
    const int row = NearestInt(200 - (l.latitude - phi1) / kDLat);
    const int col = NearestInt((l.longitude - lam1) / kDLon + 1);
    if (row < 1 || col < 1 || row > kSide || col > kSide) continue;
    const int i = TileWork::At(row, col);
    w.v[i].x = l.x;
    w.v[i].y = l.y;
    w.m[i] = static_cast<uint16_t>(n + 1);
  }

  // Each cell is split along its flatter diagonal.
  for (int r = 1; r <= kCells; ++r)
    for (int s = 1; s <= kCells; ++s) {
      uint8_t flag = 1;
      if (r != kCells && s != kCells) {
        auto H = [&](int rr, int ss) { return static_cast<double>(w.h[TileWork::At(rr, ss)]); };
        const double b1 = std::abs((H(r, s) + H(r + 2, s + 2)) / 2 - H(r + 1, s + 1));
        if (s >= 2) {
          const double b2 = std::abs((H(r, s + 1) + H(r + 2, s - 1)) / 2 - H(r + 1, s));
          flag = b1 < b2 ? 1 : 2;
        } else {
          flag = b1 < 10 ? 1 : 2;
        }
      }
      w.f[TileWork::At(r, s)] = flag;
    }

  // Rows of the image where this tile's vertices lie, shared out as bands: every thread draws
  // every cell in the same order, clipped to its band, so the painter's order holds exactly.
  int yMin = f.H, yMax = 0;
  for (int r = 1; r <= kSide; ++r)
    for (int s = 1; s <= kSide; ++s) {
      const int y = w.v[TileWork::At(r, s)].y;
      yMin = std::min(yMin, y);
      yMax = std::max(yMax, y);
    }
  yMin = std::clamp(yMin, cv.clipTop, cv.clipBottom);
  yMax = std::clamp(yMax + 2, cv.clipTop, cv.clipBottom);
  if (yMin >= yMax) return;
  RunParts(ctx.threads, [&](int part, int parts) {
    const int span = yMax - yMin;
    const int top = part == 0 ? cv.clipTop : yMin + span * part / parts;
    const int bottom = part == parts - 1 ? cv.clipBottom : yMin + span * (part + 1) / parts;
    const Canvas band = cv.Band(top, bottom);
    ForEachTerrainCell(ctx.sight.summitAzimuth, vr, vc, [&](int r, int s) {
      DrawTerrainCell(band, ctx.style, w, r, s);
      if (const int n = w.m[TileWork::At(r, s)]) SetMarker(band, labels, n);
      if (r > 1 && s > 1) {
        for (const int i : {TileWork::At(r + 1, s + 1), TileWork::At(r + 1, s - 1),
                            TileWork::At(r - 1, s + 1), TileWork::At(r - 1, s - 1)})
          if (w.m[i]) SetMarker(band, labels, w.m[i]);
      }
    });
  });
}

}  // namespace

void RenderTile(const Canvas& canvas, const TerrainContext& ctx, const std::string& code,
                const MeshTile& tile, const LabelList& labels) {
  TileWork work;
  RenderTileInto(canvas, ctx, code, tile, labels, work);
}

TerrainResult RenderTerrainPanorama(QImage& panorama, const TerrainContext& ctxIn,
                                    const std::vector<MountainLabel>& mountains,
                                    const std::string& meshFolder, const TileProgress& progress,
                                    std::optional<int> lensFocal) {
  TerrainResult out;
  TerrainContext ctx = ctxIn;
  PanoramaFrame& f = ctx.frame;
  f.ppd = f.savedPpd;
  const Observer obs = ctx.viewpoint.observer();
  const LabelList labels = BuildLabelList(mountains, obs, ctx.sight, f);
  ViewFrame vf;
  vf.summitAzimuth = ctx.sight.summitAzimuth;
  vf.summitDistanceKm = ctx.sight.summitDistanceKm;
  vf.leftAzimuth = f.leftAzimuth;
  vf.rightAzimuth = f.rightAzimuth;
  const TileList tiles = SelectTilesInView(obs, vf);

  if (panorama.isNull()) return out;
  const Canvas cv = Canvas::Of(panorama);
  SightLine base;
  base.targetLatitude = SummitReference.latitude;
  base.targetLongitude = SummitReference.longitude;
  base.targetHeight = 0;
  base.elevationAngle = ctx.sight.e2600;
  ComputeSightLine(obs, base);
  const int y0 = NearestInt(f.Yc - (base.elevationAngle - ctx.sight.e2600) * f.ppd);
  FillRect(cv, 0, y0, f.W, f.H, PackRgb(kTerrainSkyColour));

  TileWork work;
  const int n = static_cast<int>(tiles.size());
  for (int i = 0; i < n; ++i) {
    if (progress) progress(i + 1, n);
    const MeshTile tile = LoadMeshTile(meshFolder, tiles[static_cast<size_t>(i)].code);
    RenderTileInto(cv, ctx, tiles[static_cast<size_t>(i)].code, tile, labels, work);
    out.tiles.push_back(tiles[static_cast<size_t>(i)].code);
  }
  out.tilesDrawn = n;

  for (const LabelEntry& l : labels) {
    if (!cv.contains(l.x, l.y - 1) || cv.row(l.y - 1)[l.x] != kRed) continue;
    if (cv.contains(l.x, l.y - 2)) cv.row(l.y - 1)[l.x] = cv.row(l.y - 2)[l.x];
    out.labels.push_back(l);
  }

  DrawAzimuthScale(panorama, f, ScaleRounding::kNearest);
  out.lens = RefreshLensPreview(panorama, f, lensFocal);
  return out;
}

QImage DrawProgressBar(int i, int n) {
  constexpr int kWidth = 164, kHeight = 16;
  QImage bar(kWidth, kHeight, QImage::Format_RGB32);
  bar.fill(Qt::white);
  const int w = n > 0 ? TruncInt(static_cast<double>(i) / n * kWidth) : 0;
  FillRect(Canvas::Of(bar), 0, 0, std::clamp(w, 0, kWidth), kHeight, 0xFF0000FFu);
  return bar;
}

DetailedViewOutcome DrawDetailedView(bool& busy, bool drawingSuppressed, QImage& panorama,
                                     const TerrainContext& ctx,
                                     const std::vector<MountainLabel>& mountains,
                                     const std::string& meshFolder, const TileProgress& progress,
                                     bool sunShown, bool moonShown, std::optional<int> lensFocal) {
  DetailedViewOutcome o;
  if (busy || drawingSuppressed) return o;
  busy = true;
  o.result = RenderTerrainPanorama(panorama, ctx, mountains, meshFolder, progress, lensFocal);
  busy = false;
  o.drawn = true;
  o.enableDetailedButtons = true;
  o.presentations = (sunShown ? 1 : 0) + (moonShown ? 1 : 0);
  o.beep = true;
  o.labelState = LabelDisplayState::kOff;
  return o;
}

}  // namespace velkaro
