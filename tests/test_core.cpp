#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/app_state.h"
#include "core/bytes.h"
#include "core/constants.h"
#include "core/datetime.h"
#include "core/datum.h"
#include "core/day_of_week.h"
#include "core/folders.h"
#include "core/sight_line.h"
#include "core/summit_grid.h"
#include "core/text.h"
#include "core/viewpoint.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;

fs::path TempDir(const std::string& name) {
  fs::path p = fs::temp_directory_path() / ("velkaro_core_" + name + "_" + std::to_string(getpid()));
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

// --- Sight lines -------------------------------------------------------------------------------

TEST(SightLine, DueNorthAndDueSouthOfTheSummitAreExact) {
  SightLine line;
  line.targetLatitude = SummitReference.latitude;
  line.targetLongitude = SummitReference.longitude;
  line.targetHeight = 3776;
  ComputeSightLine({SummitReference.latitude + 0.5, SummitReference.longitude, 0}, line);
  EXPECT_EQ(line.azimuth, 180.0);
  ComputeSightLine({SummitReference.latitude - 0.5, SummitReference.longitude, 0}, line);
  EXPECT_EQ(line.azimuth, 0.0);
  EXPECT_NEAR(line.distanceKm, 30 * 1.852, 1e-9);
}

TEST(SightLine, SameLatitudeGoesThroughTheTinyDifference) {
  SightLine line;
  line.targetLatitude = 35.0;
  line.targetLongitude = 139.5;
  line.targetHeight = 0;
  const Observer west{35.0, 139.0, 0};
  ComputeSightLine(west, line);
  ASSERT_TRUE(std::isfinite(line.azimuth));
  // The great circle to a point due east leaves a little north of east.
  EXPECT_LT(line.azimuth, 90.0);
  EXPECT_GT(line.azimuth, 89.5);
  line.targetLongitude = 138.5;
  ComputeSightLine(west, line);
  EXPECT_GT(line.azimuth, 270.0);
  EXPECT_LT(line.azimuth, 270.5);
}

TEST(SightLine, AzimuthStaysInRangeAllAround) {
  SightLine line;
  line.targetLatitude = SummitReference.latitude;
  line.targetLongitude = SummitReference.longitude;
  line.targetHeight = 3776;
  for (int k = 0; k < 3600; ++k) {
    const double a = k * 0.1 * kDegToRad;
    const Observer o{SummitReference.latitude + 0.3 * std::cos(a),
                     SummitReference.longitude + 0.3 * std::sin(a), 10};
    ComputeSightLine(o, line);
    ASSERT_GE(line.azimuth, 0.0) << k;
    ASSERT_LT(line.azimuth, 360.0) << k;
  }
}

TEST(SightLine, DefaultViewpointSeesTheSummitInTheWestSouthWest) {
  const Pick p = DefaultViewpointPick();
  const Observer o{p.latitude, p.longitude, p.elevation};
  SightLine line;
  line.targetLatitude = SummitReference.latitude;
  line.targetLongitude = SummitReference.longitude;
  line.targetHeight = 3776;
  ComputeSightLine(o, line);
  EXPECT_NEAR(line.azimuth, 263.2, 0.3);
  EXPECT_NEAR(line.distanceKm, 82.1, 0.5);
  // The full geometric drop of a sphere of 6400 km: d² / 2R.
  const double dKm = line.centralAngle * 6400.0;
  EXPECT_NEAR(line.dropM, dKm * dKm / (2 * 6400.0) * 1000, 1.0);
  const float h = static_cast<float>(3776 - line.dropM - (273 + 1.5));
  EXPECT_DOUBLE_EQ(line.elevationAngle, std::atan(h / (line.distanceKm * 1000)) / kDegToRad);
}

TEST(SightLine, CloseTargetsKeepThePreviousElevationAngle) {
  const Observer o{35.0, 139.0, 100};
  SightLine line;
  line.targetLatitude = 35.1;
  line.targetLongitude = 139.0;
  line.targetHeight = 1000;
  ComputeSightLine(o, line);
  const double far = line.elevationAngle;
  const double drop = line.dropM;
  const double central = line.centralAngleDeg;
  ASSERT_GT(far, 0);

  // 50 m away: the elevation angle is not rewritten, the distance is.
  line.targetLatitude = 35.0 + 0.05 / (60 * 1.852);
  ComputeSightLine(o, line);
  EXPECT_NEAR(line.distanceKm, 0.05, 1e-6);
  EXPECT_EQ(line.elevationAngle, far);

  // The viewpoint itself: distance 0, everything else left as it was.
  line.targetLatitude = 35.0;
  ComputeSightLine(o, line);
  EXPECT_EQ(line.distanceKm, 0.0);
  EXPECT_EQ(line.centralAngle, 0.0);
  EXPECT_EQ(line.elevationAngle, far);
  EXPECT_NE(line.dropM, drop);  // the 50 m call rewrote the drop...
  EXPECT_NE(line.centralAngleDeg, central);
  const double keptDrop = line.dropM;
  ComputeSightLine(o, line);
  EXPECT_EQ(line.dropM, keptDrop);  // ...and the coinciding target left it alone
}

TEST(SummitSight, ToleranceIsTheAngleOfTwoKilometres) {
  const SummitSight s = ComputeSummitSight({35.45472, 139.63062, 273});
  EXPECT_GT(s.e3700, s.e2600);
  EXPECT_NEAR(s.toleranceDeg, std::atan(2.0 / s.summitDistanceKm) / kDegToRad, 1e-6);
  EXPECT_NEAR(s.toleranceDeg, 1.395, 0.01);
}

// --- Datum -------------------------------------------------------------------------------------

TEST(Datum, TokyoToWorldMovesNorthAndWestByAFewSeconds) {
  const DatumShift s = TokyoToWorld(35.36, 138.73);
  EXPECT_GT(s.shiftLatitude * 3600, 10);
  EXPECT_LT(s.shiftLatitude * 3600, 14);
  EXPECT_LT(s.shiftLongitude * 3600, -10);
  EXPECT_GT(s.shiftLongitude * 3600, -14);
  EXPECT_FLOAT_EQ(s.worldLatitude, static_cast<float>(35.36 + s.shiftLatitude));
}

TEST(Datum, WorldToTokyoReturnsCloseToTheStart) {
  for (double lat = 34.5; lat <= 36.1; lat += 0.4)
    for (double lon = 138.0; lon <= 141.0; lon += 0.5) {
      const DatumShift w = TokyoToWorld(lat, lon);
      const TokyoFromWorld t = WorldToTokyo(w.worldLatitude, w.worldLongitude);
      EXPECT_NEAR(t.tokyoLatitude, lat, 0.02 / 3600 + 1e-5);
      EXPECT_NEAR(t.tokyoLongitude, lon, 0.02 / 3600 + 1e-5);
      // The side result is the forward conversion of the world point itself.
      EXPECT_EQ(t.forward.worldLatitude, TokyoToWorld(w.worldLatitude, w.worldLongitude).worldLatitude);
    }
}

TEST(Datum, GridOriginConvertsNearTheSummitReference) {
  const WorldLatLon p = TokyoMinutesToWorld(921.575, 1124.025);
  SightLine line;
  line.targetLatitude = p.latitude;
  line.targetLongitude = p.longitude;
  ComputeSightLine({SummitReference.latitude, SummitReference.longitude, 0}, line);
  EXPECT_LT(line.distanceKm, 0.08);
}

// --- Dates -------------------------------------------------------------------------------------

TEST(DateTime, EpochWeekdaysAndTexts) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_STREQ(DayOfWeekMark(EncodeDate(2026, 12, 9)), "水");
  EXPECT_STREQ(DayOfWeekMark(EncodeDate(2012, 5, 20)), "日");
  EXPECT_STREQ(DayOfWeekMark(EncodeDate(1899, 12, 30)), "土");
  const DateTime t = EncodeDateTime(2012, 5, 21, 7, 5, 9);
  EXPECT_EQ(FormatDateTime(t), "2012/05/21 07:05:09");
  EXPECT_EQ(FormatLongTime(t), "7:05:09");
  EXPECT_EQ(FormatHourMinute(t), "07:05");
  // The fraction of a second is dropped, never rounded up.
  EXPECT_EQ(DecodeDateTime(EncodeDateTime(2015, 1, 1, 10, 10, 10) + 0.9 / 86400).second, 10);
  EXPECT_EQ(DecodeDateTime(EncodeDateTime(2015, 1, 1, 10, 10, 10)).second, 10);
}

