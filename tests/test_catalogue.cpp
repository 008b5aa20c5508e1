#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "catalogue/adding.h"
#include "catalogue/cp932_text.h"
#include "catalogue/last_viewpoint.h"
#include "catalogue/list_model.h"
#include "catalogue/picks.h"
#include "catalogue/registered.h"
#include "core/constants.h"
#include "core/sight_line.h"
#include "core/text.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;

class Folder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("velkaro_catalogue_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    csv_ = (dir_ / "location.csv").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteRaw(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(WriteFileAtomic(path, bytes));
  }
  void WriteRows(const std::vector<std::string>& rows) {
    ASSERT_TRUE(WriteCp932LinesLossless(csv_, rows));
  }
  std::string Raw(const std::string& path) { return ReadFileBytes(path).value_or("<missing>"); }
  RegisteredViewpoints Load() {
    CatalogueLoad l = LoadRegisteredViewpoints(csv_);
    EXPECT_TRUE(l.ok) << l.error;
    return l.list;
  }

  fs::path dir_;
  std::string csv_;
};

std::string Cp932(const std::string& utf8) {
  return Utf8ToCp932(utf8).value();
}

// --- location.csv --------------------------------------------------------------------------------

TEST_F(Folder, ShortOrMissingFileIsReplacedByTheDefaultRows) {
  const std::string expected = Cp932(JoinCrLf(DefaultRegisteredRows()));
  {
    CatalogueLoad l = LoadRegisteredViewpoints(csv_);
    EXPECT_TRUE(l.wroteDefaults);
    EXPECT_EQ(l.list.rows, DefaultRegisteredRows());
    EXPECT_EQ(Raw(csv_), expected);
  }
  WriteRaw(csv_, Cp932("0123456789\r\nshort\r\n\r\n１２３４５６７８９０\r\n"));
  CatalogueLoad l = LoadRegisteredViewpoints(csv_);
  EXPECT_TRUE(l.wroteDefaults);
  EXPECT_EQ(l.list.count(), 15);
  EXPECT_EQ(Raw(csv_), expected);
}

TEST_F(Folder, LoadKeepsLongerLinesVerbatimAndSaveRoundTripsThem) {
  // An 11-character line, a row with unreadable numbers, and a hand-edited byte that is no code
  // page 932 all survive a load and a save unchanged.
  std::string bytes = Cp932("01234567890\r\n") + Cp932("壊れた行,よみ,備考,abc,def,xyz,???\r\n") +
                      Cp932("普通,ふつう,-,35.1,139.2,10,") + "\xFF\x80" + "\r\nx\r\n";
  WriteRaw(csv_, bytes);
  RegisteredViewpoints list = Load();
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list.row(1), "01234567890");
  SortByReading(list);
  SortByEventDate(list);
  EXPECT_FALSE(FindRegisteredViewpoint(list, "壊れた行").complete);
  ASSERT_TRUE(SaveRegisteredViewpoints(csv_, list, {}));
  // The short line "x" is gone; everything else is byte for byte what was there.
  EXPECT_EQ(Raw(csv_), bytes.substr(0, bytes.size() - 3));
}

TEST_F(Folder, DefaultRowsReadWithTrimmedNumbersAndOptionalEvents) {
  RegisteredViewpoints list = Load();
  FoundViewpoint shonan = FindRegisteredViewpoint(list, "湘南平,whatever follows");
  ASSERT_TRUE(shonan.found);
  EXPECT_TRUE(shonan.complete);
  EXPECT_EQ(shonan.rowNumber, 9);
  EXPECT_DOUBLE_EQ(shonan.viewpoint.latitude, 35.32055);
  EXPECT_DOUBLE_EQ(shonan.viewpoint.longitude, 139.30972);
  EXPECT_EQ(shonan.viewpoint.elevation, 180.0f);
  EXPECT_EQ(shonan.viewpoint.baseElevation, 180.0f);

  FoundViewpoint takao = FindRegisteredViewpoint(list, "高尾山");
  EXPECT_EQ(takao.firstEvent, "2012/12/22");
  EXPECT_EQ(takao.secondEvent, "");

  FoundViewpoint tower = FindRegisteredViewpoint(list, "東京タワー　大展望台（150ｍ）");
  EXPECT_TRUE(tower.found);
  EXPECT_EQ(tower.viewpoint.reading, "とうきょうたわー　だいてんぼうだい");
  EXPECT_EQ(FindRegisteredViewpoint(list, "江ノ島シーキャンドル").viewpoint.remark,
            "神奈川県藤沢市江の島２丁目３-４６");
}

