#pragma once

#include <QImage>
#include <cstdint>

namespace velkaro {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr uint32_t PackRgb(Rgb c) {
  return 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
}
inline constexpr Rgb UnpackRgb(uint32_t p) {
  return {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

struct ShadedVertex {
  int x = 0;
  int y = 0;
  Rgb colour;
};

// A view of 32-bit RGB pixels with a band of rows that every primitive is clipped to, so that
// several threads can each draw the same sequence of primitives into their own band of rows and
// the result is exactly that of one thread drawing them all.
struct Canvas {
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // in pixels
  int clipTop = 0;
  int clipBottom = 0;  // exclusive

  // The whole of a Format_RGB32 image (detached first, so the pointer stays valid while the image
  // is not copied or resized).
  static Canvas Of(QImage& image);
  Canvas Band(int top, int bottom) const;
  uint32_t* row(int y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
  bool contains(int x, int y) const {
    return x >= 0 && x < width && y >= clipTop && y < clipBottom;
  }
  void set(int x, int y, uint32_t p) const {
    if (contains(x, y)) row(y)[x] = p;
  }
};

// Twice the signed area: >= 0 when the vertices run clockwise on the screen (y downwards).
inline int64_t SignedArea2(int x1, int y1, int x2, int y2, int x3, int y3) {
  return int64_t{x1} * y2 - int64_t{x2} * y1 + int64_t{x2} * y3 - int64_t{x3} * y2 +
         int64_t{x3} * y1 - int64_t{x1} * y3;
}

// Gouraud fill of one triangle. Anticlockwise triangles (signed area < 0) are culled; the others
// are filled. A pixel is covered when its centre lies inside, with the top-left rule for centres
// on an edge (left edges included, right edges excluded), so triangles sharing an edge neither
// overlap nor leave gaps; a triangle without area covers no pixel centre. Each covered pixel gets
// the vertex colours interpolated linearly at its centre, truncated to 8 bits.
void FillShadedTriangle(const Canvas& canvas, const ShadedVertex& v1, const ShadedVertex& v2,
                        const ShadedVertex& v3);

// A line from (x1, y1) to (x2, y2) without its end point, one pixel wide.
void DrawLineNoEnd(const Canvas& canvas, int x1, int y1, int x2, int y2, uint32_t colour);

// Fills [x1, x2) x [y1, y2), clipped.
void FillRect(const Canvas& canvas, int x1, int y1, int x2, int y2, uint32_t colour);

}  // namespace velkaro
