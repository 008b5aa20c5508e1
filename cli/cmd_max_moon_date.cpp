// velkaro-cli max-moon-date: the yearly scan of the moon's extreme rise and set azimuths that the
// pearl line map uses, run on demand.
#include "cli/command.h"
#include "core/datetime.h"
#include "events/line_map.h"

namespace velkaro::cli {
namespace {

int RunMaxMoonDate(const Args& a) {
  const DateTime today = a.date("today", TodayJst(SystemClockJst));
  const ExtremeRiseSetDates d =
      FindExtremeRiseSetDates(today, static_cast<float>(a.number("elev", 0)));
  PrintJson({{"moonriseMax", FormatDate(d.moonriseMax)},
             {"moonriseMin", FormatDate(d.moonriseMin)},
             {"moonsetMax", FormatDate(d.moonsetMax)},
             {"moonsetMin", FormatDate(d.moonsetMin)}});
  return 0;
}

const RegisterCommand kMaxMoonDate("max-moon-date", "[--today yyyy/mm/dd] [--elev m]",
                                   RunMaxMoonDate);

}  // namespace
}  // namespace velkaro::cli
