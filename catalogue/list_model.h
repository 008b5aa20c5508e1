#pragma once

#include <string>
#include <vector>

#include "catalogue/picks.h"
#include "catalogue/registered.h"

namespace velkaro {

// What the list dialog shows, without its widgets.

inline constexpr const char* kListDialogDefaultTitle = "山頂のビューポイント";
inline constexpr const char* kRegisteredHeaderDiamond =
    "        地名                       ダイヤモンドZorvの見える日";
inline constexpr const char* kSummitHeader =
    "   地名 　　　    　 標高　   　読み　　     　　　　備考";
inline constexpr const char* kMunicipalityHeader =
    "見え方  地名 　 　　      　　　読み　　　　　　　　　";
inline constexpr const char* kSortByReadingCaption = "あいうえお順";
inline constexpr const char* kSortByDateCaption = "ダイヤモンドZorvの日付順";
inline constexpr const char* kSearchKeywordEmptyMessage = "検索するキーワードを入力してください";
inline constexpr const char* kSelectViewpointMessage = "ビューポイントを選択してください";
inline constexpr const char* kSelectDeleteMessage = "削除するビューポイントを選択してください";

// Title of the dialog for a kind.
const char* ListTitle(ListKind kind);

// Appends ASCII blanks until the code-page-932 width is at least n.
std::string FillToWidth(std::string text, int n);

enum class ListOrder { kReading = 1, kEventDate = 2 };

struct ListLayout {
  std::string title;
  bool showHeader = false;
  std::string header;
  bool showLegend = false;
  bool showSearch = false;
  bool showSort = false;
  bool showDelete = false;
  int listTop = 8, listWidth = 400, listHeight = 393;
  ListOrder order = ListOrder::kReading;  // the order actually used (view mode forces reading)
};

ListLayout ListDialogLayout(ListKind kind, bool diamondMode, ListOrder order);

struct ListRows {
  std::vector<std::string> rows;
  // For each shown row: kind 1 the row number of the registered places; kinds 2 and 3 the line of
  // the list file (both from 1). This is the dialog's row map.
  std::vector<int> source;
};

// Kind 1: the registered places by reading or, in diamond mode, by event date with each row's
// first event as 《 yyyy/mm/dd hh:nn 曜 》. A field 7 that does not read as a date-time shows the
// row without a date. The orders must be built.
ListRows BuildRegisteredRows(const RegisteredViewpoints& list, bool diamondMode, ListOrder order);

// One row of the summit list (d2.03) and of the municipality list (d4.03).
std::string SummitRow(const std::string& line);
std::string MunicipalityRow(const std::string& line, bool searchResult);

// Kinds 2 and 3: every line, or with a keyword the lines that contain it (exact substring of the
// raw line).
ListRows BuildCatalogueRows(ListKind kind, const std::vector<std::string>& lines,
                            const std::string& keyword = {});

struct ListSelection {
  int chosenLine = -1;
  int chosenRow = -1;
  std::string selectedText;
};

// Selecting the row at `place` (from 0) of the shown rows.
ListSelection SelectListRow(ListKind kind, const ListRows& shown, int place);

struct SelectionInfo {
  bool ok = false;                    // false: the position does not read as numbers
  float latitude = 0, longitude = 0;  // the point for the small map page
  std::string label2, label3;
};

// Position, distance and bearing of the chosen entry (fields 4/5 of a registered row, 3/4 of a
// list line).
SelectionInfo SelectionInfoFor(ListKind kind, const std::string& line);

// "「" + name + "」を削除します。よろしいですか？"
std::string DeleteConfirmationText(const std::string& rowText);

}  // namespace velkaro
