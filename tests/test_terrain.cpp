#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/constants.h"
#include "core/datum.h"
#include "core/sight_line.h"
#include "core/summit_grid.h"
#include "resources/embedded.h"
#include "terrain/destination.h"
#include "terrain/elevation.h"
#include "terrain/mesh_code.h"
#include "terrain/mesh_tile.h"
#include "terrain/tile_cache.h"
#include "terrain/tiles_in_view.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  explicit TempFolder(const std::string& name)
      : path_(fs::temp_directory_path() /
              ("velkaro_terrain_" + name + "_" + std::to_string(getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  std::string str() const { return path_.string(); }

 private:
  fs::path path_;
};

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A tile whose sample (r, s) holds height 10 r + (s mod 10) and class s mod 7.
MeshTile PatternTile() {
  MeshTile tile;
  tile.present = true;
  for (int r = 1; r <= kMeshTileSide; ++r) {
    for (int s = 1; s <= kMeshTileSide; ++s)
      tile.setSample(r, s, EncodeMeshSample(10 * r + s % 10, s % 7));
  }
  return tile;
}

// The world-datum position of sample (r, s) of a square.
void SampleWorldPosition(const std::string& code, double r, double s, double* lat, double* lon) {
  const MeshCorner c = MeshTileCorner(code);
  const DatumShift w =
      TokyoToWorld(c.latitude + (200.5 - r) * kMeshRowStep, c.longitude + (s - 0.5) * kMeshColStep);
  *lat = w.worldLatitude;
  *lon = w.worldLongitude;
}

TEST(MeshCode, CornerAndCodeAreInverse) {
  const MeshCorner c = MeshTileCorner("533700");
  ASSERT_TRUE(c.valid);
  EXPECT_NEAR(c.latitude, 35 + 20 / 60.0, 1e-12);
  EXPECT_NEAR(c.longitude, 137.0, 1e-12);
  EXPECT_EQ(MeshCodeOf(c.latitude + kMeshSquareLat / 2, c.longitude + kMeshSquareLon / 2),
            "533700");
  // Every square of the covered area: points just inside each corner name the square itself.
  for (int k = 414; k <= 433; ++k) {
    for (int m = 1104; m <= 1128; ++m) {
      const std::string code = MeshCodeOf((k + 0.5) / 12, (m + 0.5) / 8);
      const MeshCorner corner = MeshTileCorner(code);
      ASSERT_TRUE(corner.valid) << code;
      EXPECT_NEAR(corner.latitude, k / 12.0, 1e-9) << code;
      EXPECT_NEAR(corner.longitude, m / 8.0, 1e-9) << code;
      EXPECT_EQ(MeshCodeOf(corner.latitude + 1e-7, corner.longitude + 1e-7), code);
      EXPECT_EQ(MeshCodeOf(corner.latitude + kMeshSquareLat - 1e-7,
                           corner.longitude + kMeshSquareLon - 1e-7),
                code);
    }
  }
  EXPECT_FALSE(MeshTileCorner("53370").valid);
  EXPECT_FALSE(MeshTileCorner("53a700").valid);
  EXPECT_FALSE(MeshTileCorner("../../x").valid);
}

TEST(MeshSample, DecodesHeightAndClass) {
  EXPECT_EQ(DecodeMeshSample(1).height, 1500);
  EXPECT_EQ(DecodeMeshSample(1).surfaceClass, 1);
  EXPECT_EQ(DecodeMeshSample(-15000).height, 0);
  EXPECT_EQ(DecodeMeshSample(-15000).surfaceClass, 0);
  EXPECT_EQ(DecodeMeshSample(kMissingMeshSample).height, -999);
  EXPECT_EQ(DecodeMeshSample(kMissingMeshSample).surfaceClass, 9);
  EXPECT_EQ(DecodeMeshSample(-15010).height, -1);  // sea as the tiles store it
  EXPECT_EQ(DecodeMeshSample(-15010).surfaceClass, 0);
  for (int h : {-1500, -1, 0, 981, 3776, 4776}) {
    for (int k = 0; k <= 7; ++k) {
      const MeshSample s = DecodeMeshSample(EncodeMeshSample(h, k));
      EXPECT_EQ(s.height, h);
      EXPECT_EQ(s.surfaceClass, k);
    }
  }
  // Out of range heights are clamped, and the top height with a high class stays in 16 bits.
  EXPECT_EQ(DecodeMeshSample(EncodeMeshSample(6000, 0)).height, 4776);
  EXPECT_EQ(DecodeMeshSample(EncodeMeshSample(4776, 9)).surfaceClass, 9);
  EXPECT_EQ(DecodeMeshSample(EncodeMeshSample(4776, 9)).height, 4775);
  // Values below the format's range still give a class digit.
  for (int w : {-32768, -30001, -30009}) {
    const int k = DecodeMeshSample(static_cast<int16_t>(w)).surfaceClass;
    EXPECT_GE(k, 0);
    EXPECT_LE(k, 9);
  }
}

TEST(MeshTileFile, ReadsExactFilesAndTreatsOthersAsMissing) {
  TempFolder dir("tiles");
  const MeshTile tile = PatternTile();
  const std::vector<uint8_t> bytes = EncodeMeshTile(tile);
  ASSERT_EQ(bytes.size(), kMeshTileBytes);
  WriteBytes(MeshTilePath(dir.str(), "533900"), bytes);
  const MeshTile read = LoadMeshTile(dir.str(), "533900");
  EXPECT_TRUE(read.present);
  EXPECT_EQ(read.samples, tile.samples);
  // Byte order and offsets: sample (r, s) at ((r − 1) × 202 + (s − 1)) × 2, little-endian.
  const size_t at = ((5 - 1) * 202 + (7 - 1)) * 2;
  EXPECT_EQ(static_cast<int16_t>(bytes[at] | (bytes[at + 1] << 8)), tile.sample(5, 7));

  const MeshTile missing = LoadMeshTile(dir.str(), "533901");
  EXPECT_FALSE(missing.present);
  EXPECT_TRUE(std::all_of(missing.samples.begin(), missing.samples.end(),
                          [](int16_t w) { return w == kMissingMeshSample; }));
  for (size_t size : {size_t{0}, kMeshTileBytes - 1, kMeshTileBytes + 1}) {
    std::vector<uint8_t> wrong(bytes.begin(), bytes.begin() + std::min(size, bytes.size()));
    wrong.resize(size, 0);
    WriteBytes(MeshTilePath(dir.str(), "533902"), wrong);
    EXPECT_FALSE(LoadMeshTile(dir.str(), "533902").present) << size;
  }
}

TEST(TileCacheTest, ReadsEachFileOnceAndEvictsTheOldest) {
  TempFolder dir("cache");
  WriteBytes(MeshTilePath(dir.str(), "533900"), EncodeMeshTile(PatternTile()));
  TileCache cache(dir.str(), 2);
  const auto first = cache.Get("533900");
  EXPECT_TRUE(first->present);
  cache.Get("533900");
  EXPECT_EQ(cache.fileReads(), 1u);
  cache.Get("533901");  // missing files are cached as well
  cache.Get("533901");
  EXPECT_EQ(cache.fileReads(), 2u);
  cache.Get("533900");  // most recently used again
  cache.Get("533902");  // evicts 533901
  EXPECT_EQ(cache.fileReads(), 3u);
  cache.Get("533900");
  EXPECT_EQ(cache.fileReads(), 3u);
  cache.Get("533901");
  EXPECT_EQ(cache.fileReads(), 4u);
  EXPECT_EQ(first->sample(3, 4), PatternTile().sample(3, 4));  // still valid after eviction
}

TEST(TerrainElevation, ReadsTheNearestSampleOfTheSquare) {
  TempFolder dir("elevation");
  const std::string code = "533847";  // near the summit
  WriteBytes(MeshTilePath(dir.str(), code), EncodeMeshTile(PatternTile()));
  TileCache cache(dir.str());
  for (auto [r, s] :
       std::vector<std::pair<int, int>>{{1, 1}, {1, 200}, {100, 57}, {200, 1}, {200, 200}}) {
    double lat, lon;
    SampleWorldPosition(code, r, s, &lat, &lon);
    const ElevationLookup e = LookUpElevation(cache, lat, lon);
    EXPECT_EQ(e.code, code);
    EXPECT_EQ(e.row, r);
    EXPECT_EQ(e.column, s);
    EXPECT_TRUE(e.tilePresent);
    EXPECT_EQ(e.height, 10 * r + s % 10);
    EXPECT_EQ(e.surfaceClass, s % 7);
    EXPECT_EQ(TerrainElevationAt(cache, lat, lon), 10 * r + s % 10);
  }
  // Within half a step of the north and west edges the square's first row and column are read.
  double lat, lon;
  SampleWorldPosition(code, 0.55, 0.55, &lat, &lon);
  const ElevationLookup edge = LookUpElevation(cache, lat, lon);
  EXPECT_EQ(edge.code, code);
  EXPECT_EQ(edge.row, 1);
  EXPECT_EQ(edge.column, 1);
}

TEST(TerrainElevation, MissingTileAndBadInput) {
  TempFolder dir("missing");
  TileCache cache(dir.str());
  EXPECT_EQ(TerrainElevationAt(cache, 35.36, 138.73), kNoTileElevation);
  const ElevationLookup e = LookUpElevation(cache, 35.36, 138.73);
  EXPECT_FALSE(e.tilePresent);
  EXPECT_EQ(e.height, -999);
  EXPECT_EQ(e.surfaceClass, 9);
  EXPECT_EQ(TerrainElevationAt(cache, NAN, 138.73), kNoTileElevation);
  EXPECT_EQ(TerrainElevationAt(cache, 35.0, 1e300), kNoTileElevation);
  EXPECT_EQ(TerrainElevationAt(cache, -35.0, -70.0), kNoTileElevation);
}

TEST(Destination, FollowsTheAzimuthOverTheArc) {
  const Observer from{35.6586, 139.7454, 0};
  for (double azimuth : {0.0, 45.0, 90.0, 135.0, 180.0, 200.0, 270.0, 315.0}) {
    const GeoPoint p = DestinationPoint(from.latitude, from.longitude, 0.5, azimuth);
    ASSERT_TRUE(std::isfinite(p.latitude) && std::isfinite(p.longitude)) << azimuth;
    SightLine line;
    line.targetLatitude = p.latitude;
    line.targetLongitude = p.longitude;
    ComputeSightLine(from, line);
    double diff = std::fabs(line.azimuth - azimuth);
    diff = std::min(diff, 360 - diff);
    EXPECT_LT(diff, 0.01) << azimuth;
    EXPECT_NEAR(line.centralAngleDeg, 0.5, 1e-3) << azimuth;
  }
  // Along a meridian and at arc 0 rounding must not turn into NaN.
  const GeoPoint north = DestinationPoint(35.0, 139.0, 1.0, 0.0);
  EXPECT_NEAR(north.latitude, 36.0, 1e-9);
  EXPECT_NEAR(north.longitude, 139.0, 1e-6);
  const GeoPoint same = DestinationPoint(35.0, 139.0, 0.0, 123.0);
  EXPECT_NEAR(same.latitude, 35.0, 1e-9);
  EXPECT_NEAR(same.longitude, 139.0, 1e-5);
}

ViewFrame FrameAround(const Observer& o, double halfFov) {
  const SummitSight sight = ComputeSummitSight(o);
  ViewFrame f;
  f.summitAzimuth = sight.summitAzimuth;
  f.summitDistanceKm = sight.summitDistanceKm;
  f.leftAzimuth = std::fmod(sight.summitAzimuth - halfFov + 360, 360);
  f.rightAzimuth = std::fmod(sight.summitAzimuth + halfFov, 360);
  return f;
}

TEST(TilesInView, CoversTheViewFarthestFirst) {
  const Observer tokyo{35.6586, 139.7454, 250};
  const ViewFrame frame = FrameAround(tokyo, 5);
  const TileList list = SelectTilesInView(tokyo, frame);
  ASSERT_FALSE(list.empty());
  std::set<std::string> codes;
  for (const auto& e : list) EXPECT_TRUE(codes.insert(e.code).second) << "twice: " << e.code;
  for (size_t i = 1; i < list.size(); ++i) EXPECT_GE(list[i - 1].distanceKm, list[i].distanceKm);
  const TokyoFromWorld own = WorldToTokyo(tokyo.latitude, tokyo.longitude);
  EXPECT_TRUE(codes.count(MeshCodeOf(own.tokyoLatitude, own.tokyoLongitude)));
  const TokyoFromWorld summit = WorldToTokyo(35.3606, 138.7274);
  EXPECT_TRUE(codes.count(MeshCodeOf(summit.tokyoLatitude, summit.tokyoLongitude)));
  // Nothing behind the viewer: the square 20 km to the east is left out.
  const GeoPoint behind = DestinationPoint(tokyo.latitude, tokyo.longitude, 0.2, 60);
  const TokyoFromWorld b = WorldToTokyo(behind.latitude, behind.longitude);
  EXPECT_FALSE(codes.count(MeshCodeOf(b.tokyoLatitude, b.tokyoLongitude)));
  // A narrower field selects fewer squares, all of them among the wider field's.
  const TileList narrow = SelectTilesInView(tokyo, FrameAround(tokyo, 1));
  EXPECT_LT(narrow.size(), list.size());
  for (const auto& e : narrow) EXPECT_TRUE(codes.count(e.code)) << e.code;
}

TEST(TilesInView, KeepsEverySquareOfAWideViewAndNothingOutsideTheArea) {
  // A 90° field from the far east of the area sees more than 199 squares.
  const Observer choshi{35.7, 140.85, 100};
  const TileList wide = SelectTilesInView(choshi, FrameAround(choshi, 45));
  EXPECT_GT(wide.size(), 199u);
  for (const auto& e : wide) {
    const MeshCorner c = MeshTileCorner(e.code);
    // The scan runs one square beyond the clamped box to the north and east.
    EXPECT_GE(c.latitude, 34.4);
    EXPECT_LE(c.latitude, 36.1);
    EXPECT_GE(c.longitude, 137.9);
    EXPECT_LE(c.longitude, 141.2);
  }
  // From far outside the area only the squares inside it along the view are listed.
  const Observer away{40.0, 141.5, 0};
  const TileList far = SelectTilesInView(away, FrameAround(away, 10));
  EXPECT_FALSE(far.empty());
  for (const auto& e : far) {
    const MeshCorner c = MeshTileCorner(e.code);
    EXPECT_GE(c.latitude, 34.4);
    EXPECT_LE(c.latitude, 36.1);
  }
}

// The tiles and the summit grid the build makes from the real elevation sources.
const std::string kMeshFolder = std::string(VELKARO_BIN_DIR) + "/DATA/DATA1";

TEST(BuiltTiles, RealPlacesHaveTheirHeights) {
  TileCache cache(kMeshFolder);
  // The summit: the highest sample around it.
  const TokyoFromWorld s = WorldToTokyo(35.3606, 138.7274);
  const std::string summitCode = MeshCodeOf(s.tokyoLatitude, s.tokyoLongitude);
  ASSERT_TRUE(fs::exists(MeshTilePath(kMeshFolder, summitCode))) << summitCode;
  int highest = -9999;
  for (int dr = -4; dr <= 4; ++dr) {
    for (int dc = -4; dc <= 4; ++dc) {
      highest = std::max(highest, TerrainElevationAt(cache, 35.3606 + dr * kMeshRowStep,
                                                     138.7274 + dc * kMeshColStep));
    }
  }
  EXPECT_GE(highest, 3700);
  EXPECT_LE(highest, 3776);

  const ElevationLookup yamanaka = LookUpElevation(cache, 35.4186, 138.8731);
  EXPECT_EQ(yamanaka.surfaceClass, kSurfaceWater);
  EXPECT_GE(yamanaka.elevation, 978);
  EXPECT_LE(yamanaka.elevation, 984);
  const ElevationLookup ashi = LookUpElevation(cache, 35.2099, 139.0061);
  EXPECT_EQ(ashi.surfaceClass, kSurfaceWater);
  EXPECT_NEAR(ashi.elevation, 725, 3);
  EXPECT_EQ(LookUpElevation(cache, 36.05, 140.37).surfaceClass, kSurfaceWater);  // Kasumigaura

  const int kofu = TerrainElevationAt(cache, 35.6622, 138.5683);
  EXPECT_GE(kofu, 255);
  EXPECT_LE(kofu, 280);
  EXPECT_LT(TerrainElevationAt(cache, 35.50, 139.85), 0);               // Tokyo Bay
  EXPECT_LT(TerrainElevationAt(cache, 34.95, 138.62), 0);               // Suruga Bay
  EXPECT_LT(TerrainElevationAt(cache, 35.20, 139.40), 0);               // Sagami Bay
  EXPECT_GT(TerrainElevationAt(cache, 35.3606, 138.70), 2000);          // the west slope
  EXPECT_EQ(TerrainElevationAt(cache, 33.5, 139.0), kNoTileElevation);  // beyond the area
}

TEST(BuiltTiles, EveryTileIsWellFormedAndAgreesWithItsNeighbours) {
  std::vector<std::string> codes;
  for (const auto& f : fs::directory_iterator(kMeshFolder)) {
    if (f.path().extension() == ".bh2") codes.push_back(f.path().stem().string());
  }
  ASSERT_GE(codes.size(), 480u);
  const std::set<std::string> present(codes.begin(), codes.end());
  int pairs = 0;
  for (const std::string& code : codes) {
    ASSERT_EQ(fs::file_size(MeshTilePath(kMeshFolder, code)), kMeshTileBytes);
    const MeshTile tile = LoadMeshTile(kMeshFolder, code);
    ASSERT_TRUE(tile.present) << code;
    for (int16_t w : tile.samples) {
      const MeshSample m = DecodeMeshSample(w);
      ASSERT_GE(m.height, -1500) << code;
      ASSERT_LE(m.height, 4776) << code;
      ASSERT_TRUE(m.surfaceClass == kSurfaceLand || m.surfaceClass == kSurfaceWater) << code;
    }
    const MeshCorner c = MeshTileCorner(code);
    const std::string south =
        MeshCodeOf(c.latitude - kMeshSquareLat / 2, c.longitude + kMeshSquareLon / 2);
    const std::string east =
        MeshCodeOf(c.latitude + kMeshSquareLat / 2, c.longitude + kMeshSquareLon * 1.5);
    if (present.count(south)) {
      const MeshTile n = LoadMeshTile(kMeshFolder, south);
      for (int s = 1; s <= kMeshTileSide; ++s) {
        ASSERT_EQ(tile.sample(201, s), n.sample(1, s)) << code << " / " << south;
        ASSERT_EQ(tile.sample(202, s), n.sample(2, s)) << code << " / " << south;
      }
      ++pairs;
    }
    if (present.count(east)) {
      const MeshTile n = LoadMeshTile(kMeshFolder, east);
      for (int r = 1; r <= kMeshTileSide; ++r) {
        ASSERT_EQ(tile.sample(r, 201), n.sample(r, 1)) << code << " / " << east;
        ASSERT_EQ(tile.sample(r, 202), n.sample(r, 2)) << code << " / " << east;
      }
      ++pairs;
    }
  }
  EXPECT_GT(pairs, 900);
}

TEST(EmbeddedSummitGrid, IsTheMountainAroundTheReferencePoint) {
  EXPECT_TRUE(EmbeddedResource("no such resource").empty());
  const auto bytes = EmbeddedResource("zorvht");
  ASSERT_EQ(bytes.size(), 12u + 216 * 176 * 2);
  const SummitGrid grid = LoadSummitGrid(bytes);
  ASSERT_EQ(grid.rows(), 216);
  ASSERT_EQ(grid.cols(), 176);
  EXPECT_FLOAT_EQ(grid.originLatMinutes, 921.575f);
  EXPECT_FLOAT_EQ(grid.originLonMinutes, 1124.025f);
  int top = 0, topRow = 0, topCol = 0, edgeMax = 0;
  for (int i = 1; i <= grid.rows(); ++i) {
    for (int j = 1; j <= grid.cols(); ++j) {
      const int h = grid.height(i, j);
      if (h > top) top = h, topRow = i, topCol = j;
      if (i == 1 || j == 1 || i == grid.rows() || j == grid.cols()) edgeMax = std::max(edgeMax, h);
    }
  }
  // The summit crater rim lies some 300 m south-west of the reference point, at row 111, column 81
  // of the grid, where the program has always had it.
  EXPECT_LE(std::abs(topRow - 111), 2) << topRow;
  EXPECT_LE(std::abs(topCol - 81), 2) << topCol;
  EXPECT_GE(top, 3776 - 40);
  EXPECT_LE(top, 3776);
  EXPECT_LT(edgeMax, 2600);
  EXPECT_GT(grid.height(grid.rows(), grid.cols()), 0);  // the last cell is stored too
}

}  // namespace
}  // namespace velkaro
