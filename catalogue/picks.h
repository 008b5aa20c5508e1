#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/registered.h"
#include "core/app_state.h"
#include "core/folders.h"

namespace velkaro {

// The three catalogues of the list dialog.
enum class ListKind { kRegistered = 1, kSummit = 2, kMunicipality = 3 };

// Ground elevation in whole metres at a world-datum point (-1999 where no terrain tile exists).
using PointElevation = std::function<int(double latitude, double longitude)>;

// The list file of a kind (d2.03 for summits, d4.03 for municipalities; empty for kind 1).
std::string ListFilePath(const AppFolders& folders, ListKind kind);

// The non-empty lines of a list file in file order (no line limit); empty when the file is
// missing.
std::vector<std::string> ReadListFile(const std::string& path);

struct PickResult {
  bool ok = false;
  Pick pick;
  std::string error;  // the conversion error when a number does not read
};

// The catalogue pick of one line or row: kind 1 name, reading, remark, latitude, longitude and
// elevation from fields 1..6; kind 2 fields 1, 5, -, 3, 4, 2; kind 3 fields 1, 2, -, 3, 4 and the
// terrain elevation there.
PickResult PickFromLine(ListKind kind, const std::string& line, const PointElevation& elevation);

// What the list dialog answered.
struct ListAnswer {
  bool ok = false;      // false: Cancel
  int chosenLine = -1;  // kinds 2 and 3: line of the list file, from 1
  int chosenRow = -1;   // kind 1: row number of the registered places, from 1
  bool deleteRequest = false;
};

// What the main window does after the answer was applied to its state.
struct ListAnswerActions {
  bool changed = false;    // false: nothing to do
  std::string deleteName;  // non-empty: DeleteRegisteredViewpoint with this name
  std::string error;       // a conversion error to report; the viewpoint is unchanged
  // A pick: the state already holds the new picks; the window hides the event chart (GroupBox7),
  // selects the default draw size and unticks the altitude correction with drawing suppressed,
  // switches the sun and moon layers off, sets the name box, redraws, shows the distance label,
  // writes and shows the direction map page and hides the event panels (GroupBox3..6).
  bool picked = false;
  std::string nameBoxText;
  std::string distanceLabel;
};

// The distance label under the panorama: "Zorv山までの距離/方位\r\n" + whole km + "km　/　" +
// azimuth with one decimal + " 度".
std::string DistanceLabelText(double distanceKm, double azimuth);

// Applies the dialog's answer. `lines` are the list file's lines for kinds 2 and 3.
ListAnswerActions ApplyListAnswer(AppState& state, ListKind kind, const ListAnswer& answer,
                                  const RegisteredViewpoints& registered,
                                  const std::vector<std::string>& lines,
                                  const PointElevation& elevation);

}  // namespace velkaro
