#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <string>

#include "core/constants.h"
#include "core/datum.h"
#include "core/text.h"
#include "maps/view_map.h"
#include "maps/visibility_sweep.h"
#include "maps/visibility_terrain.h"
#include "resources/embedded.h"

namespace velkaro {
namespace {

// --- Georeference and the map window -----------------------------------------------------------

TEST(ViewMapGeoreference, PixelsOfCornersAndCentres) {
  ViewMapPixel p = ViewMapPixelOf(kViewMapNorth - 1e-9, kViewMapWest + 1e-9);
  EXPECT_TRUE(p.inside);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = ViewMapPixelOf(34.5833334, 140.9999);
  EXPECT_TRUE(p.inside);
  EXPECT_EQ(p.x, 4799);
  EXPECT_EQ(p.y, 3599);
  // Just outside on every side.
  EXPECT_FALSE(ViewMapPixelOf(36.1, 139).inside);
  EXPECT_FALSE(ViewMapPixelOf(34.5, 139).inside);
  EXPECT_FALSE(ViewMapPixelOf(35, 137.9999).inside);
  EXPECT_FALSE(ViewMapPixelOf(35, 141.0001).inside);
  // A pixel's centre maps back onto the pixel.
  for (int x : {0, 1, 1234, 4799}) {
    for (int y : {0, 7, 2000, 3599}) {
      const TokyoPoint c = ViewMapPixelCentre(x, y);
      const ViewMapPixel q = ViewMapPixelOf(c.latitude, c.longitude);
      EXPECT_EQ(q.x, x);
      EXPECT_EQ(q.y, y);
    }
  }
}

TEST(ViewMapWindow, ClickOffsetsAndMarkers) {
  // At zoom 1 one box pixel is 1/2400 degree of latitude: 24 pixels up is 0.01° north.
  const ViewMapWindow w = ComputeViewMapWindow(35.3, 138.7, 501, 401, 1.0);
  EXPECT_EQ(w.centreX, 251);
  EXPECT_EQ(w.centreY, 201);
  const TokyoPoint up =
      PlaceAtBoxPixel(35.3, 138.7, w.centreX, w.centreY, 1.0, w.centreX, w.centreY - 24);
  EXPECT_NEAR(up.latitude, 35.31, 1e-12);
  EXPECT_DOUBLE_EQ(up.longitude, 138.7);
  // The picture rectangle spans the box's ground extent.
  EXPECT_EQ(w.sourceHeight, 401);
  EXPECT_EQ(w.sourceWidth, static_cast<int>(501 / kBoxLongitudeScale * 1600));
  // A place at the centre is marked under the centre cross; a place east moves right.
  const BoxPixel c = BoxPixelOfPlace(w, 35.3, 138.7);
  EXPECT_EQ(c.x, w.centreX);
  EXPECT_EQ(c.y, w.centreY);
  const BoxPixel e = BoxPixelOfPlace(w, 35.29, 138.71);
  EXPECT_EQ(e.x, w.centreX + 20);  // 0.01° × 1961.4 pixels per degree, rounded
  EXPECT_EQ(e.y, w.centreY + 24);
}

TEST(ViewMapWindow, ZoomLimitsAndGauge) {
  EXPECT_DOUBLE_EQ(ZoomInByButton(8.0), 10.0);
  EXPECT_DOUBLE_EQ(ZoomOutByButton(0.4), 0.3);
  EXPECT_DOUBLE_EQ(ZoomOutByWheel(0.45), 0.4);
  EXPECT_DOUBLE_EQ(ZoomInByWheel(1.0), 1.2);
  EXPECT_EQ(VisibilityBarHeight(255), 1);
  EXPECT_EQ(VisibilityBarHeight(128), 34);
  EXPECT_EQ(VisibilityBarHeight(0), 50);
}

// --- Values and colours --------------------------------------------------------------------

TEST(VisibilityValue, FromTheLowestSeenHeight) {
  EXPECT_EQ(VisibilityValueOfHeight(3776.0), 0);  // grazing the top is not seeing it
  EXPECT_EQ(VisibilityValueOfHeight(5000.0), 0);
  EXPECT_EQ(VisibilityValueOfHeight(std::nan("")), 0);
  EXPECT_EQ(VisibilityValueOfHeight(3775.9), 127);  // only the top point
  EXPECT_EQ(VisibilityValueOfHeight(1499.0), 255);
  EXPECT_EQ(VisibilityValueOfHeight(-INFINITY), 255);
  // Half of the vertical seen: 127 + 64, "◎" with q = 50.
  const double half = kVerticalTop - 63 * kVerticalStep - 0.01;
  EXPECT_EQ(VisibilityValueOfHeight(half), 191);
  EXPECT_STREQ(GradeSymbol(VisibilityGrade(191)), "◎");
  // Never more than 127 distinct values above 0.
  std::set<int> values;
  for (double z = 1400; z < 3800; z += 0.5) values.insert(VisibilityValueOfHeight(z));
  EXPECT_EQ(values.size(), 128u);
}

TEST(ViewMapGif, RoundTripKeepsIndicesAndExactPalette) {
  ViewMapImage image;
  image.width = 300;
  image.height = 7;
  image.palette = {kHiddenLandColour, kHiddenWaterColour, SeenLandColour(200), SeenWaterColour(130),
                   kSummitAreaColour};
  image.indices.resize(300 * 7);
  for (size_t i = 0; i < image.indices.size(); ++i) image.indices[i] = (i * 7 / 3) % 5;
  std::string error;
  const auto gif = EncodeViewMapGif(image, &error);
  ASSERT_TRUE(gif) << error;
  const auto back = DecodeViewMapGif(*gif, &error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->width, 300);
  EXPECT_EQ(back->height, 7);
  EXPECT_EQ(back->indices, image.indices);
  ASSERT_GE(back->palette.size(), 5u);
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(back->palette[i], image.palette[i]);
  EXPECT_EQ(back->ColourAt(1, 0), SeenLandColour(200));
  EXPECT_EQ(back->ColourAt(-1, 0), Rgb{});
  EXPECT_EQ(back->ColourAt(300, 0), Rgb{});
}

TEST(ViewMapGif, MalformedInputIsRefused) {
  std::string error;
  EXPECT_FALSE(DecodeViewMapGif({}, &error));
  const std::vector<uint8_t> junk = {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3};
  EXPECT_FALSE(DecodeViewMapGif(junk, &error));
  ViewMapImage image;
  image.width = 4;
  image.height = 4;
  image.palette = {kHiddenLandColour};
  image.indices.assign(16, 0);
  auto gif = EncodeViewMapGif(image, &error);
  ASSERT_TRUE(gif);
  gif->resize(gif->size() / 2);  // cut in the middle of the rows
  EXPECT_FALSE(DecodeViewMapGif(*gif, &error));
  image.indices[3] = 1;  // beyond the palette
  EXPECT_FALSE(EncodeViewMapGif(image, &error));
  // A picture of the wrong size is not taken for the view map.
  ViewMap small(std::move(*DecodeViewMapGif(
      *EncodeViewMapGif(ViewMapImage{4, 4, std::vector<uint8_t>(16, 0), {kHiddenLandColour}}))));
  EXPECT_EQ(VisibilityValueAt(small, 35.5, 139.0), 0);
}

TEST(VisibilityValueAt, ReadsTheGreenChannelOnTheTokyoDatum) {
  ViewMapImage image;
  image.width = kViewMapWidth;
  image.height = kViewMapHeight;
  image.palette = {kHiddenLandColour, kSummitAreaColour, SeenWaterColour(140)};
  image.indices.assign(static_cast<size_t>(kViewMapWidth) * kViewMapHeight, 0);
  // Mark the pixel under a world-datum point, found through the datum conversion.
  const double lat = 35.5;
  const double lon = 139.5;
  const TokyoFromWorld tokyo = WorldToTokyo(lat, lon);
  const ViewMapPixel p = ViewMapPixelOf(tokyo.tokyoLatitude, tokyo.tokyoLongitude);
  image.indices[static_cast<size_t>(p.y) * kViewMapWidth + p.x] = 1;
  image.indices[static_cast<size_t>(p.y) * kViewMapWidth + p.x + 1] = 2;
  ViewMap map(std::move(image));
  EXPECT_EQ(VisibilityValueAt(map, lat, lon), 255);               // white
  EXPECT_EQ(VisibilityValueAt(map, lat, lon + 1.0 / 1600), 140);  // water, seen
  EXPECT_EQ(VisibilityValueAt(map, lat + 0.01, lon), 0);          // red
  EXPECT_EQ(VisibilityValueAt(map, 37.0, lon), 0);                // outside
  // The world point differs from its Tokyo position by the datum shift (several seconds).
  EXPECT_GT(std::abs(tokyo.tokyoLatitude - lat), 2.0 / 3600);
}

// --- The sweep on synthetic terrain --------------------------------------------------------

// A ridge wall 20 km east of the summit, 1500 m high, on flat land at 100 m: east of it the lower
// part of the mountain is hidden, and more of it the nearer one stands to the wall.
TEST(VisibilitySweep, RidgeHidesTheFootAndAgreesWithTheMarch) {
  const TokyoFromWorld s = WorldToTokyo(SummitReference.latitude, SummitReference.longitude);
  const ViewMapPixel sp = ViewMapPixelOf(s.tokyoLatitude, s.tokyoLongitude);
  const int wallX = sp.x + 20000 / 56;  // about 20 km east
  const VisibilityTerrain terrain = MakeVisibilityTerrain(sp.x + 800, sp.y + 50, [&](int x, int) {
    return (x >= wallX && x <= wallX + 2) ? 1500.0 : 100.0;
  });
  VisibilitySweepOptions options;
  options.rayCount = 4096;
  options.nearReachM = 300;
  const VisibilityField field = ComputeVisibilityField(terrain, options);
  const auto at = [&](int x, int y) {
    return VisibilityValueOfHeight(field.limit[static_cast<size_t>(y) * field.width + x]);
  };
  EXPECT_TRUE(field.summitArea[static_cast<size_t>(sp.y) * field.width + sp.x]);
  // West of the wall (same row, 15 km out) the whole vertical is seen.
  EXPECT_EQ(at(sp.x - 15000 / 56, sp.y), 255);
  // Right behind the wall the mountain is hidden; far behind it, the top shows again.
  EXPECT_EQ(at(wallX + 20, sp.y), 0);
  const int far = at(sp.x + 700, sp.y);
  EXPECT_GT(far, 127);
  EXPECT_LT(far, 255);
  EXPECT_NEAR(far, VisibilityValueOfHeight(ExactVisibilityLimit(terrain, sp.x + 700, sp.y)), 1);
  EXPECT_LT(at(sp.x + 500, sp.y), far);
  // The sweep agrees with the exact march on a spread of pixels.
  std::mt19937 rng(7);
  int same = 0;
  int total = 0;
  for (int i = 0; i < 200; ++i) {
    const int x = std::uniform_int_distribution<int>(0, terrain.width - 1)(rng);
    const int y = std::uniform_int_distribution<int>(0, terrain.height - 1)(rng);
    const double exact = ExactVisibilityLimit(terrain, x, y);
    if (std::isnan(exact)) continue;
    ++total;
    const int g = at(x, y);
    if (std::abs(VisibilityValueOfHeight(exact) - g) <= 1) ++same;
  }
  EXPECT_GE(same, total - 2);
}

// --- The built picture ---------------------------------------------------------------------

const std::string kMeshFolder = std::string(VELKARO_BIN_DIR) + "/DATA/DATA1";

class BuiltViewMap : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    map_ = std::make_unique<ViewMap>(EmbeddedResource("ZorvViewMap"));
    terrain_ = std::make_unique<VisibilityTerrain>(LoadVisibilityTerrain(kMeshFolder));
  }
  static void TearDownTestSuite() {
    map_.reset();
    terrain_.reset();
  }
  static const ViewMapImage& Image() { return *map_->image(); }
  static int ValueAt(double lat, double lon) { return VisibilityValueAt(*map_, lat, lon); }
  static Rgb ColourAt(double lat, double lon) {
    const TokyoFromWorld t = WorldToTokyo(lat, lon);
    const ViewMapPixel p = ViewMapPixelOf(t.tokyoLatitude, t.tokyoLongitude);
    return Image().ColourAt(p.x, p.y);
  }
  // G for an eye at an absolute height above a world-datum place, by the exact march.
  static int ExactValueFrom(double lat, double lon, double eyeHeight) {
    return VisibilityValueOfHeight(ExactVisibilityLimitFrom(*terrain_, lat, lon, eyeHeight));
  }
  static std::unique_ptr<ViewMap> map_;
  static std::unique_ptr<VisibilityTerrain> terrain_;
};
std::unique_ptr<ViewMap> BuiltViewMap::map_;
std::unique_ptr<VisibilityTerrain> BuiltViewMap::terrain_;

