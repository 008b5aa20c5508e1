#include "render/raster.h"

#include <algorithm>
#include <cmath>
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
// exactly the same crossings. On row py it gives the first pixel column whose centre lies at or
// right of the edge, ceil(x(py + 0.5) - 0.5), in exact integers, walking down row by row.
class EdgeWalker {
 public:
  EdgeWalker(int ax, int ay, int bx, int by, int firstRow) {
    if (ay > by || (ay == by && ax > bx)) {
      std::swap(ax, bx);
      std::swap(ay, by);
    }
    const int64_t dy = int64_t{by} - ay, dx = int64_t{bx} - ax;
    den_ = 2 * dy;
    if (den_ == 0) return;  // horizontal: never asked for a column
    // numerator of x - 0.5 on row py: 2·ax·dy + dx·(2·py + 1 − 2·ay) − dy
    const int64_t num =
        2 * int64_t{ax} * dy + dx * (2 * int64_t{firstRow} + 1 - 2 * int64_t{ay}) - dy;
    FloorDiv(num, q_, r_);
    FloorDiv(2 * dx, stepQ_, stepR_);
  }
  int Column() const { return static_cast<int>(q_ + (r_ > 0 ? 1 : 0)); }
  void Next() {
    q_ += stepQ_;
    r_ += stepR_;
    if (r_ >= den_) {
      r_ -= den_;
      ++q_;
    }
  }

 private:
  void FloorDiv(int64_t n, int64_t& q, int64_t& r) const {
    q = n / den_;
    r = n % den_;
    if (r < 0) {
      r += den_;
      --q;
    }
  }
  int64_t den_ = 0, q_ = 0, r_ = 0, stepQ_ = 0, stepR_ = 0;
};

constexpr int32_t kChannelMax = (255 << 16) | 0xFFFF;

inline int32_t ToFixed(double v) {
  const double f = v * 65536.0;
  if (f <= 0) return 0;
  if (f >= kChannelMax) return kChannelMax;
  return static_cast<int32_t>(f);
}

// One channel's plane over the screen, and its step along a row in 16.16 fixed point.
struct Plane {
  double c0 = 0, dx = 0, dy = 0;
  int32_t step = 0;
  double At(double x, double y) const { return c0 + dx * x + dy * y; }
};

Plane MakePlane(const ShadedVertex& a, const ShadedVertex& b, const ShadedVertex& c, double inv,
                uint8_t Rgb::*ch) {
  const double ca = a.colour.*ch, cb = b.colour.*ch, cc = c.colour.*ch;
  Plane p;
  p.dx = ((cb - ca) * (c.y - a.y) - (cc - ca) * (b.y - a.y)) * inv;
  p.dy = ((b.x - a.x) * (cc - ca) - (c.x - a.x) * (cb - ca)) * inv;
  p.c0 = ca - p.dx * a.x - p.dy * a.y;
  p.step = static_cast<int32_t>(std::lround(p.dx * 65536.0));
  return p;
}

// Start value and step of one span: the plane's own step, unless rounding would carry the span's
// last pixel outside 0..255 (then the step is taken between the clamped ends).
inline void SpanChannel(const Plane& p, double xs, double xe, double yc, int n, int32_t& start,
                        int32_t& step) {
  start = ToFixed(p.At(xs, yc));
  step = p.step;
  if (n > 1) {
    const int64_t last = start + int64_t{step} * (n - 1);
    if (last < 0 || last > kChannelMax) step = (ToFixed(p.At(xe, yc)) - start) / (n - 1);
  }
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
  if (std::max({v1.x, v2.x, v3.x}) <= 0 || std::min({v1.x, v2.x, v3.x}) >= cv.width) return;

  EdgeWalker longEdge(t->x, t->y, b->x, b->y, yFirst);
  EdgeWalker upper(t->x, t->y, m->x, m->y, yFirst);
  EdgeWalker lower(m->x, m->y, b->x, b->y, std::max(yFirst, m->y));
  // Most triangles of a distant mountain cover few pixels or none: the colour planes are set up
  // only when the first pixel is met.
  bool planes = false;
  Plane pr, pg, pb;
  for (int py = yFirst; py < yEnd; ++py) {
    const bool top = py < m->y;
    const int xa = longEdge.Column();
    const int xb = top ? upper.Column() : lower.Column();
    longEdge.Next();
    if (top) {
      upper.Next();
    } else {
      lower.Next();
    }
    const int x0 = std::max(std::min(xa, xb), 0);
    const int x1 = std::min(std::max(xa, xb), cv.width);
    const int n = x1 - x0;
    if (n <= 0) continue;
    if (!planes) {
      const double inv = 1.0 / static_cast<double>(s);
      pr = MakePlane(v1, v2, v3, inv, &Rgb::r);
      pg = MakePlane(v1, v2, v3, inv, &Rgb::g);
      pb = MakePlane(v1, v2, v3, inv, &Rgb::b);
      planes = true;
    }
    const double yc = py + 0.5, xs = x0 + 0.5, xe = x1 - 0.5;
    int32_t r, g, bl, dr, dg, db;
    SpanChannel(pr, xs, xe, yc, n, r, dr);
    SpanChannel(pg, xs, xe, yc, n, g, dg);
    SpanChannel(pb, xs, xe, yc, n, bl, db);
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
