#include "cli/command.h"
#include "core/datetime.h"
#include "core/sight_line.h"
#include "events/diamond.h"
#include "events/pearl.h"

namespace velkaro::cli {
namespace {

int RunCrossing(const Args& a) {
  const std::string body = a.text("body");
  if (body != "sun" && body != "moon") throw UsageError("--body: sun or moon");
  const Observer observer{a.number("lat"), a.number("lon"), static_cast<float>(a.number("elev"))};
  const DateTime date = a.date("date");
  const SummitSight sight = ComputeSummitSight(observer);
  Json j = {{"body", body},
            {"date", FormatDate(date)},
            {"summitAzimuth", sight.summitAzimuth},
            {"e3700", sight.e3700},
            {"case", sight.summitAzimuth > 180 ? "setting" : "rising"}};
  if (body == "sun") {
    const SunCrossingResult c = SunCrossingOnDate(date, observer, sight);
    j["valid"] = c.valid;
    j["instant"] = FormatDateTime(c.instant);
    j["azimuth"] = c.azimuth;
    j["offset"] = c.offset;
    j["steps"] = c.steps;
  } else {
    const MoonCrossingResult c = MoonCrossingOnDate(date, observer, sight);
    j["found"] = c.found;
    j["valid"] = c.valid;
    if (c.found) {
      j["instant"] = FormatDateTime(c.instant);
      j["azimuth"] = c.azimuth;
      j["offset"] = c.offset;
      j["steps"] = c.steps;
    }
    const PearlDateDisplay d = DecidePearlDateDisplay(date, observer, sight);
    j["message"] = d.message;
  }
  PrintJson(j);
  return 0;
}

const RegisterCommand kCrossing("crossing",
                                "--body sun|moon --lat φ --lon λ --elev m --date yyyy/mm/dd",
                                RunCrossing);

}  // namespace
}  // namespace velkaro::cli
