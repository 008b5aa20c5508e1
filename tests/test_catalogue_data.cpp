#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/text.h"
#include "maps/view_map.h"
#include "resources/embedded.h"
#include "tools/catalogue_data/catalogue_build.h"
#include "tools/catalogue_data/catalogue_tools.h"

namespace velkaro::tools {
namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() {
    path_ = fs::temp_directory_path() /
            ("velkaro_catalogue_data_" +
             std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~Folder() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::string str() const { return path_.string(); }

 private:
  fs::path path_;
};

void Write(const std::string& path, const std::vector<std::string>& lines) {
  ASSERT_TRUE(WriteCp932Lines(path, lines));
}
std::vector<std::string> Read(const std::string& path) {
  auto lines = ReadCp932Lines(path);
  return lines ? *lines : std::vector<std::string>{"<missing>"};
}

// A lookup that makes every value visible in the test: 100 + whole degrees of latitude.
int FakeValue(double lat, double) {
  return 100 + static_cast<int>(lat);
}

TEST(CatalogueText, DegreesMinutesSecondsAndPrefectures) {
  EXPECT_DOUBLE_EQ(*ParseDegreesMinutesSeconds("35.2130.5"), 35 + 21.0 / 60 + 30.5 / 3600);
  EXPECT_DOUBLE_EQ(*ParseDegreesMinutesSeconds("138.4412"), 138 + 44.0 / 60 + 12.0 / 3600);
  // Minutes are read from their fixed place: without the two digits the field is misread.
  EXPECT_DOUBLE_EQ(*ParseDegreesMinutesSeconds("35.5"), 35 + 5.0 / 60);
  EXPECT_FALSE(ParseDegreesMinutesSeconds("35.x130"));
  EXPECT_EQ(FormatDegreesMinutesSeconds(35 + 21.0 / 60 + 30.5 / 3600), "35.2130.50");
  EXPECT_EQ(FormatDegreesMinutesSeconds(35 + 59.0 / 60 + 59.996 / 3600), "36.0000.00");
  const double v = 138.727500;
  EXPECT_NEAR(*ParseDegreesMinutesSeconds(FormatDegreesMinutesSeconds(v)), v, 0.01 / 3600);

  EXPECT_EQ(PrefectureText("山梨県", "静岡県", ""), "山梨:静岡");
  EXPECT_EQ(PrefectureText("東京都", "", ""), "東京");
  EXPECT_EQ(PrefectureText("神奈川県", "", "山梨県"), "神奈川:山梨");
  EXPECT_EQ(HiraganaToKatakana("ふじさん・ゔぁ"), "フジサン・ヴァ");
  EXPECT_EQ(HiraganaToKatakana("丹沢山ー"), "丹沢山ー");
}

TEST(GradeMountains, AppendsTheValueAndKeepsGoodFilesOnFailure) {
  Folder dir;
  const std::string d1 = dir / "d1.03";
  const std::string d10 = dir / "d10.03";
  // No source: nothing is written, not even an empty list.
  ToolReport r = GradeMountains(d1, d10, FakeValue);
  EXPECT_FALSE(r.sourceFound);
  EXPECT_TRUE(r.ok);
  EXPECT_FALSE(fs::exists(d10));

  Write(d1, {"丹沢山,たんざわさん,1567,35.474167,139.162778,100", "",
             "高尾山,たかおさん,599,35.625278,139.243611,20"});
  r = GradeMountains(d1, d10, FakeValue);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(Read(d10),
            (std::vector<std::string>{"丹沢山,たんざわさん,1567,35.474167,139.162778,100,135",
                                      "高尾山,たかおさん,599,35.625278,139.243611,20,135"}));

  // A latitude that does not read stops the tool, names the line, and leaves d10.03 as it was.
  Write(d1, {"丹沢山,たんざわさん,1567,35.474167,139.162778,100",
             "高尾山,たかおさん,599,北緯,139.2,20"});
  r = GradeMountains(d1, d10, FakeValue);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("line 2"), std::string::npos) << r.error;
  EXPECT_EQ(Read(d10).size(), 2u);
}

TEST(GradeMunicipalities, GradesInMemory) {
  Folder dir;
  std::vector<std::string> out{"untouched"};
  ToolReport r = GradeMunicipalities(dir / "none.csv", FakeValue, &out);
  EXPECT_FALSE(r.sourceFound);
  EXPECT_EQ(out, std::vector<std::string>{"untouched"});
  Write(dir / "m.csv", {"新宿区,しんじゅくく,35.69388889,139.7036111,東京都"});
  r = GradeMunicipalities(dir / "m.csv", FakeValue, &out);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(out,
            std::vector<std::string>{"新宿区,しんじゅくく,35.69388889,139.7036111,東京都,135"});
}

TEST(AddPrefectures, MatchesByNameReadingAndNearness) {
  Folder dir;
  const std::string d20 = dir / "d20.csv";
  const std::string d2 = dir / "d2.csv";
  const std::string tables = dir / "tables";
  fs::create_directories(tables);
  Write(d20,
        {"愛鷹山,アシタカヤマ,1504,35.2,138.8,300,200", "",
         "越前岳,エチゼンダケ,1504,35.2,138.8,20,200", "毛無山,ケナシヤマ,1964,35.4,138.5,20,180"});
  const auto record = [](const std::string& elevation, const std::string& name,
                         const std::string& reading, const std::string& p7, const std::string& p8,
                         double lat, double lon) {
    std::vector<std::string> f(19);
    f[1] = elevation;
    f[2] = name;
    f[4] = reading;
    f[6] = p7;
    f[7] = p8;
    f[17] = FormatDegreesMinutesSeconds(lat);
    f[18] = FormatDegreesMinutesSeconds(lon);
    std::string line;
    for (size_t i = 0; i < f.size(); ++i) line += (i ? "," : "") + f[i];
    return line;
  };
  // Shizuoka's table comes before Yamanashi's; a border mountain in both gets two texts.
  Write(tables + "/22.csv",
        {record("1506.9", "愛鷹山", "アシタカヤマ", "静岡県", "", 35.21, 138.81),
         record("1964", "毛無山", "ケナシヤマ", "静岡県", "山梨県", 35.41, 138.51),
         record("1504", "", "", "静岡県", "", 35.2, 138.8)});
  Write(tables + "/19.csv",
        {record("1962", "毛無山", "ケナシヤマ", "山梨県", "静岡県", 35.4, 138.5),
         // 3 m apart is too far; a different reading never matches.
         record("1507", "越前岳", "エチゼンダケ", "静岡県", "", 35.2, 138.8),
         record("1504", "越前岳", "えちぜんだけ", "静岡県", "", 35.2, 138.8)});
  ToolReport r = AddPrefectures(d20, tables, d2);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(Read(d2), (std::vector<std::string>{
                          "愛鷹山,アシタカヤマ,1504,35.2,138.8,300,200,静岡",
                          "越前岳,エチゼンダケ,1504,35.2,138.8,20,200",
                          "毛無山,ケナシヤマ,1964,35.4,138.5,20,180,静岡:山梨,山梨:静岡"}));

  // A table number that does not read stops the operation before d2.csv is replaced.
  Write(tables + "/13.csv",
        {record("高い", "雲取山", "クモトリヤマ", "東京都", "", 35.85, 138.94)});
  r = AddPrefectures(d20, tables, d2);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("13.csv line 1"), std::string::npos) << r.error;
  EXPECT_EQ(Read(d2).size(), 3u);

