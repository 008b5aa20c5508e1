// velkaro-cli calendar / skychart / eventpath: the event drawings to PNG files, headless.
#include <QGuiApplication>
#include <cstdlib>

#include "cli/command.h"
#include "core/datetime.h"
#include "core/folders.h"
#include "core/summit_grid.h"
#include "core/viewpoint.h"
#include "events/diamond.h"
#include "events/moon_calendar.h"
#include "events/pearl.h"
#include "events/sky_chart.h"
#include "render/event_charts.h"
#include "render/event_paths.h"
#include "render/panorama.h"
#include "render/pictures.h"
#include "resources/embedded.h"

namespace velkaro::cli {
namespace {

// Qt needs an application object for fonts; without a display the offscreen platform serves.
void EnsureGui() {
  if (QGuiApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "velkaro-cli";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

void Save(const QImage& image, const std::string& out) {
  if (image.isNull() || !image.save(QString::fromStdString(out), "PNG"))
    throw UsageError("cannot write '" + out + "'");
}

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
  EnsureGui();
  const DateTime today = a.date("today", TodayJst(SystemClockJst));
  const std::string out = a.text("out");
  const MoonCalendarTable table = BuildMoonCalendarTable(today);
  const Pictures pictures = LoadPictures(EmbeddedResource("kumo"), EmbeddedResource("moonlist"));
  Save(DrawMoonCalendar(table, today, pictures.moonlist), out);
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
  EnsureGui();
  const EventBody body = BodyOf(a);
  const Observer observer = ObserverOf(a);
  const DateTime date = a.date("date");
  const std::string out = a.text("out");
  const SummitSight sight = ComputeSummitSight(observer);
  const SkyChartData chart = ComputeSkyChart(date, body, observer, sight, date + 0.5);
  Save(DrawSkyChart(chart, kSkyChartWidth, kSkyChartHeight, true), out);
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

// The panorama with the sun or moon path as the diamond and pearl displays draw it.
int RunEventPath(const Args& a) {
  EnsureGui();
  const EventBody body = BodyOf(a);
  Pick pick;
  pick.latitude = static_cast<float>(a.number("lat"));
  pick.longitude = static_cast<float>(a.number("lon"));
  pick.elevation = static_cast<float>(a.number("elev"));
  pick.name = a.text("name", "New Point");
  const DateTime today = a.date("today", TodayJst(SystemClockJst));
  const std::string out = a.text("out");

  PanoramaInputs in;
  in.viewpoint = LoadCurrentViewpoint(pick, false, "").viewpoint;
  in.clientWidth = static_cast<int>(a.number("width", 1920));
  in.clientHeight = static_cast<int>(a.number("height", 1080));
  if (in.clientWidth <= kMainPanelWidth || in.clientHeight <= kPanoramaHeightMargin + 30)
    throw UsageError("--width/--height leave no room for the panorama");
  const Observer observer = in.viewpoint.observer();
  const SummitSight sight = ComputeSummitSight(observer);
  const SummitGrid grid = LoadSummitGrid(EmbeddedResource("zorvht"));
  in.grid = &grid;
  const Pictures pictures = LoadPictures(EmbeddedResource("kumo"), EmbeddedResource("moonlist"));
  in.kumo = &pictures.kumo;

  Json j = {{"out", out}, {"body", a.text("body")}};
  DateTime pathDate = 0, pathInstant = 0;
  std::string message;
  double offset = 0;
  bool drawPath = false;
  if (body == EventBody::kSun) {
    const DiamondSearchResult r = SearchDiamondEvents(observer, sight, today);
    const DiamondDisplay d = DecideDiamondDisplay(r);
    message = d.message;
    drawPath = d.drawPath;
    pathDate = a.has("date") ? a.date("date") : d.pathDate;
    offset = r.events.empty() ? r.closest.offset : 0;
    in.mode = drawPath ? EventOverlayMode::kSunPath : EventOverlayMode::kNone;
    j["listLines"] = r.listLines;
  } else {
    const PearlSearchResult r = SearchPearlEvents(observer, sight, today);
    const PearlDisplay d = DecidePearlDisplay(r);
    message = d.message;
    drawPath = d.drawPath;
    pathInstant = d.pathInstant;
    if (a.has("date")) {
      const PearlDateDisplay c = DecidePearlDateDisplay(a.date("date"), observer, sight);
      message = c.message;
      drawPath = c.drawPath;
      pathInstant = c.pathInstant;
    }
    pathDate = WholeDay(pathInstant);
    offset = r.events.empty() ? r.closest.offset : 0;
    in.mode = drawPath ? EventOverlayMode::kMoonPath : EventOverlayMode::kNone;
    in.pearlInstant = pathInstant;
    j["listLines"] = r.listLines;
  }
  in.drawSize = kDefaultDrawSize;
  if (offset > 0) {
    if (const auto size = ChooseDrawSize(static_cast<float>(offset), sight.toleranceDeg)) {
      in.drawSize = *size;
    }
  }
  PanoramaResult pano = RedrawPanorama(in);
  QImage overlay;
  QImage canvas;
  if (drawPath) {
    if (body == EventBody::kSun) {
      const SunPathResult p = DrawSunPath(overlay, pano.frame, observer, pano.sight, pathDate);
      j["samples"] = p.path.x.size();
      j["visible"] = p.path.visible;
      j["labels"] = {p.label59, p.label60, p.label61};
    } else {
      const MoonPathResult p =
          DrawMoonPath(overlay, pano.frame, observer, pano.sight, pathDate, pathInstant);
      j["samples"] = p.path.x.size();
      j["visible"] = p.path.visible;
      j["moonAge"] = p.moonAge;
      j["labels"] = {p.label62, p.label63, p.label64, p.label65};
    }
  }
  PresentPanorama(canvas, pano.panorama, overlay, in.mode, body == EventBody::kSun,
                  body == EventBody::kMoon);
  Save(canvas, out);
  j["date"] = FormatDate(pathDate);
  j["drawSize"] = in.drawSize;
  j["message"] = message;
  PrintJson(j);
  return 0;
}

const RegisterCommand kCalendar("calendar", "[--today yyyy/mm/dd] -o FILE.png", RunCalendar);
const RegisterCommand kSkyChart(
    "skychart", "--body sun|moon --lat φ --lon λ --elev m --date yyyy/mm/dd -o FILE.png",
    RunSkyChart);
const RegisterCommand kEventPath("eventpath",
                                 "--body sun|moon --lat φ --lon λ --elev m [--date yyyy/mm/dd] "
                                 "[--today yyyy/mm/dd] [--width px --height px] -o FILE.png",
                                 RunEventPath);

}  // namespace
}  // namespace velkaro::cli
