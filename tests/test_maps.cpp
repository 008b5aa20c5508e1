#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "catalogue/registered.h"
#include "core/text.h"
#include "maps/bridge.h"
#include "maps/elevation_reply.h"
#include "maps/pages.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;

// --- Pages ---------------------------------------------------------------------------------------

TEST(Pages, DirectionPageLinesCarryThePointsAndTheConfiguredHosts) {
  PageHosts hosts;
  hosts.leafletCdn = "cdn.example";
  const std::vector<std::string> lines =
      DirectionMapPageLines({35.45472, 139.63062}, {35.4, 139.5}, hosts);
  ASSERT_EQ(lines.size(), 31u);
  EXPECT_EQ(lines[5],
            "<script src=\"https://cdn.example/leaflet@1.3.0/dist/leaflet.js\"></script>");
  EXPECT_EQ(lines[12], "      var mypoint = [35.45472,139.63062];");
  EXPECT_EQ(
      lines[15],
      "      var gsi_std = L.tileLayer('http://cyberjapandata.gsi.go.jp/xyz/std/{z}/{x}/{y}.png',"
      "{ attribution: '地理院標準タイル ',maxZoom: 18});");
  EXPECT_EQ(
      lines[21],
      "       L.polyline([[35.45472,139.63062],[35.4,139.5]],{ \"color\" : \"red\", \"weight\": 3, "
      "\"opacity\": 0.5}).addTo(mapobj); ");
  EXPECT_EQ(lines[27], "<body onload=\"init()\"> ");
}

TEST(Pages, ListPointPageWritesTheWidenedSinglePrecisionPoint) {
  const std::vector<std::string> lines = ListPointMapPageLines(35.45472f, 139.63062f, {});
  ASSERT_EQ(lines.size(), 30u);
  EXPECT_EQ(lines[12], "      var mypoint = [35.454719543457,139.630615234375];");
  EXPECT_EQ(
      lines[22],
      "      L.marker([35.454719543457,139.630615234375],{title:\"登録済\"}).addTo(mapobj); ");
}

TEST(Pages, PickPageBlocksComeInTheirOrderWithTheirLineShapes) {
  RegisteredViewpoints reg;
  reg.rows = {"甲,こう,x,35.5,139.5,1,2015/02/03 17:25,2015/11/08 16:41", "乙,おつ,x,,139.5,1,",
              "丙,へい,x,35.6,139.6,1,"};
  PickMapContent c;
  c.centre = {35.5, 139.25};
  c.mode = ViewMode::kDiamond;
  c.companionA = {{35.1, 139.1}, {35.2, 139.2}};
  c.companionB = {{35.3, 139.3}, {35.4, 139.4}};
  c.registered = &reg;
  c.mainLine = {{35.5, 139.5}, {35.6, 139.6}};
  const std::vector<std::string> lines = PickMapPageLines(c, {});
  const std::vector<std::string> expectedMiddle = {
      "    L.polyline([",
      "      [35.1,139.1],",
      "           [35.2,139.2]",
      "    ],{color: 'red', weight: 5, opacity: .7, dashArray: '10,3'}).addTo(mapobj);",
      "",
      "\t\tL.polyline([",
      "           [35.3,139.3],",
      "      [35.4,139.4]",
      "    ],{color: 'red', weight: 5, opacity: .7, dashArray: '10,3'}).addTo(mapobj);",
      "",
      "               L.marker([35.5,139.5],{title:'甲  02/03 17:25 & 11/08 16:41',icon:greenIcon})"
      ".addTo(mapobj);",
      "               L.marker([35.6,139.6],{title:'丙',icon:greenIcon}).addTo(mapobj);",
      "",
      "    L.polyline([",
      "           [35.5,139.5],",
      "           [35.6,139.6]",
      "    ],{color: 'red', weight: 7, opacity: 1}).addTo(mapobj);",
  };
  ASSERT_EQ(lines.size(), 35 + expectedMiddle.size() + 38);
  EXPECT_EQ(lines[13], "      var mypoint = [35.5,139.25];");
  EXPECT_EQ(lines[34], "");
  for (size_t i = 0; i < expectedMiddle.size(); ++i)
    EXPECT_EQ(lines[35 + i], expectedMiddle[i]) << i;
  EXPECT_EQ(lines[35 + expectedMiddle.size()], "");
  EXPECT_EQ(lines[35 + expectedMiddle.size() + 1], "}");
  EXPECT_EQ(lines[lines.size() - 9], "\t      <input type=\"hidden\" id=\"zoomLevel\">");
  EXPECT_EQ(lines.back(), " ");

  EXPECT_DOUBLE_EQ(PickMapCentre({1, 2}, {}).latitude, 1);
  MapLine sixteen(16);
  sixteen[6] = {35.7, 139.7};
  EXPECT_DOUBLE_EQ(PickMapCentre({1, 2}, sixteen).longitude, 139.7);

  // Without the optional parts only the fixed lines remain.
  PickMapContent plain;
  plain.mode = ViewMode::kPearl;
  EXPECT_EQ(PickMapPageLines(plain, {}).size(), 35u + 38u);
}

