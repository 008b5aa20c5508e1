#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velkaro::pictures {

// A plain 8-bit RGB raster, rows top to bottom, three bytes per pixel.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;

  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 0) {}

  uint8_t* At(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
  const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

}  // namespace velkaro::pictures
