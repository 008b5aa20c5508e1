#include "cli/command.h"
#include "core/datetime.h"
#include "core/sight_line.h"
#include "events/diamond.h"

namespace velkaro::cli {
namespace {

Json SightJson(const SummitSight& s) {
  return {{"summitAzimuth", s.summitAzimuth},
          {"e2600", s.e2600},
          {"e3700", s.e3700},
          {"summitDistanceKm", s.summitDistanceKm},
          {"toleranceDeg", s.toleranceDeg}};
}

int RunDiamond(const Args& a) {
  const Observer observer{a.number("lat"), a.number("lon"), static_cast<float>(a.number("elev"))};
  const DateTime today = a.date("today", TodayJst(SystemClockJst));
  const DiamondSearchResult r = SearchDiamondEvents(observer, today);
  const DiamondDisplay d = DecideDiamondDisplay(r);
  Json events = Json::array();
  for (const AlignmentEvent& e : r.events) {
    events.push_back({{"date", FormatDate(e.date)},
                      {"time", FormatDateTime(e.instant()).substr(11)},
                      {"offset", e.azimuthOffset}});
  }
  Json j = SightJson(r.sight);
  j["case"] = r.setting ? "setting" : "rising";
  j["today"] = FormatDate(today);
  j["events"] = events;
  j["closest"] = {{"offset", r.closest.offset},
                  {"date", FormatDate(r.closest.date)},
                  {"time", FormatDateTime(r.closest.instant).substr(11)}};
  j["listLines"] = r.listLines;
  j["displayDate"] = FormatDate(r.displayDate);
  j["outcome"] = d.outcome == DisplayOutcome::kEvents    ? "events"
                 : d.outcome == DisplayOutcome::kClosest ? "closest"
                                                         : "notReached";
  j["message"] = d.message;
  if (d.storeEventDates) j["registeredFields"] = {d.field7, d.field8};
  PrintJson(j);
  return 0;
}

const RegisterCommand kDiamond("diamond", "--lat φ --lon λ --elev m [--today yyyy/mm/dd]",
                               RunDiamond);

}  // namespace
}  // namespace velkaro::cli
