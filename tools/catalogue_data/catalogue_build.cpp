#include "tools/catalogue_data/catalogue_build.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "core/constants.h"
#include "core/sight_line.h"
#include "core/text.h"

namespace velkaro::tools {

namespace {

// A UTF-8 CSV of the source data with a header line: rows as maps from column name to text. The
// sources write no quotes and no commas inside fields.
struct Table {
  std::vector<std::map<std::string, std::string>> rows;
};

std::optional<Table> ReadSourceTable(const std::string& path, std::string* error) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) {
    if (error) *error = "cannot read " + path;
    return std::nullopt;
  }
  if (bytes->rfind("\xEF\xBB\xBF", 0) == 0) bytes->erase(0, 3);  // byte order mark
  const std::vector<std::string> lines = SplitLines(*bytes);
  if (lines.empty()) {
    if (error) *error = path + " is empty";
    return std::nullopt;
  }
  const std::vector<std::string> header = SplitFields(lines[0]);
  Table table;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (Trim(lines[i]).empty()) continue;
    const std::vector<std::string> fields = SplitFields(lines[i]);
    std::map<std::string, std::string> row;
    for (size_t c = 0; c < header.size(); ++c) row[header[c]] = Field(fields, c + 1);
    table.rows.push_back(std::move(row));
  }
  return table;
}

std::string Join(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) line += ",";
    line += fields[i];
  }
  return line;
}

// Text fit for a list field: no separators, and only characters code page 932 holds.
bool Representable(const std::string& text) {
  return text.find(',') == std::string::npos && Utf8ToCp932(text).has_value();
}

double SummitDistanceKm(double latitude, double longitude) {
  SightLine line;
  line.targetLatitude = SummitReference.latitude;
  line.targetLongitude = SummitReference.longitude;
  line.targetHeight = static_cast<float>(SummitReference.height);
  ComputeSightLine(Observer{latitude, longitude, 0.0f}, line);
  return line.distanceKm;
}

int GradeIndex(int value) {
  const int q = VisibilityGrade(value);
  return q >= 75 ? 0 : q >= 50 ? 1 : q >= 25 ? 2 : 3;
}

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

bool Check(const ToolReport& r, std::string* error) {
  if (!r.ok) return Fail(error, r.error);
  return true;
}

std::string Path(const std::string& folder, const std::string& name) {
  return (std::filesystem::path(folder) / name).string();
}

struct Mountain {
  std::string name;
  std::string reading;  // hiragana, as the source gives it
  std::string elevation;
  std::string latitude;
  std::string longitude;
  int mountainClass = 0;
  std::vector<std::string> prefectures;
};

// The named mountains of the region: every GSI main mountain, the famous-list member the GSI list
// lacks, and SOTA summits that carry a name. A massif's summit is named by its own name.
std::vector<Mountain> SelectMountains(const Table& merged, int& skipped) {
  std::vector<Mountain> out;
  for (const auto& row : merged.rows) {
    const std::string& source = row.at("source");
    Mountain m;
    if (source == "gsi" || source == "meizan") {
      const bool hasSummit = !row.at("summit").empty();
      m.name = hasSummit ? row.at("summit") : row.at("name");
      m.reading = hasSummit ? row.at("summit_reading") : row.at("name_reading");
      m.mountainClass = row.at("hyakumeizan") == "1"      ? 100
                        : row.at("nihyakumeizan") == "1"  ? 200
                        : row.at("sanbyakumeizan") == "1" ? 300
                        : source == "gsi"                 ? 20
                                                          : 0;
    } else if (source == "sota") {
      m.name = row.at("sota_name");
      if (m.name.empty() || m.name.find('?') != std::string::npos) continue;
      m.mountainClass = 0;
    } else {
      continue;
    }
    m.name = StripBlanks(m.name);
    m.reading = StripBlanks(m.reading);
    m.elevation = row.at("elevation_m");
    m.latitude = row.at("lat");
    m.longitude = row.at("lon");
    const std::string& prefectures = row.at("prefectures");
    for (size_t begin = 0; begin < prefectures.size();) {
      const size_t end = std::min(prefectures.find('|', begin), prefectures.size());
      if (end > begin) m.prefectures.push_back(prefectures.substr(begin, end - begin));
      begin = end + 1;
    }
    if (m.name.empty() || !Representable(m.name) || !Representable(m.reading) ||
        !ParseNumber(m.elevation) || !ParseNumber(m.latitude) || !ParseNumber(m.longitude)) {
      ++skipped;
      continue;
    }
    out.push_back(std::move(m));
  }
  return out;
}

