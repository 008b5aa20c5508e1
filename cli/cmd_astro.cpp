#include "astro/astro.h"
#include "cli/command.h"
#include "core/datetime.h"
#include "core/text.h"

namespace velkaro::cli {
namespace {

Observer ObserverFrom(const Args& a, bool elevationRequired) {
  const double elev = elevationRequired ? a.number("elev") : a.number("elev", 0);
  return {a.number("lat"), a.number("lon"), static_cast<float>(elev)};
}

Json PositionJson(const BodyPosition& p, bool withParallax) {
  Json j{{"azimuth", p.azimuth},
         {"trueAltitude", p.trueAltitude},
         {"refraction", p.refraction},
         {"apparentAltitude", p.apparentAltitude},
         {"rightAscension", p.rightAscension},
         {"declination", p.declination},
         {"siderealTime", p.siderealTime},
         {"eclipticLongitude", p.eclipticLongitude},
         {"distance", p.distance},
         {"semiDiameter", p.semiDiameter}};
  if (withParallax) j["horizontalParallax"] = p.horizontalParallax;
  return j;
}

int RunSun(const Args& a) {
  const Observer observer = ObserverFrom(a, false);
  const DateTime t = a.dateTime("time");
  Json j{{"time", FormatDateTime(t)}};
  j.update(PositionJson(ComputeSunPosition(AstroTimeFromDateTime(t), observer), false));
  PrintJson(j);
  return 0;
}

int RunMoon(const Args& a) {
  const Observer observer = ObserverFrom(a, false);
  const DateTime t = a.dateTime("time");
  Json j{{"time", FormatDateTime(t)}};
  j.update(PositionJson(ComputeMoonPosition(AstroTimeFromDateTime(t), observer), true));
  PrintJson(j);
  return 0;
}

Json SunEventJson(const SunRiseSet& r, const std::string& label) {
  return {{"time", FormatLongTime(r.time)},
          {"dayFraction", r.time},
          {"azimuth", r.azimuthRounded},
          {"azimuthDeg", r.azimuth},
          {"label", label}};
}

Json MoonEventJson(const MoonRiseSet& r, const std::string& label) {
  Json j{{"found", r.found}};
  if (r.found) {
    j["instant"] = FormatDateTime(r.instant);
    j["dayFraction"] = r.time;
    j["azimuth"] = r.azimuth;
  } else {
    j["instant"] = nullptr;
    j["dayFraction"] = nullptr;
    j["azimuth"] = nullptr;
  }
  j["label"] = label;
  return j;
}

// What the moon panel shows for one date.
int RunRiseSet(const Args& a) {
  const Observer observer = ObserverFrom(a, true);
  // Without a date the panel shows today, as the window does when it opens it.
  const MoonPanel p = ComputeMoonPanel(a.date("date", TodayJst(SystemClockJst)), observer);
  PrintJson({{"date", FormatDate(p.date)},
             {"title", p.title},
             {"sunrise", SunEventJson(p.sunrise, p.sunriseText)},
             {"sunset", SunEventJson(p.sunset, p.sunsetText)},
             {"moonrise", MoonEventJson(p.moonrise, p.moonriseText)},
             {"moonset", MoonEventJson(p.moonset, p.moonsetText)},
             {"moonAge", FormatDecimals(1, p.noonAge.age)},
             {"tide", p.noonAge.tideName},
             {"moonAgeLine", p.ageText}});
  return 0;
}

const RegisterCommand kSun("sun", "--lat φ --lon λ [--elev m] --time \"yyyy/mm/dd hh:nn:ss\"",
                           RunSun);
const RegisterCommand kMoon("moon", "--lat φ --lon λ [--elev m] --time \"yyyy/mm/dd hh:nn:ss\"",
                            RunMoon);
const RegisterCommand kRiseSet("riseset", "--lat φ --lon λ --elev m [--date yyyy/mm/dd]",
                               RunRiseSet);

}  // namespace
}  // namespace velkaro::cli