TEST_F(Folder, FindReportsMissingAndIncompleteRows) {
  WriteRows({"欠けた行,かけたぎょう,,35.1,139.1,5,", "ある場所,あるばしょ,備考,35.2,139.2,7,"});
  RegisteredViewpoints list = Load();
  FoundViewpoint none = FindRegisteredViewpoint(list, "新しいビューポイント");
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.viewpoint.latitude, 0);
  EXPECT_EQ(none.viewpoint.elevation, 0);
  FoundViewpoint incomplete = FindRegisteredViewpoint(list, "欠けた行");
  EXPECT_TRUE(incomplete.found);
  EXPECT_FALSE(incomplete.complete);
  EXPECT_DOUBLE_EQ(incomplete.viewpoint.latitude, 35.1);
}

TEST(ReadingKey, KatakanaAndHiraganaReadingsCompareEqual) {
  EXPECT_EQ(ReadingKey("a,タカオサン,x"), ReadingKey("b,たかおさん,y"));
  EXPECT_EQ(ReadingKey(std::string("a,") + std::string(300, 'x')).size(), 255u);
}

TEST(SortByReading, VoicedKanaFollowsItsUnvoicedKana) {
  RegisteredViewpoints list;
  list.rows = {"三,き,r,1,1,1", "二,ガ,r,1,1,1", "一,か,r,1,1,1"};
  SortByReading(list);
  EXPECT_EQ(list.readingOrder, (std::vector<int>{3, 2, 1}));
}

TEST(SortByReading, EqualKeysEndWhereTheExchangeSortLeavesThem) {
  RegisteredViewpoints list;
  list.rows = {"B1,びー,r,1,1,1", "B2,ビー,r,1,1,1", "A,えー,r,1,1,1"};
  SortByReading(list);
  // [B, B', A] becomes [A, B', B]: the file order of the equal keys is not kept.
  EXPECT_EQ(list.readingOrder, (std::vector<int>{3, 2, 1}));
}

TEST(ExchangeSort, MatchesThePlainDoubleLoopOnRandomKeys) {
  std::mt19937 rng(7);
  for (int n : {0, 1, 2, 15, 16, 17, 40, 333, 334, 500, 501}) {
    std::vector<int> keys(static_cast<size_t>(n));
    // Many equal keys; 334 has keys too large to pack into half a word; 500 and 501 have mostly
    // distinct keys with a few repeated ones among them, so only part of the array needs the
    // exchange.
    for (auto& k : keys) {
      if (n >= 500)
        k = static_cast<int>(rng() % 100000);
      else
        k = static_cast<int>(rng() % 12) * (n == 334 ? 100000 : 1);
    }
    if (n == 500) keys[10] = keys[400] = keys[250];
    std::vector<int> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i + 1);
    std::vector<int> refKeys = keys, refOrder = order;
    for (size_t i = 0; i + 1 < refKeys.size(); ++i)
      for (size_t j = i + 1; j < refKeys.size(); ++j)
        if (refKeys[i] > refKeys[j]) {
          std::swap(refKeys[i], refKeys[j]);
          std::swap(refOrder[i], refOrder[j]);
        }
    ExchangeSort(keys, order);
    EXPECT_EQ(order, refOrder) << "n = " << n;
    EXPECT_EQ(keys, refKeys);
  }
}

