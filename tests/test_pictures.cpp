#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "core/text.h"
#include "tools/pictures/draw_pictures.h"
#include "tools/pictures/jpeg_io.h"
#include "tools/pictures/kumo.h"
#include "tools/pictures/moonlist.h"

namespace velkaro::pictures {
namespace {

double Luma(const RgbImage& image, int x, int y) {
  const uint8_t* p = image.At(x, y);
  return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
}

// Drawn once for the whole suite: the cloud picture takes a moment.
class Pictures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    kumo_ = new RgbImage(DrawKumo());
    moonList_ = new RgbImage(DrawMoonList());
  }
  static void TearDownTestSuite() {
    delete kumo_;
    delete moonList_;
  }
  static const RgbImage& Kumo() { return *kumo_; }
  static const RgbImage& MoonList() { return *moonList_; }

 private:
  static RgbImage* kumo_;
  static RgbImage* moonList_;
};
RgbImage* Pictures::kumo_ = nullptr;
RgbImage* Pictures::moonList_ = nullptr;

// --- the moon list ---------------------------------------------------------------------------

struct DiscStats {
  double mean = 0;      // mean luma over the disc
  double litShare = 0;  // share of disc pixels brighter than 100
  double leftMean = 0;  // mean luma of the disc's left and right thirds
  double rightMean = 0;
};

DiscStats Disc(const RgbImage& sheet, int age) {
  const MoonCell cell = MoonCellOrigin(age);
  DiscStats s;
  int count = 0, left = 0, right = 0, lit = 0;
  for (int y = 0; y < kMoonCellSize; ++y) {
    for (int x = 0; x < kMoonCellSize; ++x) {
      const double dx = x + 0.5 - kMoonDiscCentre;
      const double dy = y + 0.5 - kMoonDiscCentre;
      if (std::hypot(dx, dy) > kMoonDiscRadius - 1.5) continue;
      const double l = Luma(sheet, cell.left + x, cell.top + y);
      s.mean += l;
      ++count;
      if (l > 100) ++lit;
      if (dx < -kMoonDiscRadius / 3) {
        s.leftMean += l;
        ++left;
      } else if (dx > kMoonDiscRadius / 3) {
        s.rightMean += l;
        ++right;
      }
    }
  }
  s.mean /= count;
  s.litShare = static_cast<double>(lit) / count;
  s.leftMean /= left;
  s.rightMean /= right;
  return s;
}

// Sum of the luma over a whole picture, limb included.
double CellLight(const RgbImage& sheet, int age) {
  const MoonCell cell = MoonCellOrigin(age);
  double sum = 0;
  for (int y = 0; y < kMoonCellSize; ++y) {
    for (int x = 0; x < kMoonCellSize; ++x) sum += Luma(sheet, cell.left + x, cell.top + y);
  }
  return sum;
}

// Whether (x, y) of the sheet lies within `margin` pixels of some disc.
bool NearDisc(int x, int y, double margin) {
  for (int k = 0; k < kMoonAgeCount; ++k) {
    const MoonCell cell = MoonCellOrigin(k);
    const double dx = x + 0.5 - (cell.left + kMoonDiscCentre);
    const double dy = y + 0.5 - (cell.top + kMoonDiscCentre);
    if (std::hypot(dx, dy) <= kMoonDiscRadius + margin) return true;
  }
  return false;
}

TEST_F(Pictures, MoonListSheetHoldsEveryAgeWithTheWindowThePanelsRead) {
  EXPECT_EQ(MoonList().width, 717);
  EXPECT_EQ(MoonList().height, 236);
  EXPECT_EQ(MoonCellOrigin(0).left, 5);
  EXPECT_EQ(MoonCellOrigin(0).top, 0);
  EXPECT_EQ(MoonCellOrigin(9).left, 96);
  EXPECT_EQ(MoonCellOrigin(9).top, 58);
  EXPECT_EQ(MoonCellOrigin(30).left, 551);
  EXPECT_EQ(MoonCellOrigin(30).top, 174);
  // The panels read 59 × 59: the 59th row and column must stay inside the sheet and be black,
  // because the 59th row of one picture is the first row of the one below.
  for (int k = 0; k < kMoonAgeCount; ++k) {
    const MoonCell cell = MoonCellOrigin(k);
    ASSERT_LE(cell.left + 59, MoonList().width);
    ASSERT_LE(cell.top + 59, MoonList().height);
    for (int i = 0; i < 59; ++i) {
      const uint8_t* bottom = MoonList().At(cell.left + i, cell.top + 58);
      const uint8_t* right = MoonList().At(cell.left + 58, cell.top + i);
      ASSERT_EQ(bottom[0] + bottom[1] + bottom[2], 0) << "age " << k;
      ASSERT_EQ(right[0] + right[1] + right[2], 0) << "age " << k;
    }
  }
}