TEST(Pages, MarkerTitlesAreEscapedAndBadCoordinatesSkipped) {
  EXPECT_EQ(RegisteredMarkerLine("甲,こう,x,35.5,139.5,1,2015/02/03 17:25,2015/11/08 16:41", false),
            "               L.marker([35.5,139.5],{title:'甲',icon:greenIcon}).addTo(mapobj);");
  EXPECT_EQ(RegisteredMarkerLine("O'Brien's <b>\\,r,x,35,139,1,", false),
            "               L.marker([35,139],{title:'O\\'Brien\\'s \\x3Cb>\\\\',icon:greenIcon})"
            ".addTo(mapobj);");
  EXPECT_EQ(RegisteredMarkerLine("悪い,r,x,1]);alert(1);//,139,1,", false), "");
  EXPECT_EQ(RegisteredMarkerLine(",r,x,35,139,1,", false), "");
  // A single event of 12 characters or fewer adds nothing; a second one needs 13.
  EXPECT_EQ(RegisteredMarkerLine("甲,r,x,35,139,1,2015/02/03,2015/11/08 16:41", true),
            "               L.marker([35,139],{title:'甲',icon:greenIcon}).addTo(mapobj);");
  EXPECT_EQ(
      RegisteredMarkerLine("甲,r,x,35,139,1,2015/02/03 17:25,OB", true),
      "               L.marker([35,139],{title:'甲  02/03 17:25',icon:greenIcon}).addTo(mapobj);");
}