TEST(DateTime, ParsingRejectsImpossibleDates) {
  DateTime t = 0;
  EXPECT_TRUE(ParseDateTime("2024/02/29", t));
  EXPECT_EQ(t, EncodeDate(2024, 2, 29));
  EXPECT_TRUE(ParseDateTime("2015/1/1 10:10:10", t));
  EXPECT_FALSE(ParseDateTime("2023/02/29", t));
  EXPECT_FALSE(ParseDateTime("2023/02/31", t));
  EXPECT_FALSE(ParseDateTime("2023/13/01", t));
  EXPECT_FALSE(ParseDateTime("2023/01/01 24:00:00", t));
  EXPECT_FALSE(ParseDateTime("tomorrow", t));
  EXPECT_FALSE(ParseDateTime("2023/01/01x", t));
}

TEST(DateTime, TodayIsTheDateInJapan) {
  // 2026-12-09 20:30 UTC is already 12-10 in Japan.
  const Clock clock = [] { return EncodeDateTime(2026, 12, 10, 5, 30, 0); };
  EXPECT_EQ(TodayJst(clock), EncodeDate(2026, 12, 10));
  const double now = SystemClockJst();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
}

// --- Viewpoint and altitude correction ---------------------------------------------------------

TEST(Viewpoint, AltitudeCorrectionTexts) {
  double v = 0;
  EXPECT_TRUE(ParseAltitudeCorrection("+50m", v));
  EXPECT_EQ(v, 50);
  EXPECT_TRUE(ParseAltitudeCorrection("  100", v));
  EXPECT_EQ(v, 100);
  EXPECT_TRUE(ParseAltitudeCorrection("10000", v));
  EXPECT_EQ(v, 10000);
  EXPECT_TRUE(ParseAltitudeCorrection("25.5m", v));
  EXPECT_EQ(v, 25.5);
  for (const char* item : kAltitudeCorrectionItems) EXPECT_TRUE(ParseAltitudeCorrection(item, v));
  EXPECT_FALSE(ParseAltitudeCorrection("abc", v));
  EXPECT_FALSE(ParseAltitudeCorrection("", v));
  EXPECT_FALSE(ParseAltitudeCorrection("m50", v));
}