TEST(SortByEventDate, ByDayOnlyLeavingOutUndatedRowsAndPuttingNonDatesLast) {
  RegisteredViewpoints list;
  list.rows = {
      "a,あ,r,1,1,1,2025/03/01 18:00:00",
      "b,い,r,1,1,1,OB",
      "c,う,r,1,1,1,",
      "d,え,r,1,1,1,hand edited",
      "e,お,r,1,1,1,2025/02/01 17:00:00",
      "f,か,r,1,1,1,2025/03/01 06:00:00",
      "g,き,r,1,1,1,2025/01/15",
  };
  SortByEventDate(list);
  EXPECT_EQ(list.datedCount, 5);
  // a and f share a day (the time plays no part): the exchange sort leaves f before a. The row
  // whose field 7 is no date comes after every dated row.
  EXPECT_EQ(list.eventDateOrder, (std::vector<int>{7, 5, 6, 1, 4, -1, -1}));
}

TEST_F(Folder, DeleteRemovesEveryRowOfTheName) {
  WriteRows(
      {"同じ名前,おなじ,x,35,139,1,", "他,ほか,x,35,139,1,", " 同じ名前 ,おなじ2,y,35,139,2,"});
  RegisteredViewpoints list = Load();
  ASSERT_TRUE(DeleteRegisteredViewpoint(csv_, list, " 同じ名前"));
  EXPECT_EQ(list.rows, (std::vector<std::string>{"他,ほか,x,35,139,1,"}));
  EXPECT_EQ(list.readingOrder, (std::vector<int>{1}));
  EXPECT_EQ(Load().rows, list.rows);
}

TEST_F(Folder, StoreEventDatesWritesWholeDaysAndAlwaysRewritesTheFile) {
  WriteRows({"場所,ばしょ,x,35,139,1,2020/01/01 06:00:00,2020/02/01 06:00:00,2020/03/01 06:00:00"});
  RegisteredViewpoints list = Load();
  list.rows.push_back("追加,ついか,x,35,139,1,");  // only in memory so far
  ASSERT_TRUE(StoreEventDates(csv_, list, "新しいビューポイント", {46000.3}));
  EXPECT_EQ(Load().count(), 2);  // no row matched, the file was still written
  ASSERT_TRUE(StoreEventDates(csv_, list, "場所", {EncodeDateTime(2026, 2, 3, 17, 25, 0)}));
  EXPECT_EQ(Load().row(1), "場所,ばしょ,x,35,139,1,2026/02/03 00:00:00,");
}

TEST_F(Folder, SaveRunsTheUpdaterAndAFailedWriteLeavesTheOldFile) {
  WriteRows({"場所,ばしょ,x,35,139,1,"});
  const std::string before = Raw(csv_);
  RegisteredViewpoints list = Load();
  AppendRegisteredRow(list, "二番目,にばんめ,x,35,139,1,");
  // A writer that gets as far as the temporary file and then fails, as a full disk would.
  FileWriter failing = [](const std::string& path, std::string_view bytes, std::string* error) {
    EXPECT_TRUE(WriteFileAtomic(path + ".tmp.partial", bytes.substr(0, bytes.size() / 2)));
    if (error) *error = "no space left";
    return false;
  };
  std::string error;
  EXPECT_FALSE(SaveRegisteredViewpoints(csv_, list, {}, &error, failing));
  EXPECT_EQ(error, "no space left");
  EXPECT_EQ(Raw(csv_), before);

  int calls = 0;
  EventDateUpdater updater = [&](const std::vector<std::string>& rows) {
    ++calls;
    std::vector<std::string> out = rows;
    for (auto& r : out) r += ",2030/01/01 06:00:00";
    return out;
  };
  ASSERT_TRUE(SaveRegisteredViewpoints(csv_, list, updater));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(Load().row(2), "二番目,にばんめ,x,35,139,1,,2030/01/01 06:00:00");
}