  // Without d20.csv the result is an empty d2.csv.
  fs::remove(tables + "/13.csv");
  r = AddPrefectures(dir / "missing.csv", tables, d2);
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(Read(d2).empty());
}

TEST(AddMunicipalityElevations, WritesTheElevationAfterTheReading) {
  Folder dir;
  Write(dir / "m.csv", {"甲府市,こうふし,35.66222222,138.5683333,山梨県", "短い行,,1,2",
                        "伊東市,いとうし,34.96583333,139.1019444,静岡県"});
  int calls = 0;
  const ToolReport r = AddMunicipalityElevations(
      dir / "m.csv", dir / "d30.03", [](double lat, double) { return lat > 35 ? 265 : -1999; },
      [&](int done) { calls = done; });
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(Read(dir / "d30.03"),
            (std::vector<std::string>{"甲府市,こうふし,265,35.66222222,138.5683333,山梨県",
                                      "伊東市,いとうし,-1999,34.96583333,139.1019444,静岡県"}));
}

// --- The lists the build made ------------------------------------------------------------------

const std::string kData2 = std::string(VELKARO_BIN_DIR) + "/DATA/DATA2/";

std::vector<std::vector<std::string>> ReadBuilt(const std::string& name) {
  const auto bytes = ReadFileBytes(kData2 + name);
  EXPECT_TRUE(bytes) << name;
  if (!bytes) return {};
  // Every line ends with CR LF.
  EXPECT_EQ(bytes->substr(bytes->size() - 2), "\r\n");
  EXPECT_EQ(std::count(bytes->begin(), bytes->end(), '\n'),
            std::count(bytes->begin(), bytes->end(), '\r'));
  const auto lines = ReadCp932Lines(kData2 + name);
  EXPECT_TRUE(lines) << name;
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : *lines) rows.push_back(SplitFields(line));
  return rows;
}

