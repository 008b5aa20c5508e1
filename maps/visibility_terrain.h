#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "maps/view_map.h"

namespace velkaro {

// The terrain of the whole view map, one value per picture pixel. The tile samples lie exactly on
// the pixel centres (both are on the Tokyo datum, 1.5″ × 2.25″ apart), so sample (r, s) of the
// square in tile row m from the north and tile column n from the west is pixel
// (200 n + s − 1, 200 m + r − 1).
struct VisibilityTerrain {
  int width = kViewMapWidth;
  int height = kViewMapHeight;
  // Ground surface in metres: the sea, and squares without a tile, at 0 (the sea surface).
  std::vector<float> ground;
  // 1 where the place is water: the sea, class-5 water of the tiles, squares without a tile.
  std::vector<uint8_t> water;
  int tilesFound = 0;
  int tilesMissing = 0;

  float GroundAt(int x, int y) const { return ground[static_cast<size_t>(y) * width + x]; }
  bool WaterAt(int x, int y) const { return water[static_cast<size_t>(y) * width + x] != 0; }
  // Bilinear ground height at fractional sample coordinates (gx = 0 is the centre of column 0),
  // held inside the grid.
  double GroundAtSample(double gx, double gy) const;
};

// Tile rows and columns of the view map: 18 squares of 5′ by 24 squares of 7.5′.
inline constexpr int kViewMapTileRows = 18;
inline constexpr int kViewMapTileColumns = 24;
inline constexpr int kTileCells = 200;

// The mesh code of the square in tile row m (from the north) and column n (from the west).
std::string ViewMapTileCode(int m, int n);

// Reads every square of the view map from the mesh folder (each file once).
VisibilityTerrain LoadVisibilityTerrain(const std::string& meshFolder);

// A grid of the given size filled from a height function of the pixel (for tests and tools).
template <typename HeightFn>
VisibilityTerrain MakeVisibilityTerrain(int width, int height, HeightFn heightAt) {
  VisibilityTerrain t;
  t.width = width;
  t.height = height;
  t.ground.resize(static_cast<size_t>(width) * height);
  t.water.resize(t.ground.size());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double h = heightAt(x, y);
      const size_t i = static_cast<size_t>(y) * width + x;
      t.ground[i] = h < 0 ? 0.0f : static_cast<float>(h);
      t.water[i] = h < 0 ? 1 : 0;
    }
  }
  return t;
}

}  // namespace velkaro
