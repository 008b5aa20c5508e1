#include "render/raster.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace velkaro {

Canvas Canvas::Of(QImage& image) {
  Canvas c;
  c.bits = reinterpret_cast<uint32_t*>(image.bits());
  c.width = image.width();
  c.height = image.height();
  c.stride = static_cast<int>(image.bytesPerLine() / 4);
  c.clipTop = 0;
  c.clipBottom = image.height();
  return c;
}

Canvas Canvas::Band(int top, int bottom) const {
  Canvas c = *this;
  c.clipTop = std::max(clipTop, top);
  c.clipBottom = std::min(clipBottom, bottom);
  return c;
}

namespace {

// An edge with its end points ordered by y (then x), so that the two triangles sharing it compute
// exactly the same crossings.
struct Edge {
  int64_t x0, y0, x1, y1;
  Edge(int ax, int ay, int bx, int by) {
    if (ay > by || (ay == by && ax > bx)) {
      std::swap(ax, bx);
      std::swap(ay, by);
    }
    x0 = ax;
    y0 = ay;
    x1 = bx;
    y1 = by;
  }
  // The first pixel column whose centre lies at or right of the edge on row py:
  // ceil(x(py + 0.5) - 0.5), exactly, in integers.
  int FirstColumn(int py) const {
    const int64_t dy = y1 - y0;
    const int64_t den = 2 * dy;
    const int64_t num = 2 * x0 * dy + (x1 - x0) * (2 * int64_t{py} + 1 - 2 * y0) - dy;
    // ceil division with a positive denominator
    int64_t q = num / den;
    if (num % den != 0 && num > 0) ++q;
    return static_cast<int>(q);
  }
};

constexpr int32_t kChannelMax = (255 << 16) | 0xFFFF;

inline int32_t ToFixed(double v) {
  const double f = v * 65536.0;
  if (f <= 0) return 0;
  if (f >= kChannelMax) return kChannelMax;
  return static_cast<int32_t>(f);
}

// One channel's plane over the screen.
struct Plane {
  double c0, dx, dy;
  double At(double x, double y) const { return c0 + dx * x + dy * y; }
};

Plane MakePlane(const ShadedVertex& a, const ShadedVertex& b, const ShadedVertex& c, int64_t s,
                uint8_t Rgb::*ch) {
  const double ca = a.colour.*ch, cb = b.colour.*ch, cc = c.colour.*ch;
  const double inv = 1.0 / static_cast<double>(s);
  const double dx = ((cb - ca) * (c.y - a.y) - (cc - ca) * (b.y - a.y)) * inv;
  const double dy = ((b.x - a.x) * (cc - ca) - (c.x - a.x) * (cb - ca)) * inv;
  return {ca - dx * a.x - dy * a.y, dx, dy};
}

}  // namespace

void FillShadedTriangle(const Canvas& cv, const ShadedVertex& v1, const ShadedVertex& v2,
                        const ShadedVertex& v3) {
  const int64_t s = SignedArea2(v1.x, v1.y, v2.x, v2.y, v3.x, v3.y);
  if (s <= 0) return;  // culled, or no area to cover
  const ShadedVertex* t = &v1;
  const ShadedVertex* m = &v2;
  const ShadedVertex* b = &v3;
  if (m->y < t->y) std::swap(m, t);
  if (b->y < t->y) std::swap(b, t);
  if (b->y < m->y) std::swap(b, m);
  const int yFirst = std::max(t->y, cv.clipTop);
  const int yEnd = std::min(b->y, cv.clipBottom);
  if (yFirst >= yEnd) return;

  const Plane pr = MakePlane(v1, v2, v3, s, &Rgb::r);
  const Plane pg = MakePlane(v1, v2, v3, s, &Rgb::g);
  const Plane pb = MakePlane(v1, v2, v3, s, &Rgb::b);
  const Edge longEdge(t->x, t->y, b->x, b->y);
  const Edge upper(t->x, t->y, m->x, m->y);
  const Edge lower(m->x, m->y, b->x, b->y);

  for (int py = yFirst; py < yEnd; ++py) {
    const int xa = longEdge.FirstColumn(py);
    const int xb = (py < m->y ? upper : lower).FirstColumn(py);
    int x0 = std::min(xa, xb);
    int x1 = std::max(xa, xb);
    x0 = std::max(x0, 0);
    x1 = std::min(x1, cv.width);
    const int n = x1 - x0;
    if (n <= 0) continue;
    const double yc = py + 0.5;
    const double xs = x0 + 0.5;
    const double xe = x1 - 0.5;
    int32_t r = ToFixed(pr.At(xs, yc));
    int32_t g = ToFixed(pg.At(xs, yc));
    int32_t bl = ToFixed(pb.At(xs, yc));
    int32_t dr = 0, dg = 0, db = 0;
    if (n > 1) {
      // Steps from the clamped ends keep every pixel of the span inside 0..255.
      dr = (ToFixed(pr.At(xe, yc)) - r) / (n - 1);
      dg = (ToFixed(pg.At(xe, yc)) - g) / (n - 1);
      db = (ToFixed(pb.At(xe, yc)) - bl) / (n - 1);
    }
    uint32_t* p = cv.row(py) + x0;
    for (int i = 0; i < n; ++i) {
      p[i] = 0xFF000000u | (static_cast<uint32_t>(r) & 0xFF0000u) |
             ((static_cast<uint32_t>(g) >> 8) & 0xFF00u) | (static_cast<uint32_t>(bl) >> 16);
      r += dr;
      g += dg;
      bl += db;
    }
  }
}

void DrawLineNoEnd(const Canvas& cv, int x1, int y1, int x2, int y2, uint32_t colour) {
  const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
  const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  while (x != x2 || y != y2) {
    cv.set(x, y, colour);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void FillRect(const Canvas& cv, int x1, int y1, int x2, int y2, uint32_t colour) {
  x1 = std::max(x1, 0);
  x2 = std::min(x2, cv.width);
  y1 = std::max(y1, cv.clipTop);
  y2 = std::min(y2, cv.clipBottom);
  for (int y = y1; y < y2; ++y) std::fill(cv.row(y) + x1, cv.row(y) + x2, colour);
}

}  // namespace velkaro