TEST(Viewpoint, CorrectionIsAppliedOnceFromThePick) {
  const Pick pick = DefaultViewpointPick();
  LoadedViewpoint a = LoadCurrentViewpoint(pick, true, "  100");
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.viewpoint.elevation, 373.0f);
  EXPECT_EQ(a.viewpoint.baseElevation, 273.0f);
  // A second load with another value starts again from the pick.
  a = LoadCurrentViewpoint(pick, true, "   20");
  EXPECT_EQ(a.viewpoint.elevation, 293.0f);
  a = LoadCurrentViewpoint(pick, false, "   20");
  EXPECT_EQ(a.viewpoint.elevation, 273.0f);
  EXPECT_EQ(a.viewpoint.name, "横浜ランドマークタワー");
  EXPECT_EQ(a.viewpoint.latitude, static_cast<double>(35.45472f));
}

TEST(Viewpoint, UnreadableCorrectionIsAConversionErrorAndKeepsThePick) {
  const LoadedViewpoint a = LoadCurrentViewpoint(DefaultViewpointPick(), true, "５０");
  EXPECT_FALSE(a.ok);
  EXPECT_NE(a.error.find("５０"), std::string::npos);
  EXPECT_EQ(a.viewpoint.elevation, 273.0f);
}

TEST(AppState, StartsInViewModeOnTheCataloguePick) {
  AppState s;
  EXPECT_EQ(s.selectedPick().name, "横浜ランドマークタワー");
  s.pickSelector = PickSelector::kMap;
  EXPECT_EQ(s.selectedPick().name, "New Point");
  EXPECT_EQ(s.viewMode, ViewMode::kView);
  EXPECT_EQ(s.screenState, ScreenState::kPanorama);
}

