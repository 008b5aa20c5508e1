#include "cli/command.h"
#include "core/datetime.h"
#include "core/sight_line.h"
#include "events/pearl.h"

namespace velkaro::cli {
namespace {

int RunPearl(const Args& a) {
  const Observer observer{a.number("lat"), a.number("lon"), static_cast<float>(a.number("elev"))};
  const DateTime today = a.date("today", TodayJst(SystemClockJst));
  const PearlSearchResult r = SearchPearlEvents(observer, today);
  const PearlDisplay d = DecidePearlDisplay(r);
  Json events = Json::array();
  for (const AlignmentEvent& e : r.events) {
    events.push_back({{"date", FormatDate(e.date)},
                      {"time", FormatDateTime(e.instant()).substr(11)},
                      {"offset", e.azimuthOffset},
                      {"moonAge", e.moonAge},
                      {"symbol", e.symbol}});
  }
  Json j = {{"summitAzimuth", r.sight.summitAzimuth},
            {"e2600", r.sight.e2600},
            {"e3700", r.sight.e3700},
            {"summitDistanceKm", r.sight.summitDistanceKm},
            {"toleranceDeg", r.sight.toleranceDeg},
            {"case", r.setting ? "setting" : "rising"},
            {"today", FormatDate(today)}};
  j["events"] = events;
  j["closest"] = {{"offset", r.closest.offset},
                  {"date", FormatDate(r.closest.date)},
                  {"time", FormatDateTime(r.closest.instant).substr(11)}};
  j["listLines"] = r.listLines;
  if (r.hasDisplay) {
    j["displayDate"] = FormatDate(r.displayDate);
    j["displayInstant"] = FormatDateTime(r.displayInstant);
  }
  j["outcome"] = d.outcome == DisplayOutcome::kEvents    ? "events"
                 : d.outcome == DisplayOutcome::kClosest ? "closest"
                                                         : "notReached";
  j["message"] = d.message;
  PrintJson(j);
  return 0;
}

const RegisterCommand kPearl("pearl", "--lat φ --lon λ --elev m [--today yyyy/mm/dd]", RunPearl);

}  // namespace
}  // namespace velkaro::cli