// --- prevdata.txt --------------------------------------------------------------------------------

TEST_F(Folder, LastViewpointRoundTripsWithModeAndGeneralNumbers) {
  const std::string path = (dir_ / "prevdata.txt").string();
  RestoredViewpoint missing = RestoreLastViewpoint(path);
  EXPECT_FALSE(missing.fromFile);
  EXPECT_TRUE(missing.warning.empty());
  EXPECT_EQ(missing.pick.name, "横浜ランドマークタワー");

  Pick p = DefaultViewpointPick();
  p.name = "名前,カンマ";
  ASSERT_TRUE(SaveLastViewpoint(path, p, ViewMode::kPearl));
  EXPECT_EQ(Raw(path), Cp932("名前，カンマ,35.454719543457,139.630615234375,273,"
                             "よこはまらんどまーくたわー,横浜市西区みなとみらい２丁目,2\r\n"));
  RestoredViewpoint r = RestoreLastViewpoint(path);
  EXPECT_TRUE(r.fromFile);
  EXPECT_EQ(r.mode, ViewMode::kPearl);
  EXPECT_EQ(r.pick.latitude, p.latitude);
  EXPECT_EQ(r.pick.longitude, p.longitude);
  EXPECT_EQ(r.pick.remark, p.remark);
}

TEST_F(Folder, MalformedLastViewpointFallsBackToTheDefaultInViewMode) {
  const std::string path = (dir_ / "prevdata.txt").string();
  for (const char* line : {"名前,35.1,139.1,10,よみ,備考", "名前,北緯,139.1,10,よみ,備考,1",
                           "名前,35.1,139.1,10,よみ,備考,7", ""}) {
    WriteRaw(path, Cp932(std::string(line) + "\r\n"));
    RestoredViewpoint r = RestoreLastViewpoint(path);
    EXPECT_FALSE(r.fromFile) << line;
    EXPECT_FALSE(r.warning.empty()) << line;
    EXPECT_EQ(r.mode, ViewMode::kView);
    EXPECT_EQ(r.pick.latitude, 35.45472f);
  }
}

// --- Catalogue picks -----------------------------------------------------------------------------

TEST_F(Folder, ListFilesKeepEveryNonEmptyLineBeyond1200) {
  std::vector<std::string> lines;
  for (int i = 0; i < 1300; ++i) {
    lines.push_back("山" + std::to_string(i) + ",1000,35.5,138.5,ヤマ,0,200,静岡");
    if (i % 100 == 0) lines.push_back("");
  }
  const std::string path = (dir_ / "d2.03").string();
  ASSERT_TRUE(WriteCp932LinesLossless(path, lines));
  EXPECT_EQ(ReadListFile(path).size(), 1300u);
  EXPECT_TRUE(ReadListFile((dir_ / "none").string()).empty());
}

TEST(CataloguePicks, EachKindFillsThePickFromItsFields) {
  PickResult summit =
      PickFromLine(ListKind::kSummit, "愛鷹山,1504,35.2,138.8,アシタカヤマ,300,200,静岡", {});
  ASSERT_TRUE(summit.ok);
  EXPECT_EQ(summit.pick.name, "愛鷹山");
  EXPECT_EQ(summit.pick.reading, "アシタカヤマ");
  EXPECT_EQ(summit.pick.remark, "");
  EXPECT_EQ(summit.pick.latitude, 35.2f);
  EXPECT_EQ(summit.pick.elevation, 1504.0f);

  int asked = 0;
  PointElevation missingTile = [&](double lat, double lon) {
    ++asked;
    EXPECT_DOUBLE_EQ(lat, 35.6);
    EXPECT_DOUBLE_EQ(lon, 139.7);
    return -1999;
  };
  PickResult town =
      PickFromLine(ListKind::kMunicipality, "新宿区,しんじゅくく,35.6,139.7,200", missingTile);
  ASSERT_TRUE(town.ok);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(town.pick.elevation, -1999.0f);
  EXPECT_EQ(town.pick.reading, "しんじゅくく");

  PickResult bad = PickFromLine(ListKind::kRegistered, "名,よみ,備考,北緯35度,139,10,", {});
  EXPECT_FALSE(bad.ok);
  EXPECT_NE(bad.error.find("北緯35度"), std::string::npos);
}

