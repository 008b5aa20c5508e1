#pragma once

#include <string>

#include "catalogue/registered.h"
#include "core/app_state.h"

namespace velkaro {

inline constexpr const char* kFillAllFieldsMessage = "地名、読みなど全部の欄を埋めてください";
inline constexpr const char* kDuplicateNameMessage =
    "同名の地名が登録されています。地名を変更してください。";
inline constexpr const char* kInvalidPickMessage = "緯度、経度、または標高のデータが不正です";
inline constexpr const char* kRegisteredSuffix = "の登録が完了しました";
inline constexpr const char* kNewViewpointName = "新しいビューポイント";

// Where the user's places are written and how their events are brought up to date.
struct CatalogueStore {
  std::string path;          // location.csv
  EventDateUpdater updater;  // may be empty (no event update)
};

enum class AddStatus { kAdded, kMissingFields, kDuplicateName, kConversionError, kSaveFailed };

struct AddResult {
  AddStatus status = AddStatus::kAdded;
  std::string message;  // the message box text (kAdded from the main panel: the completion text)
  std::string error;    // conversion or file error for the standard error dialog
  std::string row;      // the row appended
};

// The entry panel's boxes.
struct TypedViewpoint {
  std::string name, reading, remark;
  std::string latitude, longitude, elevation;
};

// "登　　録": checks the boxes, appends name, reading, remark ("-" when empty) and the three
// number texts as typed, saves (computing the new row's events) and sorts by reading. On success
// the state's catalogue pick is the new place (overlay off, screen state 1); the window then sets
// its name box to the name, redraws and hides the entry panel, the map screen, GroupBox6 and
// GroupBox7. `typed.remark` becomes "-" when it was empty, for the remark box.
AddResult AddTypedViewpoint(TypedViewpoint& typed, RegisteredViewpoints& list,
                            const CatalogueStore& store, AppState& state);

// "ここを追加登録": registers the catalogue pick under the (possibly edited) name box text; names
// that differ only in blanks count as the same. The numbers are the pick's 32-bit values in the
// general form. The window beeps and shows the message.
AddResult AddCurrentPick(const std::string& nameBox, const Pick& pick, RegisteredViewpoints& list,
                         const CatalogueStore& store);

// The texts of a point picked on the map screen.
struct PickedPointTexts {
  std::string latitude, longitude, elevation;  // Label26, Label27, Edit23
  std::string address;                         // Label46 (becomes the viewpoint's remark)
  std::string webAddress;                      // the web map's address (the remark box, MapPick)
};

struct PickedPoint {
  bool ok = false;  // false: a number did not read; show kInvalidPickMessage
  Viewpoint viewpoint;
  double distanceKm = 0;
  double azimuth = 0;
  bool askDistance = false;  // farther than 200 km: ask DistanceQuestion first
  std::string question;
  TypedViewpoint entryBoxes;  // what the entry panel's boxes show once the point is taken
};

// "この地点からZorv山表示", first half: empty texts mean the summit's latitude, the summit's
// longitude + 1 and elevation 0.
PickedPoint ReadPickedPoint(const PickedPointTexts& texts);

// Second half, after the question (if any) was answered Yes: the state's map pick and viewpoint
// become the point (pick selector map, overlay off, sun and moon layers off, correction off).
void TakePickedPoint(AppState& state, const PickedPoint& point, const PickedPointTexts& texts);

// "再描画" on the entry panel: the typed latitude, longitude and elevation as the new map pick
// (named "New Point" when the name box is empty). `ok` false: show kInvalidPickMessage and go
// back to the entry panel. Ask `question` first when `askDistance`; then TakeTypedPoint.
struct TypedPoint {
  bool ok = false;
  Pick pick;
  double distanceKm = 0;
  double azimuth = 0;
  bool askDistance = false;
  std::string question;
};
TypedPoint ReadTypedPoint(const TypedViewpoint& boxes);
// Pick selector map, the map pick and the viewpoint from it, overlay off.
void TakeTypedPoint(AppState& state, const TypedPoint& point);

// "距離が" + whole km + "kmと遠距離です。表示しますか？"
std::string DistanceQuestion(double distanceKm);

}  // namespace velkaro