bool HasHiragana(const std::string& text) {
  return text.find("\xE3\x81") != std::string::npos;  // U+3040..U+307F, enough for a test
}

TEST(BuiltCatalogue, SummitListSeesTheMountain) {
  ViewMap map(EmbeddedResource("ZorvViewMap"));
  ASSERT_NE(map.image(), nullptr);
  const auto rows = ReadBuilt("d2.03");
  ASSERT_GT(rows.size(), 30u);
  std::map<std::string, int> grades;
  bool tanzawa = false;
  for (const auto& f : rows) {
    ASSERT_EQ(f.size(), 8u) << f[0];
    const int value = std::stoi(f[6]);
    EXPECT_GE(value, 127) << f[0];
    EXPECT_EQ(value, VisibilityValueAt(map, std::stod(f[2]), std::stod(f[3]))) << f[0];
    EXPECT_FALSE(HasHiragana(f[4])) << f[4];
    const int cls = std::stoi(f[5]);
    EXPECT_TRUE(cls == 20 || cls == 100 || cls == 200 || cls == 300) << f[0];
    ++grades[GradeSymbol(VisibilityGrade(value))];
    if (f[0] == "丹沢山" && f[1] == "1567") {
      tanzawa = true;
      EXPECT_EQ(f[7], "神奈川");
      EXPECT_EQ(f[5], "100");
    }
  }
  EXPECT_TRUE(tanzawa);
  // Most of the listed summits see nearly all of the mountain; every grade occurs.
  EXPECT_GT(grades["●"], static_cast<int>(rows.size()) / 2);
  for (const char* s : {"◎", "○", "△"}) EXPECT_GT(grades[s], 0) << s;
}

TEST(BuiltCatalogue, MunicipalityAndLabelLists) {
  ViewMap map(EmbeddedResource("ZorvViewMap"));
  ASSERT_NE(map.image(), nullptr);
  const auto towns = ReadBuilt("d4.03");
  ASSERT_GT(towns.size(), 100u);
  std::map<std::string, int> grades;
  std::map<std::string, int> valueOf;
  for (const auto& f : towns) {
    ASSERT_EQ(f.size(), 5u) << f[0];
    const int value = std::stoi(f[4]);
    EXPECT_GE(value, 127);
    ++grades[GradeSymbol(VisibilityGrade(value))];
    valueOf[f[0]] = value;
  }
  for (const char* s : {"●", "◎", "○", "△"}) EXPECT_GT(grades[s], 5) << s;
  EXPECT_TRUE(valueOf.count("新宿区"));
  EXPECT_TRUE(valueOf.count("甲府市"));

  const auto labels = ReadBuilt("d10.03");
  ASSERT_GT(labels.size(), 250u);
  for (const auto& f : labels) {
    ASSERT_GE(f.size(), 7u);
    EXPECT_EQ(std::stoi(f.back()), VisibilityValueAt(map, std::stod(f[3]), std::stod(f[4])))
        << f[0];
  }

  const auto places = ReadBuilt("d3.20");
  std::map<std::string, int> classOf;
  for (const auto& f : places) {
    ASSERT_EQ(f.size(), 5u);
    classOf[f[0]] = std::stoi(f[4]);
  }
  EXPECT_EQ(classOf["横浜市"], 10);  // designated city
  EXPECT_EQ(classOf["甲府市"], 10);  // prefectural capital
  EXPECT_EQ(classOf["小田原市"], 9);
  EXPECT_EQ(classOf["新宿区"], 8);
  EXPECT_EQ(classOf["横浜市中区"], 8);
  EXPECT_LE(classOf["山中湖"], 6);
  EXPECT_GT(classOf["山中湖"], 0);
}

}  // namespace
}  // namespace velkaro::tools