TEST(CataloguePicks, AnswersCancelDeleteAndPickChangeWhatTheySay) {
  RegisteredViewpoints reg;
  reg.rows = {"甲,こう,住所,35.5,139.5,100,", "乙,おつ,住所,北緯,139.5,100,"};
  AppState state;
  state.eventOverlayMode = EventOverlayMode::kSunPath;
  state.altitudeCorrectionOn = true;
  const Pick before = state.cataloguePick;

  EXPECT_FALSE(
      ApplyListAnswer(state, ListKind::kRegistered, {false, 1, 1, false}, reg, {}, {}).changed);
  EXPECT_FALSE(
      ApplyListAnswer(state, ListKind::kRegistered, {true, 0, 0, false}, reg, {}, {}).changed);

  ListAnswerActions del =
      ApplyListAnswer(state, ListKind::kRegistered, {true, 1, 1, true}, reg, {}, {});
  EXPECT_EQ(del.deleteName, "甲");
  EXPECT_FALSE(del.picked);
  EXPECT_EQ(state.cataloguePick.name, before.name);

  ListAnswerActions bad =
      ApplyListAnswer(state, ListKind::kRegistered, {true, 2, 2, false}, reg, {}, {});
  EXPECT_FALSE(bad.error.empty());
  EXPECT_EQ(state.cataloguePick.name, before.name);
  EXPECT_EQ(state.eventOverlayMode, EventOverlayMode::kSunPath);

  state.pickSelector = PickSelector::kMap;
  ListAnswerActions pick =
      ApplyListAnswer(state, ListKind::kRegistered, {true, 1, 1, false}, reg, {}, {});
  ASSERT_TRUE(pick.picked);
  EXPECT_EQ(pick.nameBoxText, "甲");
  EXPECT_EQ(state.pickSelector, PickSelector::kCatalogue);
  EXPECT_EQ(state.eventOverlayMode, EventOverlayMode::kNone);
  EXPECT_FALSE(state.altitudeCorrectionOn);
  EXPECT_EQ(state.viewpoint.elevation, 100.0f);
  EXPECT_EQ(state.viewpoint.remark, "住所");
  EXPECT_EQ(pick.distanceLabel.rfind("Zorv山までの距離/方位\r\n", 0), 0u);
  EXPECT_NE(pick.distanceLabel.find("km　/　"), std::string::npos);
}

// --- List dialog ---------------------------------------------------------------------------------

TEST(ListRows, SummitRowsShowPrefectureElevationAndClass) {
  EXPECT_EQ(SummitRow("大室山,580,34.9,139.1,オオムロヤマ,,255,"),
            " ● 大室山(0)" + std::string(9, ' ') + " 580m   オオムロヤマ" + std::string(10, ' '));
  const std::string hundred = SummitRow("丹沢山,1567,35.4,139.1,タンザワサン,100,200,神奈川");
  EXPECT_EQ(
      hundred,
      FillToWidth(FillToWidth(" ◎ 丹沢山(神奈川)", 22) + "1567m   タンザワサン", 52) + "  100名山");
  // Classes 50 and 400 add nothing: the row ends with the filling to 52.
  for (const char* cls : {"50", "400", ""}) {
    const std::string row = SummitRow(std::string("山,1000,35,139,ヤマ,") + cls + ",200,静岡");
    EXPECT_EQ(Cp932Width(row), 52) << cls;
    EXPECT_EQ(row.back(), ' ') << cls;
  }
  const std::string big = SummitRow("山,1000,35,139,ヤマ,1001,200,静岡");
  EXPECT_EQ(big.substr(big.size() - std::string("  1001山").size()), "  1001山");
  // A five-digit elevation keeps its last four characters; an empty visibility is "△".
  EXPECT_NE(SummitRow("高い山,12345,35,139,タカイ,0,,静岡").find("2345m"), std::string::npos);
  EXPECT_EQ(SummitRow("高い山,12345,35,139,タカイ,0,,静岡").substr(0, 4), " △");
  // A name wider than its column is not cut: the rest of the row moves right.
  const std::string wide = SummitRow("とても長い名前の山です,900,35,139,ナガイ,0,200,長野");
  EXPECT_EQ(wide.find(" ◎ とても長い名前の山です(長野) 900m"), 0u);
}

