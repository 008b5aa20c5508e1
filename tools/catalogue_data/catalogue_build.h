#pragma once

#include <array>
#include <string>

#include "tools/catalogue_data/catalogue_tools.h"

namespace velkaro::tools {

// File names of the lists the program reads from DATA/DATA2, and of the tools' own files.
inline constexpr const char* kLabelListName = "d10.03";
inline constexpr const char* kSummitListName = "d2.03";
inline constexpr const char* kMunicipalityListName = "d4.03";
inline constexpr const char* kPlaceNameListName = "d3.20";
inline constexpr const char* kMountainSourceName = "d1.03";
inline constexpr const char* kVisibleMountainsName = "d20.csv";
inline constexpr const char* kVisibleMountainsWithPrefectureName = "d2.csv";
inline constexpr const char* kMunicipalitySourceName = "市町村位置情報2010_Velkaro.csv";
inline constexpr const char* kMunicipalityElevationsName = "d30.03";

struct CatalogueBuildReport {
  int mountains = 0;              // lines of d10.03
  int summits = 0;                // lines of d2.03
  int municipalities = 0;         // lines of the municipality source list
  int visibleMunicipalities = 0;  // lines of d4.03
  int places = 0;                 // lines of d3.20
  int skipped = 0;                // source rows whose text code page 932 cannot hold
  // Counts of "●", "◎", "○", "△" in d2.03 and d4.03.
  std::array<int, 4> summitGrades{};
  std::array<int, 4> municipalityGrades{};
};

// Builds the four lists from the source data folder (mountains/, municipalities/, places/), going
// through the preparation tools: the mountain source list d1.03 is graded into d10.03; the visible
// mountains (d20.csv, value 127 and more) get their prefectures from per-prefecture tables written
// from the GSI list, and become d2.03; the municipality source list is graded into d4.03 (value
// 127 and more); d3.20 takes the municipalities, wards and the named features of the gazetteer.
// The tools' own files go to workFolder, the four lists to data2Folder.
bool BuildCatalogue(const std::string& sourceFolder, const std::string& workFolder,
                    const std::string& data2Folder, const VisibilityLookup& valueAt,
                    const ElevationLookup& elevationAt, CatalogueBuildReport* report,
                    std::string* error);

// Hiragana to katakana; everything else unchanged.
std::string HiraganaToKatakana(const std::string& text);

}  // namespace velkaro::tools
