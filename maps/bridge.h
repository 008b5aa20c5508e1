#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/datetime.h"

namespace velkaro {

// One input element of the picking page: its id and its "value".
struct PageField {
  std::string id;
  std::string value;
};

// The value of the last input whose id equals `name` without regard to case; empty when none.
std::string ReadHiddenField(const std::vector<PageField>& inputs, const std::string& name);

// What the bridge remembers between notifications of the picking page.
struct BridgeState {
  double previousCentreLatitude = 0;
  double previousCentreLongitude = 0;
  std::string previousPickLatitude;  // the cut texts of the last pick
  std::string previousPickLongitude;
  bool inArea = false;  // the last web-map centre lies inside the view map area
};

// Inside the view map's area: 34.5 < latitude < 36 + 5/60 and 138 < longitude < 141.
bool InViewMapArea(double latitude, double longitude);

struct BridgeInputs {
  int commandNumber = -1;
  bool documentAvailable = true;    // the page's document and body could be had
  std::vector<PageField> fields;    // the page's input elements
  bool directionMapTicked = false;  // CheckBox5 "Zorv山方位表示"
};

// Ground elevation in whole metres (negative where the tiles have none).
using TerrainLookup = std::function<int(double latitude, double longitude)>;
// The elevation service: (latitude text, longitude text) -> reply text, empty without an answer.
using ElevationFetch = std::function<std::string(const std::string&, const std::string&)>;

// What the window does after a notification, in this order.
struct BridgeActions {
  bool selectDrawSize11 = true;  // on every notification
  bool handled = false;          // map screen and command -1: the fields were read
  std::string elv;               // "elv": "0" when empty or negative
  std::string zoomLevel;         // into Edit33

  // Centre: the web map moved to a new centre.
  bool centreMoved = false;
  double centreLatitude = 0, centreLongitude = 0;
  // Clear Label26, Label27, Edit23, Label39, Label40 and Edit30 first. In the area: DrawViewMap and
  // ShowVisibilityPopup there, pop-up placed and shown, Label30..32 hidden, Button35 disabled,
  // Panel21 hidden, view map box shown; outside: view map box and pop-up hidden.
  bool centreInArea = false;
  bool writeDirectionPage = false;  // then navigate WebBrowser3 to kgmap.html
  std::string centreError;          // an unreadable number ended the centre handling

  // Pick: a new point was clicked.
  bool picked = false;
  std::string pickLatitudeText, pickLongitudeText;  // Label26/39 and Label27/40
  std::string elevationText;                        // Edit23 and Edit30
  bool elevationFromService = false;
  double pickLatitude = 0, pickLongitude = 0;
  // Once the page is ready: run this script (moves the web map to the pick).
  std::string pageScript;
  bool runDiamondSearch = false;  // diamond mode: search for the new viewpoint, show Label30..32
  std::string pickError;

  bool clearRemark = false;  // Label46 and the entry panel's remark box Edit26
};

// The picking page reported a change of its command state. Reads the fields, re-centres the view
// map on a new web-map centre, then takes a new pick (its elevation from the terrain inside the
// view map's area, from the service outside). Updates `bridge` and the picks and viewpoint in
// `state`; what the window must show comes back as actions.
BridgeActions OnBrowserCommandState(const BridgeInputs& in, BridgeState& bridge, AppState& state,
                                    const TerrainLookup& terrain, const ElevationFetch& fetch);

// The labels of the map screen's floating panel after a pick in diamond mode: with no event
// Label30 = "ﾀﾞｲﾔﾓﾝﾄﾞZorvは見えません"; otherwise Label31 ("ﾀﾞｲﾔﾓﾝﾄﾞZorvの見える日時") shown,
// Label30 = the first event's date "yyyy/mm/dd 曜" and, with a second event, Label32 the same.
struct DiamondPickLabels {
  std::string label30;
  bool showLabel31 = false;
  std::string label32;  // empty: hidden
};
DiamondPickLabels DiamondPickLabelTexts(const std::vector<double>& eventTimes);

}  // namespace velkaro
