#include "tools/catalogue_data/catalogue_tools.h"

#include <cmath>
#include <cstdio>

#include "core/text.h"

namespace velkaro::tools {

namespace {

std::string NotANumber(const std::string& file, int line, const std::string& text) {
  return file + " line " + std::to_string(line) + ": \"" + text + "\" is not a number";
}

// Reads a code-page-932 list; nullopt (with sourceFound false) when it does not exist.
std::optional<std::vector<std::string>> ReadList(const std::string& path, ToolReport& report) {
  if (!ReadFileBytes(path)) return std::nullopt;
  report.sourceFound = true;
  std::string error;
  auto lines = ReadCp932Lines(path, &error);
  if (!lines) {
    report.ok = false;
    report.error = path + ": " + error;
  }
  return lines;
}

bool WriteList(const std::string& path, const std::vector<std::string>& lines, ToolReport& report) {
  std::string error;
  if (!WriteCp932Lines(path, lines, &error)) {
    report.ok = false;
    report.error = path + ": " + error;
    return false;
  }
  report.lines = static_cast<int>(lines.size());
  return true;
}

bool Blank(const std::string& line) {
  return Trim(line).empty();
}

// Appends the visibility value of fields (latField, latField + 1) to every line.
bool GradeLines(const std::string& path, const std::vector<std::string>& lines, size_t latField,
                const VisibilityLookup& valueAt, std::vector<std::string>& out,
                ToolReport& report) {
  int number = 0;
  for (const std::string& line : lines) {
    ++number;
    if (Blank(line)) continue;
    const auto fields = SplitFields(line);
    const auto lat = ParseNumber(Field(fields, latField));
    const auto lon = ParseNumber(Field(fields, latField + 1));
    if (!lat || !lon) {
      report.ok = false;
      report.error =
          NotANumber(path, number, !lat ? Field(fields, latField) : Field(fields, latField + 1));
      return false;
    }
    out.push_back(line + "," + std::to_string(valueAt(*lat, *lon)));
  }
  return true;
}

std::string ShortPrefecture(const std::string& name) {
  const std::string t = Trim(name);
  for (const char* suffix : {"都", "府", "県"}) {
    const std::string s(suffix);
    if (t.size() > s.size() && t.compare(t.size() - s.size(), s.size(), s) == 0) {
      return t.substr(0, t.size() - s.size());
    }
  }
  return t;
}

}  // namespace

ToolReport GradeMountains(const std::string& d1Path, const std::string& d10Path,
                          const VisibilityLookup& valueAt) {
  ToolReport report;
  const auto lines = ReadList(d1Path, report);
  if (!lines) return report;
  std::vector<std::string> out;
  if (!GradeLines(d1Path, *lines, 4, valueAt, out, report)) return report;
  WriteList(d10Path, out, report);
  return report;
}

ToolReport GradeMunicipalities(const std::string& sourcePath, const VisibilityLookup& valueAt,
                               std::vector<std::string>* result) {
  ToolReport report;
  const auto lines = ReadList(sourcePath, report);
  if (!lines) return report;
  std::vector<std::string> out;
  if (!GradeLines(sourcePath, *lines, 3, valueAt, out, report)) return report;
  report.lines = static_cast<int>(out.size());
  if (result) *result = std::move(out);
  return report;
}

std::optional<double> ParseDegreesMinutesSeconds(const std::string& text) {
  const std::string t = Trim(text);
  const size_t dot = t.find('.');
  if (dot == std::string::npos || dot == 0) return ParseNumber(t);
  const auto degrees = ParseNumber(t.substr(0, dot));
  const auto minutes = ParseNumber(t.substr(dot + 1, 2));
  const std::string secondsText = dot + 3 < t.size() ? t.substr(dot + 3, 10) : "";
  const auto seconds = secondsText.empty() ? std::optional<double>(0) : ParseNumber(secondsText);
  if (!degrees || !minutes || !seconds) return std::nullopt;
  return *degrees + *minutes / 60 + *seconds / 3600;
}

std::string FormatDegreesMinutesSeconds(double degrees) {
  // Round once to hundredths of a second so that 59.996″ carries into the minute.
  const long long hundredths = std::llround(degrees * 360000.0);
  const long long d = hundredths / 360000;
  const long long m = (hundredths / 6000) % 60;
  const long long s = hundredths % 6000;
  char text[48];
  std::snprintf(text, sizeof text, "%lld.%02lld%02lld.%02lld", d, m, s / 100, s % 100);
  return text;
}

std::string PrefectureText(const std::string& first, const std::string& second,
                           const std::string& third) {
  std::string text = ShortPrefecture(first);
  for (const std::string* f : {&second, &third}) {
    if (!Trim(*f).empty()) text += ":" + ShortPrefecture(*f);
  }
  return text;
}

ToolReport AddPrefectures(const std::string& d20Path, const std::string& tablesFolder,
                          const std::string& d2Path) {
  ToolReport report;
  std::vector<std::string> list;
  if (const auto lines = ReadList(d20Path, report)) {
    for (const std::string& line : *lines) {
      if (!line.empty()) list.push_back(line);
    }
  }
  if (!report.ok) return report;
  // The numbers of the list's lines, read once; a line that does not read stops the operation.
  struct Place {
    double elevation, latitude, longitude;
  };
  std::vector<Place> places;
  for (size_t j = 0; j < list.size(); ++j) {
    const auto fields = SplitFields(list[j]);
    const auto e = ParseNumber(Field(fields, 3));
    const auto lat = ParseNumber(Field(fields, 4));
    const auto lon = ParseNumber(Field(fields, 5));
    if (!e || !lat || !lon) {
      report.ok = false;
      report.error = NotANumber(d20Path, static_cast<int>(j + 1),
                                !e     ? Field(fields, 3)
                                : !lat ? Field(fields, 4)
                                       : Field(fields, 5));
      return report;
    }
    places.push_back({*e, *lat, *lon});
  }
  std::string folder = tablesFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  for (const std::string& table : kPrefectureTables) {
    const std::string path = folder + table;
    ToolReport tableReport;
    const auto records = ReadList(path, tableReport);
    if (!tableReport.ok) {
      report.ok = false;
      report.error = tableReport.error;
      return report;
    }
    if (!records) continue;
    int number = 0;
    for (const std::string& record : *records) {
      ++number;
      if (Blank(record)) continue;
      const auto f = SplitFields(record);
      const std::string name = Trim(Field(f, 3));
      const std::string reading = Trim(Field(f, 5));
      // An empty name or reading would be found in every line.
      if (name.empty() || reading.empty()) continue;
      const auto elevation = ParseNumber(Field(f, 2));
      const auto latitude = ParseDegreesMinutesSeconds(Field(f, 18));
      const auto longitude = ParseDegreesMinutesSeconds(Field(f, 19));
      if (!elevation || !latitude || !longitude) {
        report.ok = false;
        report.error = NotANumber(path, number,
                                  !elevation  ? Field(f, 2)
                                  : !latitude ? Field(f, 18)
                                              : Field(f, 19));
        return report;
      }
      const std::string text = PrefectureText(Field(f, 7), Field(f, 8), Field(f, 9));
      for (size_t j = 0; j < list.size(); ++j) {
        const Place& p = places[j];
        if (list[j].find(name) != std::string::npos && list[j].find(reading) != std::string::npos &&
            std::abs(*elevation - p.elevation) < 3 && std::abs(*latitude - p.latitude) < 0.1 &&
            std::abs(*longitude - p.longitude) < 0.1) {
          list[j] += "," + text;
        }
      }
    }
  }
  WriteList(d2Path, list, report);
  return report;
}

ToolReport AddMunicipalityElevations(const std::string& sourcePath, const std::string& d30Path,
                                     const ElevationLookup& elevationAt,
                                     const std::function<void(int)>& progress) {
  ToolReport report;
  const auto lines = ReadList(sourcePath, report);
  if (!lines) return report;
  std::vector<std::string> out;
  int number = 0;
  int done = 0;
  for (const std::string& line : *lines) {
    ++number;
    if (Utf8Length(line) <= 10) continue;
    const auto f = SplitFields(line);
    const auto lat = ParseNumber(Field(f, 3));
    const auto lon = ParseNumber(Field(f, 4));
    if (!lat || !lon) {
      report.ok = false;
      report.error = NotANumber(sourcePath, number, !lat ? Field(f, 3) : Field(f, 4));
      return report;
    }
    const int elevation = elevationAt(*lat, *lon);
    out.push_back(Field(f, 1) + "," + Field(f, 2) + "," + std::to_string(elevation) + "," +
                  Field(f, 3) + "," + Field(f, 4) + "," + Field(f, 5));
    if (progress) progress(++done);
  }
  WriteList(d30Path, out, report);
  return report;
}

}  // namespace velkaro::tools
