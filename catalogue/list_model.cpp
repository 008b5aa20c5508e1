#include "catalogue/list_model.h"

#include "core/constants.h"
#include "core/datetime.h"
#include "core/day_of_week.h"
#include "core/numeric.h"
#include "core/sight_line.h"
#include "core/text.h"

namespace velkaro {
namespace {

// The last n characters of a text (all of it when shorter).
std::string LastChars(const std::string& s, size_t n) {
  const size_t len = Utf8Length(s);
  return len <= n ? s : Utf8Substr(s, len - n);
}

int IntegerOr0(const std::string& text) {
  const auto v = ParseInteger(text);
  if (!v || *v > 1000000000 || *v < -1000000000) return 0;
  return static_cast<int>(*v);
}

const char* SymbolOf(const std::string& visibility) {
  return GradeSymbol(VisibilityGrade(IntegerOr0(visibility)));
}

std::string RegisteredRow(const std::string& row, bool diamondMode) {
  const std::vector<std::string> f = SplitFieldsZero(row);
  std::string text = Trim(Field(f, 1));
  if (diamondMode) {
    const std::string& first = Field(f, 7);
    DateTime t = 0;
    // A hand-edited field that is no date-time shows the place without a date.
    if (Utf8Length(first) > 5 && ParseDateTime(first, t)) {
      text = FillToWidth(std::move(text), 35) + "《 " + FormatDate(t) + " " + FormatHourMinute(t) +
             " " + DayOfWeekMark(t) + " 》";
    }
  } else {
    const std::string& reading = Field(f, 2);
    if (Utf8Length(reading) > 2) text = FillToWidth(std::move(text), 35) + reading;
  }
  return text;
}

}  // namespace

const char* ListTitle(ListKind kind) {
  switch (kind) {
    case ListKind::kRegistered:
      return "登録済みのビューポイント";
    case ListKind::kSummit:
      return "Zorv山が見える山頂リスト";
    case ListKind::kMunicipality:
      return "Zorv山が見える市区町村役場からのビュー";
  }
  return kListDialogDefaultTitle;
}

std::string FillToWidth(std::string text, int n) {
  const int w = Cp932Width(text);
  if (w < n) text.append(static_cast<size_t>(n - w), ' ');
  return text;
}

ListLayout ListDialogLayout(ListKind kind, bool diamondMode, ListOrder order) {
  ListLayout l;
  l.title = ListTitle(kind);
  if (kind == ListKind::kRegistered) {
    l.showDelete = true;
    if (diamondMode) {
      l.showSort = true;
      l.showHeader = true;
      l.header = kRegisteredHeaderDiamond;
      l.listTop = 91;
      l.listHeight = 306;
      l.order = order;
    } else {
      l.listTop = 8;
      l.listHeight = 393;
      l.order = ListOrder::kReading;
    }
    return l;
  }
  l.showSearch = true;
  l.showHeader = true;
  l.showLegend = true;
  l.header = kind == ListKind::kSummit ? kSummitHeader : kMunicipalityHeader;
  l.listTop = 91;
  l.listHeight = 294;
  return l;
}

ListRows BuildRegisteredRows(const RegisteredViewpoints& list, bool diamondMode, ListOrder order) {
  ListRows r;
  const bool byDate = diamondMode && order == ListOrder::kEventDate;
  const std::vector<int>& places = byDate ? list.eventDateOrder : list.readingOrder;
  for (int n : places) {
    if (n < 1 || n > list.count()) continue;
    r.rows.push_back(RegisteredRow(list.row(n), diamondMode));
    r.source.push_back(n);
  }
  return r;
}

std::string SummitRow(const std::string& line) {
  const std::vector<std::string> f = SplitFieldsZero(line);
  std::string row =
      " " + std::string(SymbolOf(Field(f, 7))) + " " + Field(f, 1) + "(" + Field(f, 8) + ")";
  row =
      FillToWidth(std::move(row), 22) + LastChars("     " + Field(f, 2), 4) + "m   " + Field(f, 5);
  row = FillToWidth(std::move(row), 52);
  const int n = IntegerOr0(Field(f, 6));
  if (n > 1000)
    row += "  " + Field(f, 6) + "山";
  else if (n > 50 && n < 400)
    row += "  " + Field(f, 6) + "名山";
  return row;
}

std::string MunicipalityRow(const std::string& line, bool searchResult) {
  const std::vector<std::string> f = SplitFieldsZero(line);
  std::string row = "  " + std::string(SymbolOf(Field(f, 5))) + "    " + Field(f, 1);
  row = FillToWidth(std::move(row), 30) + Field(f, 2);
  return searchResult ? FillToWidth(std::move(row), 45) : row;
}

ListRows BuildCatalogueRows(ListKind kind, const std::vector<std::string>& lines,
                            const std::string& keyword) {
  ListRows r;
  const bool search = !keyword.empty();
  for (size_t j = 0; j < lines.size(); ++j) {
    if (search && lines[j].find(keyword) == std::string::npos) continue;
    r.rows.push_back(kind == ListKind::kSummit ? SummitRow(lines[j])
                                               : MunicipalityRow(lines[j], search));
    r.source.push_back(static_cast<int>(j + 1));
  }
  return r;
}

ListSelection SelectListRow(ListKind kind, const ListRows& shown, int place) {
  ListSelection s;
  if (place < 0 || place >= static_cast<int>(shown.rows.size())) return s;
  s.selectedText = shown.rows[static_cast<size_t>(place)];
  const int source = shown.source[static_cast<size_t>(place)];
  if (kind == ListKind::kRegistered) {
    s.chosenLine = place + 1;
    s.chosenRow = source;
  } else {
    s.chosenLine = source;
  }
  return s;
}

SelectionInfo SelectionInfoFor(ListKind kind, const std::string& line) {
  SelectionInfo info;
  const std::vector<std::string> f = SplitFields(line);
  const bool registered = kind == ListKind::kRegistered;
  const auto lat = ParseNumber(Field(f, registered ? 4 : 3));
  const auto lon = ParseNumber(Field(f, registered ? 5 : 4));
  if (!lat || !lon) return info;
  info.ok = true;
  info.latitude = static_cast<float>(*lat);
  info.longitude = static_cast<float>(*lon);
  SightLine sight;
  sight.targetLatitude = SummitReference.latitude;
  sight.targetLongitude = SummitReference.longitude;
  sight.targetHeight = static_cast<float>(SummitReference.height);
  ComputeSightLine(Observer{info.latitude, info.longitude, 0.0f}, sight);
  info.label2 = "緯度：  " + Utf8Substr(FormatGeneral(info.latitude), 0, 9) + "\r\n" + "経度 ：" +
                Utf8Substr(FormatGeneral(info.longitude), 0, 10);
  info.label3 = "Zorv山までの距離：　" + std::to_string(NearestInt(sight.distanceKm)) + " Km" +
                "\r\n" + "　　　　　　方位：　" + std::to_string(NearestInt(sight.azimuth)) + "度";
  return info;
}

std::string DeleteConfirmationText(const std::string& rowText) {
  return "「" + Field(SplitFieldsZero(rowText), 1) + "」を削除します。よろしいですか？";
}

}  // namespace velkaro