// --- Folders -----------------------------------------------------------------------------------

TEST(Folders, PathsAndTheUserFolder) {
  const fs::path dir = TempDir("folders");
  const AppFolders f = MakeAppFolders(dir.string());
  EXPECT_EQ(f.programFolder.back(), '/');
  EXPECT_EQ(f.registeredPlaces, f.programFolder + "DATA/DATA3/location.csv");
  EXPECT_EQ(f.labelList, f.programFolder + "DATA/DATA2/d10.03");
  EXPECT_EQ(f.helpFile, f.programFolder + "velkaro_help/velkaro.html");

  // Without DATA the user folder cannot be made: DATA itself is never created here.
  std::string error;
  EXPECT_FALSE(EnsureUserFolder(f, &error));
  EXPECT_NE(error.find("I/O error"), std::string::npos);
  EXPECT_FALSE(fs::exists(f.dataFolder));

  fs::create_directories(f.dataFolder);
  EXPECT_TRUE(EnsureUserFolder(f, &error));
  EXPECT_TRUE(fs::is_directory(f.userFolder));
  EXPECT_TRUE(EnsureUserFolder(f, &error));  // already there
  EXPECT_FALSE(fs::exists(f.meshFolder));
  fs::remove_all(dir);
}

// --- Summit grid -------------------------------------------------------------------------------

SummitGrid MakeGrid(int rows, int cols) {
  SummitGrid g;
  g.originLatMinutes = 921.575f;
  g.originLonMinutes = 1124.025f;
  g.Resize(rows, cols);
  for (int i = 1; i <= rows; ++i)
    for (int j = 1; j <= cols; ++j) g.setHeight(i, j, 1000 + i * 10 + j);
  return g;
}

TEST(SummitGrid, RoundTripWithTheLastCellMissing) {
  const SummitGrid g = MakeGrid(216, 176);
  const std::vector<uint8_t> bytes = EncodeSummitGrid(g, true);
  EXPECT_EQ(bytes.size(), 76042u);
  const SummitGrid r = LoadSummitGrid(bytes);
  ASSERT_EQ(r.rows(), 216);
  ASSERT_EQ(r.cols(), 176);
  EXPECT_EQ(r.originLatMinutes, 921.575f);
  EXPECT_EQ(r.height(1, 1), 1011);
  EXPECT_EQ(r.height(216, 175), 1000 + 2160 + 175);
  EXPECT_EQ(r.height(216, 176), 0);
  EXPECT_EQ(r.height(0, 5), 0);
}

TEST(SummitGrid, Placement) {
  const SummitGrid g = MakeGrid(216, 176);
  EXPECT_EQ(g.referenceRow(), 105);
  EXPECT_EQ(g.referenceCol(), 87);
  EXPECT_EQ(g.latitude(105), 35.363521);
  EXPECT_EQ(g.longitude(87), 138.730783333);
  EXPECT_DOUBLE_EQ(g.latitude(1), 35.363521 + 104 / 2400.0);
  EXPECT_DOUBLE_EQ(g.longitude(176), 138.730783333 + 89 / 1600.0);
  for (int i : {1, 50, 105, 216}) EXPECT_EQ(g.RowOf(g.latitude(i)), i);
  for (int j : {1, 87, 176}) EXPECT_EQ(g.ColOf(g.longitude(j)), j);
}