TEST(ListRows, MunicipalityRowsAndKeywordSearchWithRowMap) {
  const std::vector<std::string> lines = {"富士宮市,ふじのみやし,35.2,138.6,255",
                                          "横浜市西区,よこはましにしく,35.45,139.6,160",
                                          "富士市,ふじし,35.16,138.68,222"};
  ListRows all = BuildCatalogueRows(ListKind::kMunicipality, lines);
  ASSERT_EQ(all.rows.size(), 3u);
  EXPECT_EQ(all.rows[0], FillToWidth("  ●    富士宮市", 30) + "ふじのみやし");
  EXPECT_EQ(all.source, (std::vector<int>{1, 2, 3}));
  ListRows found = BuildCatalogueRows(ListKind::kMunicipality, lines, "富士");
  EXPECT_EQ(found.source, (std::vector<int>{1, 3}));
  EXPECT_EQ(found.rows[1], FillToWidth(FillToWidth("  ◎    富士市", 30) + "ふじし", 45));
  EXPECT_EQ(BuildCatalogueRows(ListKind::kMunicipality, lines, "139.6").source,
            (std::vector<int>{2}));
  ListSelection s = SelectListRow(ListKind::kMunicipality, found, 1);
  EXPECT_EQ(s.chosenLine, 3);
  EXPECT_EQ(s.selectedText, found.rows[1]);
  EXPECT_EQ(SelectListRow(ListKind::kMunicipality, found, 2).chosenLine, -1);
}

TEST(ListRows, RegisteredRowsInDiamondModeShowTheNextEvent) {
  RegisteredViewpoints list;
  list.rows = {"甲,こう,x,35,139,1,2026/02/03 17:25:00,2026/11/08 16:41:00",
               "乙,おつ,x,35,139,1,OB", "丙,へいい,x,35,139,1,", "丁,てい,x,35,139,1,hand edited"};
  SortByReading(list);
  SortByEventDate(list);
  ListRows byDate = BuildRegisteredRows(list, true, ListOrder::kEventDate);
  ASSERT_EQ(byDate.rows.size(), 2u);
  EXPECT_EQ(byDate.rows[0], FillToWidth("甲", 35) + "《 2026/02/03 17:25 火 》");
  EXPECT_EQ(byDate.rows[1], "丁");  // not a date-time: shown without one
  EXPECT_EQ(byDate.source, (std::vector<int>{1, 4}));
  ListRows byReading = BuildRegisteredRows(list, true, ListOrder::kReading);
  EXPECT_EQ(byReading.rows.size(), 4u);
  EXPECT_EQ(byReading.rows[0], "乙");
  // Outside diamond mode the reading follows the name; the date order is not offered.
  ListRows view = BuildRegisteredRows(list, false, ListOrder::kEventDate);
  EXPECT_EQ(view.rows[0], "乙");  // a reading of two characters is not shown
  EXPECT_EQ(view.rows[3], FillToWidth("丙", 35) + "へいい");
  EXPECT_EQ(ListDialogLayout(ListKind::kRegistered, false, ListOrder::kEventDate).order,
            ListOrder::kReading);
  ListSelection s = SelectListRow(ListKind::kRegistered, byDate, 1);
  EXPECT_EQ(s.chosenLine, 2);
  EXPECT_EQ(s.chosenRow, 4);
  EXPECT_EQ(DeleteConfirmationText(list.row(4)), "「丁」を削除します。よろしいですか？");
}