// The GSI list as per-prefecture tables in the layout AddPrefectures reads: field 2 elevation,
// 3 name, 5 reading, 7-9 prefectures, 18-19 latitude and longitude as "dd.mmss.ss".
bool WritePrefectureTables(const std::vector<Mountain>& mountains, const Table& prefectures,
                           const std::string& folder, std::string* error) {
  std::map<std::string, std::string> codeOf;  // 静岡県 → 22
  for (const auto& row : prefectures.rows) {
    const std::string& pid = row.at("pid");
    codeOf[row.at("pref")] = pid.size() == 1 ? "0" + pid : pid;
  }
  std::map<std::string, std::vector<std::string>> tables;
  for (const std::string& t : kPrefectureTables) tables[t];
  for (const Mountain& m : mountains) {
    if (m.mountainClass == 0 || m.prefectures.empty()) continue;
    std::vector<std::string> f(19);
    f[1] = m.elevation;
    f[2] = m.name;
    f[4] = HiraganaToKatakana(m.reading);
    for (size_t p = 0; p < 3 && p < m.prefectures.size(); ++p) f[6 + p] = m.prefectures[p];
    f[17] = FormatDegreesMinutesSeconds(*ParseNumber(m.latitude));
    f[18] = FormatDegreesMinutesSeconds(*ParseNumber(m.longitude));
    for (const std::string& p : m.prefectures) {
      const auto code = codeOf.find(p);
      if (code == codeOf.end()) continue;
      const auto table = tables.find(code->second + ".csv");
      if (table == tables.end()) continue;  // a prefecture without a table
      f[0] = std::to_string(table->second.size() + 1);
      table->second.push_back(Join(f));
    }
  }
  for (const auto& [name, lines] : tables) {
    std::string e;
    if (!WriteCp932Lines(Path(folder, name), lines, &e)) return Fail(error, e);
  }
  return true;
}

int PlaceClass(const std::map<std::string, std::string>& row,
               const std::set<std::string>& firstRankCities) {
  const std::string& kind = row.at("kind");
  if (kind == "city") return firstRankCities.count(row.at("name")) ? 10 : 9;
  if (kind == "town" || kind == "special_ward" || kind == "ward_of_designated_city") return 8;
  if (kind == "village") return 7;
  struct FeatureClass {
    const char* kind;
    int placeClass;
  };
  constexpr FeatureClass kFeatures[] = {{"gazetteer:Lake", 6},
                                        {"gazetteer:Pass", 6},
                                        {"gazetteer:Sea Area", 5},
                                        {"gazetteer:Extensive natural feature", 5},
                                        {"gazetteer:Island", 5},
                                        {"gazetteer:Cape", 4},
                                        {"gazetteer:Populated area", 4},
                                        {"gazetteer:River", 3},
                                        {"gazetteer:Undersea feature", 2}};
  for (const FeatureClass& f : kFeatures) {
    if (kind == f.kind) return f.placeClass;
  }
  return 1;
}

}  // namespace

