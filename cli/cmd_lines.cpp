#include "cli/command.h"
#include "core/datetime.h"
#include "events/line_map.h"

namespace velkaro::cli {
namespace {

Json LineJson(const EventLine& line) {
  Json points = Json::array();
  for (int i = 0; i < kLinePoints; ++i) points.push_back({line.latitude[i], line.longitude[i]});
  return {{"date", FormatDate(line.date)}, {"points", points}};
}

int RunLines(const Args& a) {
  const std::string body = a.text("body");
  if (body != "sun" && body != "moon") throw UsageError("--body: sun or moon");
  const std::string kase = a.text("case");
  if (kase != "evening" && kase != "morning") throw UsageError("--case: evening or morning");
  const bool evening = kase == "evening";
  const DateTime date = a.date("date");
  const std::string height = a.text("height", "50");
  const DateTime today = a.date("today", TodayJst(SystemClockJst));
  const float elevation = static_cast<float>(a.number("elev", 50));
  const LineMapResult r = body == "sun" ? DiamondLineMap(date, evening, height, today, elevation)
                                        : PearlLineMap(date, evening, height, today, elevation);
  if (!r.ok) {
    PrintJson({{"error", r.error}});
    return 1;
  }
  const ExtremeRiseSetDates& x = r.extremes;
  Json j = {{"body", body}, {"case", kase}, {"date", FormatDate(date)}, {"height", height}};
  j["main"] = LineJson(r.main);
  j["companionA"] = LineJson(r.companionA);
  j["companionB"] = LineJson(r.companionB);
  j["extremes"] = {
      {"sunriseMax", FormatDate(x.sunriseMax)},   {"sunriseMin", FormatDate(x.sunriseMin)},
      {"sunsetMax", FormatDate(x.sunsetMax)},     {"sunsetMin", FormatDate(x.sunsetMin)},
      {"moonriseMax", FormatDate(x.moonriseMax)}, {"moonriseMin", FormatDate(x.moonriseMin)},
      {"moonsetMax", FormatDate(x.moonsetMax)},   {"moonsetMin", FormatDate(x.moonsetMin)}};
  j["caption"] = r.caption;
  j["memo"] = r.memo;
  if (body == "moon") {
    j["firstInstant"] = FormatDateTime(r.firstInstant);
    j["lastInstant"] = FormatDateTime(r.lastInstant);
    j["message"] = r.message;
  }
  PrintJson(j);
  return 0;
}

const RegisterCommand kLines(
    "lines",
    "--body sun|moon --case evening|morning --date yyyy/mm/dd [--height 50] [--today yyyy/mm/dd]",
    RunLines);

}  // namespace
}  // namespace velkaro::cli
