// Feeds arbitrary bytes to the catalogue and map readers: a location.csv or list file as the user
// might have edited it, the list rows, the markers of the picking page, the elevation reply and
// the browser bridge's fields.
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/cp932_text.h"
#include "catalogue/list_model.h"
#include "catalogue/picks.h"
#include "catalogue/registered.h"
#include "core/text.h"
#include "maps/bridge.h"
#include "maps/elevation_reply.h"
#include "maps/pages.h"

using namespace velkaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  // Whatever was read must be writable again: stray bytes travel as escapes.
  const std::string text = DecodeCp932Lossless(in);
  if (!EncodeCp932Lossless(text)) __builtin_trap();

  RegisteredViewpoints list;
  list.rows = SplitLines(text);
  if (list.rows.size() > 400) list.rows.resize(400);  // the sorts are quadratic by design
  SortByReading(list);
  SortByEventDate(list);
  for (bool diamond : {false, true}) {
    BuildRegisteredRows(list, diamond, ListOrder::kEventDate);
    for (const auto& row : list.rows) RegisteredMarkerLine(row, diamond);
  }
  for (const auto& row : list.rows) {
    FindRegisteredViewpoint(list, row);
    PickFromLine(ListKind::kRegistered, row, {});
    SelectionInfoFor(ListKind::kSummit, row);
    ElevationFromReply(row);
  }
  BuildCatalogueRows(ListKind::kSummit, list.rows, text.substr(0, 3));
  BuildCatalogueRows(ListKind::kMunicipality, list.rows);

  std::vector<PageField> fields;
  static const char* kIds[] = {"lat", "lng", "clat", "clon", "elv", "zoomLevel"};
  for (size_t i = 0; i < list.rows.size() && i < 6; ++i) fields.push_back({kIds[i], list.rows[i]});
  AppState state;
  state.screenState = ScreenState::kMapSelection;
  BridgeState bridge;
  BridgeInputs inputs;
  inputs.fields = fields;
  OnBrowserCommandState(
      inputs, bridge, state, [](double, double) { return 0; },
      [&](const std::string&, const std::string&) { return text; });
  return 0;
}
