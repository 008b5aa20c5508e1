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

int RunPlaces(const Args& a) {
  const std::string path = UserFolder(a) + "/location.csv";
  CatalogueLoad load = LoadRegisteredViewpoints(path);
  if (!load.ok) throw std::runtime_error(load.error);
  RegisteredViewpoints& list = load.list;
  Json out = {{"path", path}, {"wroteDefaults", load.wroteDefaults}};

  if (a.has("find")) {
    const FoundViewpoint f = FindRegisteredViewpoint(list, a.text("find"));
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
  if (a.has("add")) {
    TypedViewpoint typed{a.text("add"), a.text("reading"), a.text("remark", ""),
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
  } else if (a.has("delete")) {
    const int before = list.count();
    if (!DeleteRegisteredViewpoint(path, list, a.text("delete"), &error))
      throw std::runtime_error(error);
    out["deleted"] = before - list.count();
  } else if (a.has("save")) {
    if (!SaveRegisteredViewpoints(path, list, Updater(a), &error)) throw std::runtime_error(error);
  } else if (!a.has("list")) {
    throw UsageError("one of --list, --find NAME, --add NAME, --delete NAME, --save is needed");
  }
  SortByReading(list);
  SortByEventDate(list);
  out.update(RowsJson(list));
  PrintJson(out);
  return 0;
}

const RegisterCommand kPlaces(
    "places",
    "--list | --find NAME | --add NAME --reading R [--remark T] --lat φ --lon λ --elev m | "
    "--delete NAME | --save  [--folder USERDIR] [--no-events] [--today yyyy/mm/dd]",
    RunPlaces);

}  // namespace
}  // namespace velkaro::cli