TEST(SummitGrid, TruncatedOrAbsentBytesNeverReadPastTheEnd) {
  EXPECT_TRUE(LoadSummitGrid({}).empty());
  std::vector<uint8_t> bytes = EncodeSummitGrid(MakeGrid(4, 3));
  EXPECT_TRUE(LoadSummitGrid(std::span(bytes.data(), 11)).empty());
  // Header plus four and a half values: four cells present, the rest 0.
  const SummitGrid r = LoadSummitGrid(std::span(bytes.data(), 12 + 9));
  ASSERT_EQ(r.rows(), 4);
  EXPECT_EQ(r.height(1, 3), 1013);
  EXPECT_EQ(r.height(2, 1), 1021);
  EXPECT_EQ(r.height(2, 2), 0);
  // A negative size in the header gives an empty grid.
  bytes[9] = 0xff;
  EXPECT_TRUE(LoadSummitGrid(bytes).empty());
  // So does a size far beyond any mountain, instead of a huge allocation of zeros.
  bytes[8] = 0xff;
  bytes[9] = 0x7f;
  bytes[10] = 0xff;
  bytes[11] = 0x7f;
  EXPECT_TRUE(LoadSummitGrid(bytes).empty());
}

// --- Text conventions --------------------------------------------------------------------------

TEST(Text, SplitFieldsTrimsAroundSeparators) {
  EXPECT_EQ(SplitFields("  one field  "), std::vector<std::string>{"  one field  "});
  EXPECT_EQ(SplitFields(",a"), (std::vector<std::string>{"", "a"}));
  EXPECT_EQ(SplitFields(" a , b ,c "), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(SplitFields("a,b,"), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(SplitFields("a,,b"), (std::vector<std::string>{"a", "", "b"}));
  // No field limit and no line length limit.
  std::string many;
  for (int i = 0; i < 50; ++i) many += std::to_string(i) + ",";
  many += std::string(6000, 'x');
  const auto f = SplitFields(many);
  ASSERT_EQ(f.size(), 51u);
  EXPECT_EQ(f.back().size(), 6000u);
  EXPECT_EQ(Field(f, 1), "0");
  EXPECT_EQ(Field(f, 99), "");
  EXPECT_EQ(SplitFieldsZero("a,,b,"), (std::vector<std::string>{"a", "0", "b", "0"}));
}

TEST(Text, NumbersReadTheUsualWay) {
  EXPECT_EQ(ParseNumber(" 35.5 "), 35.5);
  EXPECT_EQ(ParseNumber("-0.25"), -0.25);
  EXPECT_EQ(ParseNumber("+3"), 3.0);
  EXPECT_EQ(ParseNumber("1e3"), 1000.0);
  EXPECT_EQ(ParseNumber(".5"), 0.5);
  for (const char* bad : {"", " ", "abc", "1,5", "nan", "inf", "--1", "3m", "1.2.3"})
    EXPECT_FALSE(ParseNumber(bad).has_value()) << bad;
  EXPECT_EQ(ParseInteger(" 42"), 42);
  EXPECT_FALSE(ParseInteger("4.2").has_value());
}

TEST(Text, BlanksAndKana) {
  EXPECT_EQ(StripBlanks("富士　山 頂 "), "富士山頂");
  EXPECT_EQ(StripBlanks("　横浜 タワー"), StripBlanks("横浜タワー"));
  EXPECT_EQ(KatakanaToHiragana("ヨコハマ ランドマークタワー"), "よこはま らんどまーくたわー");
  EXPECT_EQ(KatakanaToHiragana("ヴァ ヶ ヽ abc 漢字"), "ゔぁ ゖ ゝ abc 漢字");
}

TEST(Text, Cp932RoundTripAndWidths) {
  const std::string s = "横浜ランドマークタワー,35.45472,①";
  const auto enc = Utf8ToCp932(s);
  ASSERT_TRUE(enc.has_value());
  EXPECT_EQ(static_cast<unsigned char>((*enc)[0]), 0x89u);  // 横 = 0x89A1
  EXPECT_EQ(Cp932ToUtf8(*enc), s);
  EXPECT_EQ(Cp932Width("abc"), 3);
  EXPECT_EQ(Cp932Width("富士abc"), 7);
  EXPECT_EQ(Cp932Width("ｱｲ"), 2);  // half-width katakana
  // A character outside the code page is an error, never dropped silently.
  std::string error;
  EXPECT_FALSE(Utf8ToCp932("emoji 😀", &error).has_value());
  EXPECT_NE(error.find("byte"), std::string::npos);
  EXPECT_FALSE(Cp932ToUtf8("\x81", &error).has_value());
}

TEST(Text, VisibilityGrades) {
  const std::pair<int, const char*> cases[] = {
      {127, "△"}, {158, "△"}, {159, "○"}, {190, "○"}, {191, "◎"}, {222, "◎"}, {223, "●"}, {255, "●"},
      {0, "△"}};
  for (const auto& [value, symbol] : cases)
    EXPECT_STREQ(GradeSymbol(VisibilityGrade(value)), symbol) << value;
  EXPECT_EQ(VisibilityGrade(255), 100);
  EXPECT_EQ(VisibilityGrade(127), 0);
  EXPECT_LT(VisibilityGrade(100), 0);
}

TEST(Text, GeneralDecimalForm) {
  EXPECT_EQ(FormatGeneral(35.45472f), "35.454719543457");
  EXPECT_EQ(FormatGeneral(273.0f), "273");
  EXPECT_EQ(FormatGeneral(0.5), "0.5");
  EXPECT_EQ(FormatGeneral(-12.25), "-12.25");
  EXPECT_EQ(FormatGeneral(0.0), "0");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(1e-6), "1E-6");
  EXPECT_EQ(FormatGeneral(1e20), "1E+20");
  EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
}

TEST(Text, FormatDecimalsCutsAfterAddingHalf) {
  EXPECT_EQ(FormatDecimals(1, 3), "3.0");
  EXPECT_EQ(FormatDecimals(1, 3.96), "4.0");
  EXPECT_EQ(FormatDecimals(1, 2.44), "2.4");
  EXPECT_EQ(FormatDecimals(1, 2.45), "2.5");
  // 1.005 + 0.005 is stored just below 1.01, but 15 significant digits read it as 1.01.
  EXPECT_EQ(FormatDecimals(2, 1.005), "1.01");
  EXPECT_EQ(FormatDecimals(1, 14.0), "14.0");
}

TEST(Text, Lines) {
  EXPECT_EQ(SplitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(JoinCrLf({"a", "b"}), "a\r\nb\r\n");
}

TEST(Files, AtomicWritesReplaceWholeOrNotAtAll) {
  const fs::path dir = TempDir("atomic");
  const std::string path = (dir / "location.csv").string();
  ASSERT_TRUE(WriteCp932Lines(path, {"富士山頂,35.3606,138.7274"}));
  EXPECT_EQ(ReadCp932Lines(path), (std::vector<std::string>{"富士山頂,35.3606,138.7274"}));
  EXPECT_FALSE(fs::exists(path + ".tmp"));
  const auto before = ReadFileBytes(path);

  // A line that code page 932 cannot hold fails before anything is touched.
  std::string error;
  EXPECT_FALSE(WriteCp932Lines(path, {"😀"}, &error));
  EXPECT_EQ(ReadFileBytes(path), before);

  // A temporary file that cannot be created (a folder stands in its way) leaves the old file.
  fs::create_directories(path + ".tmp");
  EXPECT_FALSE(WriteFileAtomic(path, "new", &error));
  EXPECT_EQ(ReadFileBytes(path), before);
  fs::remove_all(path + ".tmp");

  EXPECT_FALSE(ReadCp932Lines((dir / "missing").string()).has_value());
  std::ofstream(dir / "bad") << "ok\r\n\x82\r\n";
  EXPECT_FALSE(ReadCp932Lines((dir / "bad").string(), &error).has_value());
  EXPECT_NE(error.find("line 2"), std::string::npos);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace velkaro