TEST(Pages, WrittenPagesAreCodePage932WithCrLfAndNoByteOrderMark) {
  const fs::path dir = fs::temp_directory_path() / ("velkaro_maps_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string path = (dir / "kgmap.html").string();
  ASSERT_TRUE(WriteFileAtomic(path, std::string(100000, 'x')));  // an old, longer page
  ASSERT_TRUE(WriteDirectionMapPage(path, {35.1, 139.1}, {35.2, 139.2}));
  const std::string bytes = ReadFileBytes(path).value();
  EXPECT_EQ(bytes.substr(0, 17), "<!DOCTYPE html>\r\n");
  EXPECT_EQ(Cp932ToUtf8(bytes).value(),
            JoinCrLf(DirectionMapPageLines({35.1, 139.1}, {35.2, 139.2}, {})));
  EXPECT_FALSE(fs::exists(path + ".tmp"));
  fs::remove_all(dir);
}

// --- Browser bridge ------------------------------------------------------------------------------

struct BridgeFixture : ::testing::Test {
  BridgeFixture() { state.screenState = ScreenState::kMapSelection; }
  BridgeActions Notify(std::vector<PageField> fields) {
    BridgeInputs in;
    in.fields = std::move(fields);
    return OnBrowserCommandState(in, bridge, state, terrain, fetch);
  }
  static std::vector<PageField> Click(const std::string& lat, const std::string& lng) {
    return {{"lat", lat}, {"lng", lng}, {"clat", lat}, {"clon", lng}, {"zoomLevel", "12"}};
  }
  BridgeState bridge;
  AppState state;
  int terrainCalls = 0, fetchCalls = 0;
  std::string fetched;
  TerrainLookup terrain = [this](double, double) {
    ++terrainCalls;
    return -3;
  };
  ElevationFetch fetch = [this](const std::string& lat, const std::string& lng) {
    ++fetchCalls;
    fetched = lat + "&" + lng;
    return std::string("1234");
  };
};

TEST_F(BridgeFixture, HiddenFieldsAreTheLastMatchWithoutRegardToCase) {
  const std::vector<PageField> f = {{"LAT", "1"}, {"lat", "2"}, {"Lat", "3"}, {"lng", "4"}};
  EXPECT_EQ(ReadHiddenField(f, "lat"), "3");
  EXPECT_EQ(ReadHiddenField(f, "elv"), "");
  EXPECT_EQ(Notify({{"elv", "-5"}}).elv, "0");
  EXPECT_EQ(Notify({}).elv, "0");
  EXPECT_EQ(Notify({{"elv", "12"}}).elv, "12");
}

TEST_F(BridgeFixture, AClickInTheAreaRecentresThenPicksWithTheTerrainElevation) {
  BridgeActions a = Notify(Click("35.36123456789", "138.712345678901"));
  EXPECT_TRUE(a.centreMoved);
  EXPECT_TRUE(a.centreInArea);
  EXPECT_TRUE(a.picked);
  EXPECT_EQ(a.zoomLevel, "12");
  EXPECT_EQ(a.pickLatitudeText, "35.361234");
  EXPECT_EQ(a.pickLongitudeText, "138.712345");
  EXPECT_EQ(a.elevationText, "0");  // a negative terrain height counts as 0
  EXPECT_EQ(terrainCalls, 1);
  EXPECT_EQ(fetchCalls, 0);
  EXPECT_EQ(a.pageScript, "GotoLatLng(35.361234,138.712345)");
  EXPECT_EQ(state.pickSelector, PickSelector::kMap);
  EXPECT_FLOAT_EQ(state.mapPick.latitude, 35.361234f);
  EXPECT_DOUBLE_EQ(state.viewpoint.latitude, 35.361234);
  EXPECT_FALSE(a.runDiamondSearch);

  // The same texts again (a reload): nothing but the remark fields.
  state.eventOverlayMode = EventOverlayMode::kSunPath;
  BridgeActions again = Notify(Click("35.36123456789", "138.712345678901"));
  EXPECT_FALSE(again.centreMoved);
  EXPECT_FALSE(again.picked);
  EXPECT_TRUE(again.clearRemark);
  EXPECT_EQ(state.eventOverlayMode, EventOverlayMode::kSunPath);
  EXPECT_EQ(terrainCalls, 1);
}

TEST_F(BridgeFixture, APickOutsideTheAreaAsksTheServiceAndStillMovesTheMap) {
  state.viewMode = ViewMode::kDiamond;
  BridgeActions a = Notify(Click("36.10000000001", "139.50000000001"));
  EXPECT_EQ(fetched, "36.100000&139.500000");
  EXPECT_TRUE(a.centreMoved);
  EXPECT_FALSE(a.centreInArea);
  EXPECT_TRUE(a.elevationFromService);
  EXPECT_EQ(a.elevationText, "1234");
  EXPECT_EQ(state.mapPick.elevation, 1234.0f);
  EXPECT_EQ(a.pageScript, "GotoLatLng(36.100000,139.500000)");
  EXPECT_TRUE(a.runDiamondSearch);
  EXPECT_EQ(fetchCalls, 1);

  fetch = [](const std::string&, const std::string&) { return std::string("\"-----\""); };
  BridgeActions unusable = Notify(Click("36.200000", "139.5"));
  EXPECT_EQ(unusable.elevationText, "");
  EXPECT_EQ(state.mapPick.elevation, 0.0f);
}

TEST_F(BridgeFixture, OnlyTheMapScreenWithCommandMinusOneReadsTheFields) {
  state.screenState = ScreenState::kPanorama;
  BridgeActions a = Notify(Click("35.3", "138.7"));
  EXPECT_TRUE(a.selectDrawSize11);
  EXPECT_FALSE(a.handled);
  state.screenState = ScreenState::kMapSelection;
  BridgeInputs in;
  in.commandNumber = 2;
  in.fields = Click("35.3", "138.7");
  EXPECT_FALSE(OnBrowserCommandState(in, bridge, state, terrain, fetch).handled);
}

TEST_F(BridgeFixture, AnUnreadableCentreStillLetsThePickRun) {
  BridgeActions a = Notify({{"lat", "35.3"}, {"lng", "138.7"}, {"clat", "abc"}, {"clon", "138.7"}});
  EXPECT_FALSE(a.centreMoved);
  EXPECT_FALSE(a.centreError.empty());
  EXPECT_TRUE(a.picked);
}

TEST(DiamondPickLabels, NoEventOneOrTwoDates) {
  EXPECT_EQ(DiamondPickLabelTexts({}).label30, "ﾀﾞｲﾔﾓﾝﾄﾞZorvは見えません");
  EXPECT_FALSE(DiamondPickLabelTexts({}).showLabel31);
  const DiamondPickLabels two =
      DiamondPickLabelTexts({EncodeDateTime(2026, 2, 3, 17, 25, 0), EncodeDate(2026, 11, 8)});
  EXPECT_TRUE(two.showLabel31);
  EXPECT_EQ(two.label30, "2026/02/03 火");
  EXPECT_EQ(two.label32, "2026/11/08 日");
}

// --- Elevation reply -----------------------------------------------------------------------------

TEST(ElevationReply, UrlAndFirstMemberOfTheFirstLine) {
  EXPECT_EQ(ElevationRequestUrl("35.361234", "138.712345", "http://dem.example"),
            "http://dem.example/general/dem/scripts/getelevation.php?lon=138.712345&lat=35.361234"
            "&outtype=JSON");
  EXPECT_EQ(ElevationReplyText("{\"elevation\":3776,\"hsrc\":\"5m\"}\r\nsecond"), "3776");
  EXPECT_EQ(ElevationFromReply("{\"elevation\":3776,\"hsrc\":\"5m\"}"), "3776");
  EXPECT_EQ(ElevationReplyText("{\"elevation\":\"-----\",\"hsrc\":\"-----\"}"), "\"-----\"");
  EXPECT_EQ(ElevationFromReply("{\"elevation\":\"-----\",\"hsrc\":\"-----\"}"), "");
  EXPECT_EQ(ElevationReplyText("{\"elevation\":3776}"), "");
  EXPECT_EQ(ElevationReplyText("1234,5"), "1234");
  EXPECT_EQ(ElevationReplyText("{\"e\":123456789012345678901234,\"x\":1}"), "12345678901234567890");
  EXPECT_EQ(ElevationReplyMetres(""), 0.0);
}

}  // namespace
}  // namespace velkaro