TEST(ListRows, SelectionInfoGivesPositionDistanceAndBearing) {
  SelectionInfo info =
      SelectionInfoFor(ListKind::kSummit, "山,1000,35.45472,139.63062,ヤマ,0,200,静岡");
  ASSERT_TRUE(info.ok);
  EXPECT_EQ(info.label2, "緯度：  35.454719\r\n経度 ：139.630615");
  SightLine line;
  line.targetLatitude = SummitReference.latitude;
  line.targetLongitude = SummitReference.longitude;
  ComputeSightLine({35.45472f, 139.63062f, 0}, line);
  EXPECT_EQ(info.label3, "Zorv山までの距離：　" +
                             std::to_string(static_cast<int>(std::nearbyint(line.distanceKm))) +
                             " Km\r\n　　　　　　方位：　" +
                             std::to_string(static_cast<int>(std::nearbyint(line.azimuth))) + "度");
  EXPECT_FALSE(SelectionInfoFor(ListKind::kRegistered, "名,よみ,x,,139,1,").ok);
}

// --- Adding places -------------------------------------------------------------------------------

TEST_F(Folder, EntryPanelAddValidatesAndStoresTheTextsAsTyped) {
  WriteRows({"東京　タワー,とうきょうたわー,x,35.6,139.7,150,"});
  RegisteredViewpoints list = Load();
  const CatalogueStore store{csv_, {}};
  AppState state;
  state.screenState = ScreenState::kNewPoint;
  TypedViewpoint t{" 新しい場所 ", "あたらしい", "", "35.10", "139.20", "12.5"};

  TypedViewpoint shortName = t;
  shortName.name = " 新 ";
  EXPECT_EQ(AddTypedViewpoint(shortName, list, store, state).status, AddStatus::kMissingFields);
  TypedViewpoint dup = t;
  dup.name = "東京　タワー ";
  EXPECT_EQ(AddTypedViewpoint(dup, list, store, state).status, AddStatus::kDuplicateName);
  TypedViewpoint badNumber = t;
  badNumber.elevation = "十";
  EXPECT_EQ(AddTypedViewpoint(badNumber, list, store, state).status, AddStatus::kConversionError);
  EXPECT_EQ(list.count(), 1);

  // Differing only by the blank inside, the entry panel accepts the name.
  TypedViewpoint blanks = t;
  blanks.name = "東京タワー";
  EXPECT_EQ(AddTypedViewpoint(blanks, list, store, state).status, AddStatus::kAdded);

  AddResult r = AddTypedViewpoint(t, list, store, state);
  EXPECT_EQ(r.status, AddStatus::kAdded);
  EXPECT_EQ(r.row, "新しい場所,あたらしい,-,35.10,139.20,12.5,");
  EXPECT_EQ(t.remark, "-");
  EXPECT_EQ(Load().row(3), r.row);
  EXPECT_EQ(list.readingOrder.size(), 3u);
  EXPECT_EQ(state.cataloguePick.name, "新しい場所");
  EXPECT_EQ(state.cataloguePick.elevation, 12.5f);
  EXPECT_EQ(state.screenState, ScreenState::kPanorama);
}

