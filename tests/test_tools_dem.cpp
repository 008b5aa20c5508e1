#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "core/datum.h"
#include "terrain/mesh_code.h"
#include "tools/dem_sources.h"
#include "tools/tile_builder.h"
#include "tools/water_bodies.h"

namespace velkaro::tools {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A geographic raster of w × h pixels of 0.01°, north-west corner at (36 N, 138 E).
DemRaster Flat(int w, int h, float value, double blend = 0) {
  DemRaster r;
  r.width = w;
  r.height = h;
  r.originX = 138.0;
  r.originY = 36.0;
  r.pixelX = 0.01;
  r.pixelY = 0.01;
  r.blendPixels = blend;
  r.values.assign(static_cast<size_t>(w) * h, value);
  return r;
}

// The world position of the centre of pixel (col, row) of such a raster.
double Lat(double row) {
  return 36.0 - (row + 0.5) * 0.01;
}
double Lon(double col) {
  return 138.0 + (col + 0.5) * 0.01;
}

TEST(DemRasterSample, BilinearBetweenPixelCentres) {
  DemRaster r = Flat(4, 4, 0);
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) r.values[row * 4 + col] = static_cast<float>(10 * col + row);
  }
  EXPECT_NEAR(r.Sample(Lat(1), Lon(2))->height, 21, 1e-6);
  EXPECT_NEAR(r.Sample(Lat(1.5), Lon(2.25))->height, 10 * 2.25 + 1.5, 1e-6);
  // Up to half a pixel beyond the outer centres the edge value holds; beyond that nothing.
  EXPECT_NEAR(r.Sample(Lat(-0.4), Lon(3.4))->height, 30, 1e-6);
  EXPECT_FALSE(r.Sample(Lat(-0.6), Lon(1)).has_value());
  EXPECT_FALSE(r.Sample(Lat(1), Lon(3.6)).has_value());
  // A pixel without a value is no data when nearest, and left out of the weights otherwise.
  r.values[1 * 4 + 1] = kNaN;
  EXPECT_TRUE(r.Sample(Lat(1.1), Lon(0.9))->noData);
  const auto v = r.Sample(Lat(1.5), Lon(1.7));  // nearest (2, 2); (1, 1) is a neighbour
  ASSERT_TRUE(v && !v->noData);
  EXPECT_TRUE(std::isfinite(v->height));
  EXPECT_GT(v->height, 12);
  EXPECT_LT(v->height, 22);
}

TEST(DemRasterSample, WebMercatorPixelsOfTheGsiLayer) {
  DemRaster r;
  r.projection = DemRaster::Projection::kWebMercator;
  r.zoom = 10;
  r.width = 256;
  r.height = 256;
  r.originX = 909 * 256.0;  // tile x = 909, y = 404 holds the summit
  r.originY = 404 * 256.0;
  r.values.assign(256 * 256, 0);
  double col, row;
  r.PixelOf(35.3606, 138.7274, &col, &row);
  // x = (138.7274 + 180) / 360 × 2^18, y from the Mercator formula, less the tile's corner.
  EXPECT_NEAR(col, (138.7274 + 180) / 360 * 262144 - 909 * 256 - 0.5, 1e-6);
  EXPECT_GT(row, 0);
  EXPECT_LT(row, 255);
  double lat, lon;
  PixelCentre(r, static_cast<int>(col + 0.5), static_cast<int>(row + 0.5), &lat, &lon);
  EXPECT_NEAR(lat, 35.3606, 0.002);
  EXPECT_NEAR(lon, 138.7274, 0.002);
}