TEST_F(Pictures, MoonPhasesFollowTheAge) {
  const DiscStats newMoon = Disc(MoonList(), 0);
  EXPECT_LT(newMoon.mean, 30);
  EXPECT_LT(newMoon.litShare, 0.01);
  EXPECT_LT(Disc(MoonList(), 30).litShare, 0.03);  // age 30 is a new moon again

  const DiscStats full = Disc(MoonList(), 15);
  EXPECT_GT(full.mean, 150);
  EXPECT_GT(full.litShare, 0.95);

  // Waxing is lit on the right, waning on the left.
  const DiscStats firstQuarter = Disc(MoonList(), 7);
  EXPECT_GT(firstQuarter.rightMean, firstQuarter.leftMean + 100);
  const DiscStats lastQuarter = Disc(MoonList(), 22);
  EXPECT_GT(lastQuarter.leftMean, lastQuarter.rightMean + 100);
  EXPECT_GT(Disc(MoonList(), 3).rightMean, Disc(MoonList(), 3).leftMean);
  EXPECT_GT(Disc(MoonList(), 26).leftMean, Disc(MoonList(), 26).rightMean);

  // The light grows to the full moon and wanes after it.
  for (int k = 1; k <= 15; ++k) {
    EXPECT_GT(CellLight(MoonList(), k), CellLight(MoonList(), k - 1)) << "age " << k;
  }
  for (int k = 16; k <= 29; ++k) {
    EXPECT_LT(CellLight(MoonList(), k), CellLight(MoonList(), k - 1)) << "age " << k;
  }
}

TEST_F(Pictures, MoonShowsEarthshineAndMaria) {
  // The dark part of a crescent glows faintly, neither black nor lit.
  const DiscStats crescent = Disc(MoonList(), 3);
  EXPECT_GT(crescent.leftMean, 6);
  EXPECT_LT(crescent.leftMean, 40);

  // On the full moon, with north up, Mare Imbrium (upper left) is darker than the southern
  // highlands around Tycho, and the surface is not flat.
  const MoonCell cell = MoonCellOrigin(15);
  auto at = [&](double u, double v) {
    const int x = cell.left + static_cast<int>(kMoonDiscCentre + u * kMoonDiscRadius);
    const int y = cell.top + static_cast<int>(kMoonDiscCentre - v * kMoonDiscRadius);
    double sum = 0;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) sum += Luma(MoonList(), x + dx, y + dy);
    }
    return sum / 9;
  };
  EXPECT_LT(at(-0.25, 0.5) + 25, at(0.1, -0.55));
  EXPECT_LT(at(0.5, 0.15) + 25, at(0.1, -0.55));  // Tranquillitatis, right of the centre
}

TEST_F(Pictures, MoonSheetIsBlackOutsideTheDiscs) {
  for (int y = 0; y < MoonList().height; ++y) {
    for (int x = 0; x < MoonList().width; ++x) {
      if (NearDisc(x, y, 0.5)) continue;
      const uint8_t* p = MoonList().At(x, y);
      ASSERT_EQ(p[0] + p[1] + p[2], 0) << x << "," << y;
    }
  }
  // The compressed sheet stays black there too, apart from faint ringing next to the discs.
  const auto decoded = DecodeJpeg(MoonListJpeg());
  ASSERT_TRUE(decoded);
  int worst = 0;
  for (int y = 0; y < decoded->height; ++y) {
    for (int x = 0; x < decoded->width; ++x) {
      if (NearDisc(x, y, 3)) continue;
      const uint8_t* p = decoded->At(x, y);
      worst = std::max({worst, int{p[0]}, int{p[1]}, int{p[2]}});
    }
  }
  EXPECT_LE(worst, 10);
}

// --- the cloud picture -----------------------------------------------------------------------

// Row of the cloud tops in each column: the first row that is no longer the pale haze of row 0.
std::vector<int> UpperEdge(const RgbImage& kumo) {
  std::vector<int> edge(kumo.width, kumo.height);
  for (int x = 0; x < kumo.width; ++x) {
    for (int y = 1; y < kumo.height; ++y) {
      // The haze brightens slowly downwards; clouds differ from it by far more.
      if (std::abs(Luma(kumo, x, y) - Luma(kumo, x, 0)) > 6 + 6.0 * y / kumo.height) {
        edge[x] = y;
        break;
      }
    }
  }
  return edge;
}

TEST_F(Pictures, KumoHasAVariedUpperEdgeInEveryWindow) {
  ASSERT_EQ(Kumo().width, 3371);
  ASSERT_EQ(Kumo().height, 217);
  const std::vector<int> edge = UpperEdge(Kumo());
  // Clouds begin near the top everywhere, so every window shows the sea of clouds right below
  // the faded rows, and the edge rises and falls within any panorama-wide window.
  EXPECT_LT(*std::max_element(edge.begin(), edge.end()), 70);
  for (int x0 = 0; x0 + 977 <= Kumo().width; x0 += 97) {
    const auto [lo, hi] = std::minmax_element(edge.begin() + x0, edge.begin() + x0 + 977);
    EXPECT_GE(*hi - *lo, 12) << "window at " << x0;
  }
}

