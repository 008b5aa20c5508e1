#include "catalogue/adding.h"

#include "catalogue/last_viewpoint.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/sight_line.h"
#include "core/text.h"

namespace velkaro {
namespace {

AddResult Append(std::string row, RegisteredViewpoints& list, const CatalogueStore& store) {
  AddResult r;
  r.row = row;
  AppendRegisteredRow(list, std::move(row));
  if (!SaveRegisteredViewpoints(store.path, list, store.updater, &r.error)) {
    r.status = AddStatus::kSaveFailed;
  }
  SortByReading(list);
  return r;
}

std::string NotANumber(const std::string& text) {
  return "'" + text + "' is not a valid floating point value";
}

}  // namespace

AddResult AddTypedViewpoint(TypedViewpoint& typed, RegisteredViewpoints& list,
                            const CatalogueStore& store, AppState& state) {
  AddResult r;
  const std::string name = FieldSafe(Trim(typed.name));
  const std::string reading = FieldSafe(typed.reading);
  if (Utf8Length(name) < 2 || Utf8Length(reading) < 2) {
    r.status = AddStatus::kMissingFields;
    r.message = kFillAllFieldsMessage;
    return r;
  }
  if (IsNameRegistered(list, name, false)) {
    r.status = AddStatus::kDuplicateName;
    r.message = kDuplicateNameMessage;
    return r;
  }
  const auto lat = ParseNumber(typed.latitude);
  const auto lon = ParseNumber(typed.longitude);
  const auto elev = ParseNumber(typed.elevation);
  if (!lat || !lon || !elev) {
    r.status = AddStatus::kConversionError;
    r.error = NotANumber(!lat ? typed.latitude : !lon ? typed.longitude : typed.elevation);
    return r;
  }
  if (typed.remark.empty()) typed.remark = "-";
  const std::string remark = FieldSafe(typed.remark);
  r = Append(name + "," + reading + "," + remark + "," + typed.latitude + "," + typed.longitude +
                 "," + typed.elevation + ",",
             list, store);
  state.eventOverlayMode = EventOverlayMode::kNone;
  state.pickSelector = PickSelector::kCatalogue;
  state.screenState = ScreenState::kPanorama;
  state.cataloguePick.latitude = static_cast<float>(*lat);
  state.cataloguePick.longitude = static_cast<float>(*lon);
  state.cataloguePick.elevation = static_cast<float>(*elev);
  state.cataloguePick.name = name;
  state.cataloguePick.reading = reading;
  state.cataloguePick.remark = remark;
  return r;
}

AddResult AddCurrentPick(const std::string& nameBox, const Pick& pick, RegisteredViewpoints& list,
                         const CatalogueStore& store) {
  AddResult r;
  if (IsNameRegistered(list, nameBox, true)) {
    r.status = AddStatus::kDuplicateName;
    r.message = kDuplicateNameMessage;
    return r;
  }
  r = Append(FieldSafe(nameBox) + "," + FieldSafe(pick.reading) + "," + FieldSafe(pick.remark) +
                 "," + FormatGeneral(pick.latitude) + "," + FormatGeneral(pick.longitude) + "," +
                 FormatGeneral(pick.elevation) + ",",
             list, store);
  if (r.status == AddStatus::kAdded) r.message = nameBox + kRegisteredSuffix;
  return r;
}

PickedPoint ReadPickedPoint(const PickedPointTexts& texts) {
  PickedPoint p;
  auto read = [](const std::string& text, double fallback) -> std::optional<double> {
    if (text.empty()) return fallback;
    return ParseNumber(text);
  };
  const auto lat = read(texts.latitude, SummitReference.latitude);
  const auto lon = read(texts.longitude, SummitReference.longitude + 1);
  const auto elev = read(texts.elevation, 0);
  if (!lat || !lon || !elev) return p;
  p.ok = true;
  p.viewpoint.latitude = *lat;
  p.viewpoint.longitude = *lon;
  p.viewpoint.elevation = static_cast<float>(*elev);
  p.viewpoint.baseElevation = p.viewpoint.elevation;
  p.viewpoint.name = kNewViewpointName;
  p.viewpoint.reading = "new place";
  p.viewpoint.remark = texts.address;
  SightLine line;
  line.targetLatitude = SummitReference.latitude;
  line.targetLongitude = SummitReference.longitude;
  line.targetHeight = 2600.0f;
  ComputeSightLine(p.viewpoint.observer(), line);
  p.distanceKm = line.distanceKm;
  p.azimuth = line.azimuth;
  p.askDistance = line.distanceKm > 200;
  if (p.askDistance) p.question = DistanceQuestion(line.distanceKm);
  // The boxes show the values in use, also where an empty text stood for a default.
  p.entryBoxes.latitude = texts.latitude.empty() ? FormatGeneral(*lat) : texts.latitude;
  p.entryBoxes.longitude = texts.longitude.empty() ? FormatGeneral(*lon) : texts.longitude;
  p.entryBoxes.elevation = texts.elevation.empty() ? "0" : texts.elevation;
  p.entryBoxes.remark = texts.webAddress;
  return p;
}

void TakePickedPoint(AppState& state, const PickedPoint& point, const PickedPointTexts& texts) {
  state.screenState = ScreenState::kNewPoint;
  state.pickSelector = PickSelector::kMap;
  state.eventOverlayMode = EventOverlayMode::kNone;
  state.sunShown = false;
  state.moonShown = false;
  state.altitudeCorrectionOn = false;
  state.viewpoint = point.viewpoint;
  state.mapPick.latitude = static_cast<float>(point.viewpoint.latitude);
  state.mapPick.longitude = static_cast<float>(point.viewpoint.longitude);
  state.mapPick.elevation = point.viewpoint.elevation;
  state.mapPick.name = "New Point";
  state.mapPick.reading.clear();
  state.mapPick.remark = texts.webAddress;
}

TypedPoint ReadTypedPoint(const TypedViewpoint& boxes) {
  TypedPoint p;
  const auto lat = ParseNumber(boxes.latitude);
  const auto lon = ParseNumber(boxes.longitude);
  const auto elev = ParseNumber(boxes.elevation);
  if (!lat || !lon || !elev) return p;
  p.ok = true;
  p.pick.latitude = static_cast<float>(*lat);
  p.pick.longitude = static_cast<float>(*lon);
  p.pick.elevation = static_cast<float>(*elev);
  p.pick.name = boxes.name.empty() ? "New Point" : boxes.name;
  p.pick.reading = boxes.reading;
  p.pick.remark = boxes.remark;
  SightLine line;
  line.targetLatitude = SummitReference.latitude;
  line.targetLongitude = SummitReference.longitude;
  line.targetHeight = 2600.0f;
  ComputeSightLine(Observer{*lat, *lon, p.pick.elevation}, line);
  p.distanceKm = line.distanceKm;
  p.azimuth = line.azimuth;
  p.askDistance = line.distanceKm > 200;
  if (p.askDistance) p.question = DistanceQuestion(line.distanceKm);
  return p;
}

void TakeTypedPoint(AppState& state, const TypedPoint& point) {
  state.pickSelector = PickSelector::kMap;
  state.mapPick = point.pick;
  state.eventOverlayMode = EventOverlayMode::kNone;
  state.viewpoint = LoadCurrentViewpoint(state.mapPick, false, "").viewpoint;
}

std::string DistanceQuestion(double distanceKm) {
  return "距離が" + std::to_string(NearestInt(distanceKm)) + "kmと遠距離です。表示しますか？";
}

}  // namespace velkaro
