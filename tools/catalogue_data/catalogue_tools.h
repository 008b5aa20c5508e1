#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velkaro::tools {

// The batch operations that prepare the catalogue lists: each place gets how much of the mountain
// is seen from it, each visible mountain its prefectures, each municipality its ground elevation.
// All files are code page 932, CR LF, "," separated. A missing source does nothing (AddPrefectures
// works with an empty list); a number that does not read stops the operation with a message that
// names the file and line, and no result file is replaced then. Results are written atomically.

// The visibility value (0..255) of a world-datum place, normally VisibilityValueAt on the view map.
using VisibilityLookup = std::function<int(double latitude, double longitude)>;
// The ground elevation of a world-datum place in whole metres (−1999 where the tile is missing).
using ElevationLookup = std::function<int(double latitude, double longitude)>;

struct ToolReport {
  bool sourceFound = false;
  bool ok = true;  // false: `error` says why nothing was written
  int lines = 0;   // result lines
  std::string error;
};

// d1.03 → d10.03: every line followed by "," and the value at its fields 4 and 5. When d1.03 is
// missing nothing is written (no empty d10.03 replaces a good one).
ToolReport GradeMountains(const std::string& d1Path, const std::string& d10Path,
                          const VisibilityLookup& valueAt);

// The municipality source list graded: every line followed by "," and the value at its fields 3
// and 4. Kept in memory in `result`; untouched when the source is missing.
ToolReport GradeMunicipalities(const std::string& sourcePath, const VisibilityLookup& valueAt,
                               std::vector<std::string>* result);

// The per-prefecture tables AddPrefectures reads, in this order, from one folder.
inline const std::vector<std::string> kPrefectureTables = {"20.csv", "11.csv", "08.csv", "12.csv",
                                                           "13.csv", "22.csv", "19.csv", "14.csv"};

// d20.csv + the per-prefecture tables → d2.csv: a line that contains a table record's name and
// reading, lies within 3 m of its elevation (fields 3) and 0.1° of its latitude and longitude
// (fields 4, 5), gets "," and the record's prefecture text appended, once per matching record.
ToolReport AddPrefectures(const std::string& d20Path, const std::string& tablesFolder,
                          const std::string& d2Path);

// The municipality source list → d30.03: name, reading, elevation, latitude, longitude and the
// source's field 5; lines of 10 characters or fewer are skipped. `progress` hears the count of
// lines done.
ToolReport AddMunicipalityElevations(const std::string& sourcePath, const std::string& d30Path,
                                     const ElevationLookup& elevationAt,
                                     const std::function<void(int)>& progress = {});

// Degrees written as "dd.mmss.s": the degrees before the ".", two digits of minutes, then the
// seconds (a decimal fraction allowed). Minutes and seconds are read from their fixed positions.
std::optional<double> ParseDegreesMinutesSeconds(const std::string& text);
// The same form written, seconds to two decimals.
std::string FormatDegreesMinutesSeconds(double degrees);

// The prefecture text of a table record: the short form of field 7 (the name without its final
// 都, 府 or 県), then ":" and the short form of each of fields 8 and 9 that is not empty, so a
// border mountain reads "山梨:静岡". (A first character alone cannot tell 山梨 from 山形.)
std::string PrefectureText(const std::string& first, const std::string& second,
                           const std::string& third);

}  // namespace velkaro::tools