TEST_F(Pictures, KumoBillowsAreLitFromAbove) {
  // Down the face of a billow lit from above the light fades slowly, and the next, nearer
  // billow's top starts bright again: vertical steps are many small darkenings and few large
  // brightenings, a positively skewed distribution. Light from below reverses the skew.
  double second = 0, third = 0;
  long n = 0;
  for (int y = 60; y < 140; ++y) {
    for (int x = 0; x < Kumo().width; ++x) {
      const double d = Luma(Kumo(), x, y + 1) - Luma(Kumo(), x, y);
      second += d * d;
      third += d * d * d;
      ++n;
    }
  }
  const double skew = (third / n) / std::pow(second / n, 1.5);
  EXPECT_GT(skew, 0.5);

  // Shaded, not flat: the cloud body has clearly darker folds than its bright tops.
  double lo = 255, hi = 0;
  for (int y = 60; y < 140; ++y) {
    for (int x = 0; x < Kumo().width; ++x) {
      lo = std::min(lo, Luma(Kumo(), x, y));
      hi = std::max(hi, Luma(Kumo(), x, y));
    }
  }
  EXPECT_GT(hi - lo, 50);
}

TEST_F(Pictures, KumoFitsTheBandItIsLaidInto) {
  // Above the clouds a pale haze (it veils the mountain's foot as the band fades in); the last
  // row nearly the white that continues the band below the picture.
  double top = 0, bottom = 0;
  for (int x = 0; x < Kumo().width; ++x) {
    top += Luma(Kumo(), x, 0);
    bottom += Luma(Kumo(), x, Kumo().height - 1);
  }
  EXPECT_GT(top / Kumo().width, 200);
  EXPECT_GT(bottom / Kumo().width, 240);

  // No seam: no neighbouring columns differ much more than neighbours usually do.
  std::vector<double> step;
  for (int x = 0; x + 1 < Kumo().width; ++x) {
    double sum = 0;
    for (int y = 0; y < Kumo().height; ++y)
      sum += std::abs(Luma(Kumo(), x + 1, y) - Luma(Kumo(), x, y));
    step.push_back(sum / Kumo().height);
  }
  std::vector<double> sorted = step;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_LT(sorted.back(), 4 * sorted[sorted.size() / 2]);
}

// --- files -----------------------------------------------------------------------------------

TEST_F(Pictures, JpegsDecodeToThePicturesAtTheirSizes) {
  const std::string kumoBytes = EncodeJpeg(Kumo(), kKumoQuality);
  const auto kumo = DecodeJpeg(kumoBytes);
  ASSERT_TRUE(kumo);
  EXPECT_EQ(kumo->width, 3371);
  EXPECT_EQ(kumo->height, 217);
  double error = 0;
  for (size_t i = 0; i < kumo->rgb.size(); ++i) error += std::abs(kumo->rgb[i] - Kumo().rgb[i]);
  EXPECT_LT(error / kumo->rgb.size(), 1.5);

  const auto moon = DecodeJpeg(MoonListJpeg());
  ASSERT_TRUE(moon);
  EXPECT_EQ(moon->width, 717);
  EXPECT_EQ(moon->height, 236);
}

TEST(PictureFiles, DecodeRejectsWhatIsNotAJpeg) {
  EXPECT_FALSE(DecodeJpeg(""));
  EXPECT_FALSE(DecodeJpeg("not a picture at all"));
  const std::string moon = MoonListJpeg();
  EXPECT_FALSE(DecodeJpeg(std::string_view(moon).substr(0, 20)));
  EXPECT_TRUE(EncodeJpeg(RgbImage(), 90).empty());
}

TEST_F(Pictures, SameBytesOnEveryRun) {
  EXPECT_EQ(MoonListJpeg(), MoonListJpeg());
  // The build drew both pictures in its own process; drawing them again here gives the same
  // bytes.
  const auto builtKumo = ReadFileBytes(std::string(VELKARO_GENERATED_DIR) + "/kumo.jpg");
  const auto builtMoon = ReadFileBytes(std::string(VELKARO_GENERATED_DIR) + "/moonlist.jpg");
  ASSERT_TRUE(builtKumo);
  ASSERT_TRUE(builtMoon);
  EXPECT_TRUE(*builtKumo == EncodeJpeg(Kumo(), kKumoQuality));
  EXPECT_TRUE(*builtMoon == MoonListJpeg());
}

TEST(PictureFiles, WritePicturesWritesOnlyWhatIsAskedAndReportsFailures) {
  const auto dir = std::filesystem::temp_directory_path() / "velkaro_test_pictures";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string moon = (dir / "moonlist.jpg").string();
  std::string error;
  ASSERT_TRUE(WritePictures("", moon, &error)) << error;
  EXPECT_FALSE(std::filesystem::exists(dir / "kumo.jpg"));
  const auto bytes = ReadFileBytes(moon);
  ASSERT_TRUE(bytes);
  EXPECT_TRUE(*bytes == MoonListJpeg());

  EXPECT_FALSE(WritePictures("", (dir / "missing" / "moonlist.jpg").string(), &error));
  EXPECT_FALSE(error.empty());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velkaro::pictures