TEST_F(BuiltViewMap, PictureHasTheSizeAndOnlyTheMapColours) {
  ASSERT_NE(map_->image(), nullptr) << map_->error();
  ASSERT_EQ(terrain_->tilesMissing, 0);
  const ViewMapImage& image = Image();
  EXPECT_LE(image.palette.size(), 256u);
  std::vector<bool> used(image.palette.size(), false);
  for (uint8_t i : image.indices) {
    ASSERT_LT(i, image.palette.size());
    used[i] = true;
  }
  for (size_t i = 0; i < image.palette.size(); ++i) {
    if (!used[i]) continue;
    const Rgb c = image.palette[i];
    const bool known = c == kHiddenLandColour || c == kHiddenWaterColour ||
                       (c.r == c.g && c.g == c.b && c.g >= 127) ||
                       (c.r == 0 && c.b == 255 && c.g >= 127);
    EXPECT_TRUE(known) << int(c.r) << "," << int(c.g) << "," << int(c.b);
  }
}

TEST_F(BuiltViewMap, SweepAgreesWithTheExactMarch) {
  ASSERT_NE(map_->image(), nullptr) << map_->error();
  std::mt19937 rng(20261209);
  int compared = 0;
  int sameSymbol = 0;
  int contradictions = 0;
  while (compared < 2000) {
    const int x = std::uniform_int_distribution<int>(0, kViewMapWidth - 1)(rng);
    const int y = std::uniform_int_distribution<int>(0, kViewMapHeight - 1)(rng);
    const double exact = ExactVisibilityLimit(*terrain_, x, y);
    if (std::isnan(exact)) continue;  // the summit area
    ++compared;
    const int expected = VisibilityValueOfHeight(exact);
    const int g = Image().ColourAt(x, y).g;
    if (std::string(GradeSymbol(VisibilityGrade(expected))) == GradeSymbol(VisibilityGrade(g)) &&
        (expected == 0) == (g == 0)) {
      ++sameSymbol;
    }
    // Seen against hidden where the exact answer is clear by more than one sampled height.
    if (std::abs(exact - kVerticalTop) > kVerticalStep && (expected == 0) != (g == 0)) {
      ++contradictions;
      ADD_FAILURE() << "pixel " << x << "," << y << ": exact limit " << exact << ", map " << g;
    }
  }
  EXPECT_GE(sameSymbol, compared * 99 / 100) << sameSymbol << " of " << compared;
  EXPECT_EQ(contradictions, 0);
}

