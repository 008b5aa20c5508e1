#include "catalogue/picks.h"

#include "catalogue/cp932_text.h"
#include "core/numeric.h"
#include "core/sight_line.h"
#include "core/text.h"

namespace velkaro {

std::string ListFilePath(const AppFolders& folders, ListKind kind) {
  switch (kind) {
    case ListKind::kSummit:
      return folders.summitList;
    case ListKind::kMunicipality:
      return folders.municipalityList;
    case ListKind::kRegistered:
      break;
  }
  return {};
}

std::vector<std::string> ReadListFile(const std::string& path) {
  std::vector<std::string> out;
  const auto lines = ReadCp932LinesLossless(path);
  if (!lines) return out;
  for (const auto& l : *lines)
    if (!l.empty()) out.push_back(l);
  return out;
}

PickResult PickFromLine(ListKind kind, const std::string& line, const PointElevation& elevation) {
  PickResult r;
  const std::vector<std::string> f = SplitFields(line);
  const bool registered = kind == ListKind::kRegistered;
  const std::string& latText = Field(f, registered ? 4 : 3);
  const std::string& lonText = Field(f, registered ? 5 : 4);
  const auto lat = ParseNumber(latText);
  const auto lon = ParseNumber(lonText);
  if (!lat || !lon) {
    r.error = "'" + (lat ? lonText : latText) + "' is not a valid floating point value";
    return r;
  }
  double elev = 0;
  if (kind == ListKind::kMunicipality) {
    elev = elevation ? elevation(*lat, *lon) : -1999;
  } else {
    const std::string& elevText = Field(f, registered ? 6 : 2);
    const auto e = ParseNumber(elevText);
    if (!e) {
      r.error = "'" + elevText + "' is not a valid floating point value";
      return r;
    }
    elev = *e;
  }
  r.pick.latitude = static_cast<float>(*lat);
  r.pick.longitude = static_cast<float>(*lon);
  r.pick.elevation = static_cast<float>(elev);
  r.pick.name = Field(f, 1);
  r.pick.reading = Field(f, kind == ListKind::kSummit ? 5 : 2);
  r.pick.remark = registered ? Field(f, 3) : std::string();
  r.ok = true;
  return r;
}

std::string DistanceLabelText(double distanceKm, double azimuth) {
  return "Zorv山までの距離/方位\r\n" + std::to_string(NearestInt(distanceKm)) + "km　/　" +
         FormatDecimals(1, azimuth) + " 度";
}

ListAnswerActions ApplyListAnswer(AppState& state, ListKind kind, const ListAnswer& answer,
                                  const RegisteredViewpoints& registered,
                                  const std::vector<std::string>& lines,
                                  const PointElevation& elevation) {
  ListAnswerActions a;
  if (!answer.ok) return a;
  const bool isRegistered = kind == ListKind::kRegistered;
  const int n = isRegistered ? answer.chosenRow : answer.chosenLine;
  const int count = isRegistered ? registered.count() : static_cast<int>(lines.size());
  if (n < 1 || n > count) return a;
  const std::string& line = isRegistered ? registered.row(n) : lines[static_cast<size_t>(n - 1)];
  if (isRegistered && answer.deleteRequest) {
    a.changed = true;
    a.deleteName = Field(SplitFields(line), 1);
    return a;
  }
  // Read the line before anything changes, so a bad number leaves the viewpoint as it was.
  const PickResult p = PickFromLine(kind, line, elevation);
  if (!p.ok) {
    a.changed = true;
    a.error = p.error;
    return a;
  }
  state.eventOverlayMode = EventOverlayMode::kNone;
  state.pickSelector = PickSelector::kCatalogue;
  state.cataloguePick = p.pick;
  state.altitudeCorrectionOn = false;
  state.viewpoint = LoadCurrentViewpoint(state.cataloguePick, false, "").viewpoint;
  state.sunShown = false;
  state.moonShown = false;
  a.changed = true;
  a.picked = true;
  a.nameBoxText = p.pick.name;
  const SummitSight sight = ComputeSummitSight(state.viewpoint.observer());
  a.distanceLabel = DistanceLabelText(sight.summitDistanceKm, sight.summitAzimuth);
  return a;
}

}  // namespace velkaro
