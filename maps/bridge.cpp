#include "maps/bridge.h"

#include <algorithm>
#include <cctype>

#include "core/day_of_week.h"
#include "core/text.h"

namespace velkaro {
namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string NotANumber(const std::string& text) {
  return "'" + text + "' is not a valid floating point value";
}

}  // namespace

std::string ReadHiddenField(const std::vector<PageField>& inputs, const std::string& name) {
  std::string value;
  for (const auto& f : inputs)
    if (EqualNoCase(f.id, name)) value = f.value;
  return value;
}

bool InViewMapArea(double latitude, double longitude) {
  return latitude > 34.5 && latitude < 36 + 5.0 / 60 && longitude > 138 && longitude < 141;
}

BridgeActions OnBrowserCommandState(const BridgeInputs& in, BridgeState& bridge, AppState& state,
                                    const TerrainLookup& terrain, const ElevationFetch& fetch) {
  BridgeActions a;
  if (state.screenState != ScreenState::kMapSelection || in.commandNumber != -1) return a;
  if (!in.documentAvailable) return a;
  a.handled = true;

  a.elv = ReadHiddenField(in.fields, "elv");
  if (a.elv.empty()) a.elv = "0";
  if (const auto e = ParseNumber(a.elv); e && *e < 0) a.elv = "0";
  const std::string lat = Utf8Substr(ReadHiddenField(in.fields, "lat"), 0, 9);
  const std::string lng = Utf8Substr(ReadHiddenField(in.fields, "lng"), 0, 10);
  a.zoomLevel = ReadHiddenField(in.fields, "zoomLevel");
  const std::string clat = ReadHiddenField(in.fields, "clat");
  const std::string clon = ReadHiddenField(in.fields, "clon");

  if (!clat.empty() && !clon.empty()) {
    const auto c1 = ParseNumber(clat);
    const auto c2 = ParseNumber(clon);
    if (!c1 || !c2) {
      a.centreError = NotANumber(c1 ? clon : clat);
    } else if (*c1 != bridge.previousCentreLatitude || *c2 != bridge.previousCentreLongitude) {
      a.centreMoved = true;
      a.centreLatitude = *c1;
      a.centreLongitude = *c2;
      bridge.inArea = InViewMapArea(*c1, *c2);
      a.centreInArea = bridge.inArea;
      state.viewpoint.latitude = *c1;
      state.viewpoint.longitude = *c2;
      a.writeDirectionPage = in.directionMapTicked && state.networkAvailable;
      bridge.previousCentreLatitude = *c1;
      bridge.previousCentreLongitude = *c2;
    }
  }

  if (!lat.empty() && !lng.empty()) {
    a.clearRemark = true;
    if (lat != bridge.previousPickLatitude || lng != bridge.previousPickLongitude) {
      const auto phi = ParseNumber(lat);
      const auto lambda = ParseNumber(lng);
      if (!phi || !lambda) {
        a.pickError = NotANumber(phi ? lng : lat);
        return a;
      }
      std::string e;
      if (bridge.inArea) {
        const int metres = terrain ? terrain(*phi, *lambda) : 0;
        e = std::to_string(std::max(metres, 0));
      } else {
        e = fetch ? fetch(lat, lng) : std::string();
        if (!ParseNumber(e)) e.clear();
        a.elevationFromService = true;
      }
      // An empty or unusable answer counts as 0 m.
      const double metres = ParseNumber(e).value_or(0.0);
      a.picked = true;
      a.elevationText = e;
      a.pickLatitudeText = lat;
      a.pickLongitudeText = lng;
      a.pickLatitude = *phi;
      a.pickLongitude = *lambda;
      state.pickSelector = PickSelector::kMap;
      state.mapPick.latitude = static_cast<float>(*phi);
      state.mapPick.longitude = static_cast<float>(*lambda);
      state.mapPick.elevation = static_cast<float>(metres);
      state.eventOverlayMode = EventOverlayMode::kNone;
      a.pageScript = "GotoLatLng(" + lat + "," + lng + ")";
      bridge.previousPickLatitude = lat;
      bridge.previousPickLongitude = lng;
      state.viewpoint.latitude = *phi;
      state.viewpoint.longitude = *lambda;
      state.viewpoint.elevation = static_cast<float>(metres);
      state.viewpoint.baseElevation = state.viewpoint.elevation;
      a.runDiamondSearch = state.viewMode == ViewMode::kDiamond;
    }
  }
  return a;
}

DiamondPickLabels DiamondPickLabelTexts(const std::vector<double>& eventTimes) {
  DiamondPickLabels l;
  if (eventTimes.empty()) {
    l.label30 = "ﾀﾞｲﾔﾓﾝﾄﾞZorvは見えません";
    return l;
  }
  const auto dated = [](DateTime t) { return FormatDate(t) + " " + DayOfWeekMark(t); };
  l.showLabel31 = true;
  l.label30 = dated(eventTimes[0]);
  if (eventTimes.size() > 1) l.label32 = dated(eventTimes[1]);
  return l;
}

}  // namespace velkaro