std::string HiraganaToKatakana(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    // U+3041..U+3096 are E3 81 81 .. E3 82 96; katakana is 0x60 further on.
    if (c == 0xE3 && i + 2 < text.size()) {
      const unsigned cp = ((c & 0x0F) << 12) |
                          ((static_cast<unsigned char>(text[i + 1]) & 0x3F) << 6) |
                          (static_cast<unsigned char>(text[i + 2]) & 0x3F);
      if (cp >= 0x3041 && cp <= 0x3096) {
        const unsigned k = cp + 0x60;
        out += static_cast<char>(0xE0 | (k >> 12));
        out += static_cast<char>(0x80 | ((k >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (k & 0x3F));
        i += 3;
        continue;
      }
    }
    out += text[i];
    ++i;
  }
  return out;
}

bool BuildCatalogue(const std::string& sourceFolder, const std::string& workFolder,
                    const std::string& data2Folder, const VisibilityLookup& valueAt,
                    const ElevationLookup& elevationAt, CatalogueBuildReport* report,
                    std::string* error) {
  CatalogueBuildReport r;
  std::error_code ec;
  std::filesystem::create_directories(workFolder, ec);
  std::filesystem::create_directories(data2Folder, ec);
  const auto merged =
      ReadSourceTable(Path(sourceFolder, "mountains/mountains_region_merged.csv"), error);
  const auto prefectures =
      ReadSourceTable(Path(sourceFolder, "municipalities/prefjp-utf8.csv"), error);
  const auto places = ReadSourceTable(Path(sourceFolder, "places/places_region_merged.csv"), error);
  if (!merged || !prefectures || !places) return false;

  // Mountains: d1.03 → d10.03.
  const std::vector<Mountain> mountains = SelectMountains(*merged, r.skipped);
  std::vector<std::string> d1;
  for (const Mountain& m : mountains) {
    d1.push_back(Join({m.name, m.reading, m.elevation, m.latitude, m.longitude,
                       std::to_string(m.mountainClass)}));
  }
  std::string e;
  if (!WriteCp932Lines(Path(workFolder, kMountainSourceName), d1, &e)) return Fail(error, e);
  const std::string d10Path = Path(data2Folder, kLabelListName);
  ToolReport t = GradeMountains(Path(workFolder, kMountainSourceName), d10Path, valueAt);
  if (!Check(t, error)) return false;
  r.mountains = t.lines;

  // Summits from which the mountain is seen (its own summits within 10 km left out): d20.csv with
  // the reading in katakana, the prefectures added from the tables, then the d2.03 layout.
  const auto graded = ReadCp932Lines(d10Path, &e);
  if (!graded) return Fail(error, d10Path + ": " + e);
  std::vector<std::string> d20;
  for (size_t i = 0; i < graded->size() && i < mountains.size(); ++i) {
    const Mountain& m = mountains[i];
    const auto f = SplitFields((*graded)[i]);
    const int value = static_cast<int>(ParseNumber(f.back()).value_or(0));
    if (m.mountainClass == 0 || value < 127) continue;
    if (SummitDistanceKm(*ParseNumber(m.latitude), *ParseNumber(m.longitude)) < 10.0) continue;
    d20.push_back(Join({m.name, HiraganaToKatakana(m.reading), m.elevation, m.latitude, m.longitude,
                        std::to_string(m.mountainClass), std::to_string(value)}));
  }
  if (!WriteCp932Lines(Path(workFolder, kVisibleMountainsName), d20, &e)) return Fail(error, e);
  const std::string tables = Path(workFolder, "prefectures");
  std::filesystem::create_directories(tables, ec);
  if (!WritePrefectureTables(mountains, *prefectures, tables, error)) return false;
  t = AddPrefectures(Path(workFolder, kVisibleMountainsName), tables,
                     Path(workFolder, kVisibleMountainsWithPrefectureName));
  if (!Check(t, error)) return false;
  const auto withPrefecture =
      ReadCp932Lines(Path(workFolder, kVisibleMountainsWithPrefectureName), &e);
  if (!withPrefecture) return Fail(error, e);
  std::vector<std::string> d2;
  for (const std::string& line : *withPrefecture) {
    const auto f = SplitFields(line);
    // name, elevation, latitude, longitude, reading, class, value, first prefecture text
    d2.push_back(Join({Field(f, 1), Field(f, 3), Field(f, 4), Field(f, 5), Field(f, 2), Field(f, 6),
                       Field(f, 7), Field(f, 8)}));
    ++r.summitGrades[GradeIndex(static_cast<int>(ParseNumber(Field(f, 7)).value_or(0)))];
  }
  if (!WriteCp932Lines(Path(data2Folder, kSummitListName), d2, &e)) return Fail(error, e);
  r.summits = static_cast<int>(d2.size());

  // Municipalities: the source list, graded; d4.03 keeps those that see the mountain. The
  // elevations of d30.03 come along for the list's own use.
  std::vector<std::string> source;
  for (const auto& row : places->rows) {
    if (row.at("source") != "localgovjp") continue;
    const std::string name = StripBlanks(row.at("name"));
    const std::string reading = StripBlanks(row.at("reading"));
    if (!Representable(name) || !Representable(reading) || !Representable(row.at("prefecture"))) {
      ++r.skipped;
      continue;
    }
    source.push_back(Join({name, reading, row.at("lat"), row.at("lon"), row.at("prefecture")}));
  }
  const std::string sourcePath = Path(workFolder, kMunicipalitySourceName);
  if (!WriteCp932Lines(sourcePath, source, &e)) return Fail(error, e);
  r.municipalities = static_cast<int>(source.size());
  std::vector<std::string> gradedMunicipalities;
  if (!Check(GradeMunicipalities(sourcePath, valueAt, &gradedMunicipalities), error)) return false;
  if (!Check(AddMunicipalityElevations(sourcePath, Path(workFolder, kMunicipalityElevationsName),
                                       elevationAt),
             error)) {
    return false;
  }
  std::vector<std::string> d4;
  for (const std::string& line : gradedMunicipalities) {
    const auto f = SplitFields(line);
    const int value = static_cast<int>(ParseNumber(f.back()).value_or(0));
    if (value < 127) continue;
    d4.push_back(Join({Field(f, 1), Field(f, 2), Field(f, 3), Field(f, 4), std::to_string(value)}));
    ++r.municipalityGrades[GradeIndex(value)];
  }
  if (!WriteCp932Lines(Path(data2Folder, kMunicipalityListName), d4, &e)) return Fail(error, e);
  r.visibleMunicipalities = static_cast<int>(d4.size());

  // Place names: prefectural capitals and designated cities 10, other cities 9, towns and wards 8,
  // villages 7, the gazetteer's named features 6 and less.
  std::set<std::string> firstRank;
  for (const auto& row : prefectures->rows) firstRank.insert(row.at("capital"));
  for (const auto& row : places->rows) {
    if (row.at("kind") != "ward_of_designated_city") continue;
    const std::string& name = row.at("name");
    firstRank.insert(name.substr(0, name.find(' ')));
  }
  std::vector<std::string> d3;
  for (const auto& row : places->rows) {
    const std::string name = StripBlanks(row.at("name"));
    const std::string reading = StripBlanks(row.at("reading"));
    if (!Representable(name) || !Representable(reading)) {
      ++r.skipped;
      continue;
    }
    d3.push_back(Join(
        {name, reading, row.at("lat"), row.at("lon"), std::to_string(PlaceClass(row, firstRank))}));
  }
  if (!WriteCp932Lines(Path(data2Folder, kPlaceNameListName), d3, &e)) return Fail(error, e);
  r.places = static_cast<int>(d3.size());
  if (report) *report = r;
  return true;
}

}  // namespace velkaro::tools