TEST(Composite, FinerSourceWinsAndHandsOverWithoutAStep) {
  DemSources s;
  s.gsi = Flat(100, 100, 100);
  s.fine.push_back(Flat(100, 100, 0, 10));
  s.fine.back().originX = 138.3;  // the finer source covers the east part only
  s.fine.back().values.assign(100 * 100, 200);
  // Deep inside the finer source its value, far outside the base layer's.
  EXPECT_NEAR(SampleComposite(s, 35.5, 138.8).height, 200, 1e-9);
  EXPECT_NEAR(SampleComposite(s, 35.5, 138.1).height, 100, 1e-9);
  // Across its west edge the height rises gradually over the band.
  double previous = SampleComposite(s, 35.5, 138.25).height;
  for (double lon = 138.25; lon < 138.5; lon += 0.001) {
    const double h = SampleComposite(s, 35.5, lon).height;
    EXPECT_GE(h, previous - 1e-9);
    EXPECT_LE(h - previous, 100.0 * 0.001 / 0.1 + 1e-6) << lon;  // 100 m over 10 pixels
    previous = h;
  }
  EXPECT_NEAR(previous, 200, 1e-9);
  // Where the base layer has no value, it is open water at sea level.
  s.gsi.values.assign(100 * 100, kNaN);
  const CompositeValue sea = SampleComposite(s, 35.5, 138.1);
  EXPECT_TRUE(sea.gsiNoData);
  EXPECT_FALSE(sea.covered);
  EXPECT_EQ(sea.height, 0);
}

TEST(FlatWater, EnclosedFlatAreasAreLakesAndDrainingPlainsAreNot) {
  // A basin rising in every direction with a flat 6 × 6 floor at 500 m: a lake.
  DemRaster r = Flat(30, 20, 0);
  for (int row = 0; row < 20; ++row) {
    for (int col = 0; col < 30; ++col) {
      r.values[row * 30 + col] =
          static_cast<float>(500 + std::abs(col - 9.5) + std::abs(row - 9.5));
    }
  }
  for (int row = 7; row < 13; ++row) {
    for (int col = 7; col < 13; ++col) r.values[row * 30 + col] = 500;
  }
  // A flat plain of the same size that falls away to the north, south and east beyond its edge.
  for (int row = 2; row < 8; ++row) {
    for (int col = 22; col < 28; ++col) r.values[row * 30 + col] = 400;
    r.values[row * 30 + 28] = 390;
  }
  for (int col = 22; col < 29; ++col) r.values[1 * 30 + col] = 395, r.values[8 * 30 + col] = 395;
  const WaterMap m = FindFlatWater(r, 30, 0.95);
  ASSERT_EQ(m.bodies.size(), 1u);
  EXPECT_EQ(m.bodies[0].level, 500);
  EXPECT_EQ(m.bodies[0].pixels, 36);
  EXPECT_EQ(m.body[10 * 30 + 10], 0);
  EXPECT_EQ(m.body[4 * 30 + 25], -1);
  // Smaller than the minimum: nothing.
  EXPECT_TRUE(FindFlatWater(r, 37, 0.95).bodies.empty());
  // In the lowlands only a measured (not whole-metre) level is water.
  for (float& v : r.values) v -= 497;
  EXPECT_TRUE(FindFlatWater(r, 30, 0.95).bodies.empty());
  for (float& v : r.values) v -= 0.5f;
  ASSERT_EQ(FindFlatWater(r, 30, 0.95).bodies.size(), 1u);
  EXPECT_EQ(FindFlatWater(r, 30, 0.95).bodies[0].level, 2.5f);
}

TEST(TileArea, SquaresOverlapTheAreaOnTheWorldDatum) {
  const std::vector<SquareIndex> squares = SquaresOverlapping(TileArea{});
  std::set<std::pair<int, int>> set;
  for (const auto& s : squares) set.insert({s.k, s.m});
  EXPECT_EQ(set.size(), squares.size());
  // 34°25' N on the Tokyo datum reaches north of 34.5 N on the world datum; 141° E on the Tokyo
  // datum starts just west of 141 E.
  EXPECT_TRUE(set.count({34 * 12 + 5, 138 * 8}));
  EXPECT_TRUE(set.count({36 * 12 + 1, 141 * 8}));
  EXPECT_FALSE(set.count({36 * 12 + 2, 140 * 8}));
  EXPECT_FALSE(set.count({35 * 12, 138 * 8 - 1}));
  for (const auto& s : squares) {
    const DatumShift sw = TokyoToWorld(s.k / 12.0, s.m / 8.0);
    const DatumShift ne = TokyoToWorld((s.k + 1) / 12.0, (s.m + 1) / 8.0);
    EXPECT_LT(sw.worldLatitude, 36.1);
    EXPECT_GT(ne.worldLatitude, 34.5);
    EXPECT_LT(sw.worldLongitude, 141.0);
    EXPECT_GT(ne.worldLongitude, 138.0);
  }
}

}  // namespace
}  // namespace velkaro::tools