TEST_F(Folder, MainPanelAddComparesWithoutBlanksAndWritesGeneralNumbers) {
  WriteRows({"東京タワー,とうきょうたわー,x,35.6,139.7,150,"});
  RegisteredViewpoints list = Load();
  const CatalogueStore store{csv_, {}};
  const Pick pick = DefaultViewpointPick();
  EXPECT_EQ(AddCurrentPick("東京　タワー", pick, list, store).status, AddStatus::kDuplicateName);
  AddResult r = AddCurrentPick("ランドマーク屋上", pick, list, store);
  ASSERT_EQ(r.status, AddStatus::kAdded);
  EXPECT_EQ(r.message, "ランドマーク屋上の登録が完了しました");
  EXPECT_EQ(r.row,
            "ランドマーク屋上,よこはまらんどまーくたわー,横浜市西区みなとみらい２丁目,"
            "35.454719543457,139.630615234375,273,");
  EXPECT_EQ(Load().count(), 2);
}

// A point due north of the summit at the given surface distance from it.
double LatitudeAtDistance(double km) {
  double lo = SummitReference.latitude, hi = SummitReference.latitude + 3;
  for (int i = 0; i < 60; ++i) {
    const double mid = (lo + hi) / 2;
    SightLine line;
    line.targetLatitude = SummitReference.latitude;
    line.targetLongitude = SummitReference.longitude;
    line.targetHeight = 2600;
    ComputeSightLine({mid, SummitReference.longitude, 0}, line);
    (line.distanceKm < km ? lo : hi) = mid;
  }
  return lo;
}

TEST(PickedPoint, AsksOnlyBeyond200KmAndReadsEmptyTextsAsDefaults) {
  const auto at = [](double km) {
    PickedPointTexts t;
    t.latitude = FormatGeneral(LatitudeAtDistance(km));
    t.longitude = FormatGeneral(SummitReference.longitude);
    t.elevation = "0";
    return ReadPickedPoint(t);
  };
  EXPECT_FALSE(at(199.99).askDistance);
  PickedPoint far = at(201);
  EXPECT_TRUE(far.askDistance);
  EXPECT_EQ(far.question, "距離が201kmと遠距離です。表示しますか？");

  PickedPointTexts empty;
  empty.address = "静岡県";
  empty.webAddress = "web";
  PickedPoint p = ReadPickedPoint(empty);
  ASSERT_TRUE(p.ok);
  EXPECT_DOUBLE_EQ(p.viewpoint.latitude, SummitReference.latitude);
  EXPECT_DOUBLE_EQ(p.viewpoint.longitude, SummitReference.longitude + 1);
  EXPECT_EQ(p.viewpoint.elevation, 0.0f);
  EXPECT_EQ(p.viewpoint.name, "新しいビューポイント");
  EXPECT_EQ(p.viewpoint.remark, "静岡県");

  AppState state;
  TakePickedPoint(state, p, empty);
  EXPECT_EQ(state.pickSelector, PickSelector::kMap);
  EXPECT_EQ(state.mapPick.name, "New Point");
  EXPECT_EQ(state.mapPick.remark, "web");

  PickedPointTexts bad;
  bad.latitude = "35.1x";
  EXPECT_FALSE(ReadPickedPoint(bad).ok);
}

TEST(TypedPoint, RedrawTakesTheBoxesAsTheMapPick) {
  TypedViewpoint boxes{"", "よみ", "備考", "35.5", "139.5", "12"};
  TypedPoint p = ReadTypedPoint(boxes);
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.pick.name, "New Point");
  EXPECT_FALSE(p.askDistance);
  AppState state;
  TakeTypedPoint(state, p);
  EXPECT_EQ(state.pickSelector, PickSelector::kMap);
  EXPECT_EQ(state.viewpoint.elevation, 12.0f);
  EXPECT_EQ(state.viewpoint.reading, "よみ");
  boxes.longitude = "東経";
  EXPECT_FALSE(ReadTypedPoint(boxes).ok);
  boxes.longitude = "145.5";  // far out east
  EXPECT_TRUE(ReadTypedPoint(boxes).askDistance);
}

}  // namespace
}  // namespace velkaro
