// velkaro-cli calendar / skychart: the event drawings to PNG files, headless.
#include "cli/command.h"
#include "cli/gui_output.h"
#include "core/datetime.h"
#include "events/moon_calendar.h"
#include "events/sky_chart.h"
#include "render/event_charts.h"
#include "render/pictures.h"
#include "resources/embedded.h"

namespace velkaro::cli {
namespace {

EventBody BodyOf(const Args& a) {
  const std::string body = a.text("body");
  if (body == "sun") return EventBody::kSun;
  if (body == "moon") return EventBody::kMoon;
  throw UsageError("--body: sun or moon");
}

Observer ObserverOf(const Args& a) {
  return {a.number("lat"), a.number("lon"), static_cast<float>(a.number("elev"))};
}

int RunCalendar(const Args& a) {
  EnsureGuiApplication();
  const DateTime today = a.date("today", TodayJst(SystemClockJst));
  const std::string out = a.text("out");
  const MoonCalendarTable table = BuildMoonCalendarTable(today);
  const Pictures pictures = LoadPictures(EmbeddedResource("kumo"), EmbeddedResource("moonlist"));
  SavePng(DrawMoonCalendar(table, today, pictures.moonlist), out);
  int noRise = 0, noSet = 0;
  for (int i = 0; i < kMoonCalendarDays; ++i) {
    noRise += table.moonriseTime[i] == 0;
    noSet += table.moonsetTime[i] == 0;
  }
  PrintJson({{"out", out},
             {"today", FormatDate(today)},
             {"moonPictures", !pictures.moonlist.isNull()},
             {"daysWithoutMoonrise", noRise},
             {"daysWithoutMoonset", noSet}});
  return 0;
}

int RunSkyChart(const Args& a) {
  EnsureGuiApplication();
  const EventBody body = BodyOf(a);
  const Observer observer = ObserverOf(a);
  const DateTime date = a.date("date");
  const std::string out = a.text("out");
  const SummitSight sight = ComputeSummitSight(observer);
  const SkyChartData chart = ComputeSkyChart(date, body, observer, sight, date + 0.5);
  SavePng(DrawSkyChart(chart, kSkyChartWidth, kSkyChartHeight, true), out);
  Json j = {{"out", out},
            {"title", chart.title},
            {"crossingValid", chart.crossingValid},
            {"crossing", FormatDateTime(chart.crossingInstant)},
            {"sunrise", FormatLongTime(chart.sunrise)},
            {"sunset", FormatLongTime(chart.sunset)}};
  if (body == EventBody::kMoon) j["moonCaption"] = chart.moonCaption;
  PrintJson(j);
  return 0;
}

const RegisterCommand kCalendar("calendar", "[--today yyyy/mm/dd] -o FILE.png", RunCalendar);
const RegisterCommand kSkyChart(
    "skychart", "--body sun|moon --lat φ --lon λ --elev m --date yyyy/mm/dd -o FILE.png",
    RunSkyChart);
}  // namespace
}  // namespace velkaro::cli