TEST_F(BuiltViewMap, KnownPlaces) {
  ASSERT_NE(map_->image(), nullptr) << map_->error();
  // The summit area is white and reads as the whole mountain.
  EXPECT_EQ(ColourAt(SummitReference.latitude, SummitReference.longitude), kSummitAreaColour);
  EXPECT_EQ(ValueAt(SummitReference.latitude, SummitReference.longitude), 255);
  // Lake Yamanaka is water.
  const Rgb lake = ColourAt(35.4147, 138.8736);
  EXPECT_TRUE(lake == kHiddenWaterColour || (lake.r == 0 && lake.b == 255))
      << int(lake.r) << "," << int(lake.g) << "," << int(lake.b);
  // Suruga Bay off Numazu is open water with the mountain in full view.
  const Rgb bay = ColourAt(35.05, 138.80);
  EXPECT_EQ(bay.r, 0);
  EXPECT_EQ(bay.b, 255);
  EXPECT_GT(bay.g, 191);
  // The observation deck of the Yokohama Landmark Tower (273 m) and the Tokyo Metropolitan
  // Government Building (229 m) see the mountain, as does the summit of Tanzawa-san.
  EXPECT_GT(ExactValueFrom(35.45472, 139.63139, 273.0 + kEyeHeight), 127);
  EXPECT_GT(ExactValueFrom(35.68944, 139.69167, 229.0 + kEyeHeight), 127);
  EXPECT_GT(ExactValueFrom(35.474167, 139.162778, 1567.0 + kEyeHeight), 127);
  EXPECT_GT(ValueAt(35.474167, 139.162778), 127);
  // The floor of the Tama valley at Tabayama lies behind the high ridges of Daibosatsu: hidden on
  // the map and by the exact march.
  EXPECT_EQ(ValueAt(35.7833, 138.9233), 0);
  const TokyoFromWorld t = WorldToTokyo(35.7833, 138.9233);
  const ViewMapPixel p = ViewMapPixelOf(t.tokyoLatitude, t.tokyoLongitude);
  EXPECT_GT(ExactVisibilityLimit(*terrain_, p.x, p.y), kVerticalTop + 200);
}

}  // namespace
}  // namespace velkaro
