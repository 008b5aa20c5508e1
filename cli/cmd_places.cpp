// velkaro-cli places: the user's registered places (location.csv) from the command line.
#include "catalogue/adding.h"
#include "catalogue/registered.h"
#include "cli/command.h"
#include "core/datetime.h"
#include "core/folders.h"
#include "events/registered_events.h"

namespace velkaro::cli {
namespace {

std::string UserFolder(const Args& a) {
  return a.text("folder", MakeAppFolders(ExecutableFolder()).userFolder);
}

Json RowsJson(const RegisteredViewpoints& list) {
  Json rows = Json::array();
  for (const auto& r : list.rows) rows.push_back(r);
  Json dated = Json::array();
  for (int k = 0; k < list.datedCount; ++k)
    dated.push_back(list.eventDateOrder[static_cast<size_t>(k)]);
  return {{"rows", rows}, {"readingOrder", list.readingOrder}, {"eventDateOrder", dated}};
}

EventDateUpdater Updater(const Args& a) {
  if (a.has("no-events")) return {};
  const DateTime today = a.has("today") ? a.date("today") : TodayJst(SystemClockJst);
  return [today](const std::vector<std::string>& rows) {
    return UpdateRegisteredEventDates(rows, today);
  };
}

// The action either as a word ("places find NAME") or as an option ("places --find NAME").
struct PlacesAction {
  std::string verb;
  std::string name;
};

PlacesAction ActionOf(const Args& a) {
  static const char* const kVerbs[] = {"list", "find", "add", "delete", "save"};
  if (!a.words().empty()) {
    for (const char* v : kVerbs)
      if (a.word(0) == v) return {v, a.word(1)};
    throw UsageError("unknown action '" + a.word(0) + "'");
  }
  for (const char* v : kVerbs)
    if (a.has(v)) return {v, a.text(v, "")};
  throw UsageError("one of list, find NAME, add NAME, delete NAME, save is needed");
}

std::string NameOf(const PlacesAction& action) {
  if (action.name.empty()) throw UsageError(action.verb + " needs a NAME");
  return action.name;
}

int RunPlaces(const Args& a) {
  const PlacesAction action = ActionOf(a);
  const std::string path = UserFolder(a) + "/location.csv";
  CatalogueLoad load = LoadRegisteredViewpoints(path);
  if (!load.ok) throw std::runtime_error(load.error);
  RegisteredViewpoints& list = load.list;
  Json out = {{"path", path}, {"wroteDefaults", load.wroteDefaults}};

  if (action.verb == "find") {
    const FoundViewpoint f = FindRegisteredViewpoint(list, NameOf(action));
    out["found"] = f.found;
    out["complete"] = f.complete;
    out["rowNumber"] = f.rowNumber;
    out["row"] = f.rowText;
    out["latitude"] = f.viewpoint.latitude;
    out["longitude"] = f.viewpoint.longitude;
    out["elevation"] = f.viewpoint.elevation;
    out["reading"] = f.viewpoint.reading;
    out["remark"] = f.viewpoint.remark;
    out["firstEvent"] = f.firstEvent;
    out["secondEvent"] = f.secondEvent;
    PrintJson(out);
    return f.found ? 0 : 1;
  }

  std::string error;
  if (action.verb == "add") {
    TypedViewpoint typed{NameOf(action), a.text("reading"), a.text("remark", ""),
                         a.text("lat"), a.text("lon"),     a.text("elev")};
    AppState state;
    const AddResult r = AddTypedViewpoint(typed, list, {path, Updater(a)}, state);
    if (r.status == AddStatus::kConversionError) throw UsageError(r.error);
    if (r.status == AddStatus::kSaveFailed) throw std::runtime_error(r.error);
    if (r.status != AddStatus::kAdded) {
      out["message"] = r.message;
      PrintJson(out);
      return 1;
    }
    out["added"] = r.row;
  } else if (action.verb == "delete") {
    const int before = list.count();
    if (!DeleteRegisteredViewpoint(path, list, NameOf(action), &error))
      throw std::runtime_error(error);
    out["deleted"] = before - list.count();
  } else if (action.verb == "save") {
    if (!SaveRegisteredViewpoints(path, list, Updater(a), &error)) throw std::runtime_error(error);
  }
  SortByReading(list);
  SortByEventDate(list);
  out.update(RowsJson(list));
  PrintJson(out);
  return 0;
}

const RegisterCommand kPlaces(
    "places",
    "list | find NAME | add NAME --reading R [--remark T] --lat φ --lon λ --elev m | "
    "delete NAME | save  [--folder USERDIR] [--no-events] [--today yyyy/mm/dd]",
    RunPlaces, true);

}  // namespace
}  // namespace velkaro::cli
