#include "events/pearl.h"

#include <algorithm>
#include <cmath>

#include "astro/astro.h"
#include "core/day_of_week.h"
#include "core/numeric.h"
#include "core/text.h"

namespace velkaro {
namespace {

constexpr int kPearlDays = 376;
constexpr int kPearlMaxSteps = 200;
constexpr int kPearlNewestStepLimit = 90;
constexpr size_t kPearlMaxEvents = 100;
constexpr double kMinute = 1.0 / 1440.0;

bool IsSetting(const SummitSight& sight) {
  return sight.summitAzimuth > 180;
}

std::string PadLeft(const std::string& s, size_t width) {
  const size_t len = Utf8Length(s);
  return len >= width ? s : std::string(width - len, ' ') + s;
}

}  // namespace

const char* PhaseSymbol(double moonAge) {
  const double h = std::fabs(moonAge - 14.5);
  if (h < 2) return "◎";
  if (h < 6) return "○";
  if (h < 10) return "□";
  if (h < 13) return "△";
  return "●";
}

std::string SignedOffsetText(float offset) {
  std::string s = FormatGeneral(offset);
  if (s.find('E') != std::string::npos) s = offset < 0 ? "-0.0" : "0.0";
  const size_t dot = s.find('.');
  if (dot != std::string::npos && s.size() > dot + 2) s.resize(dot + 2);
  return offset > 0 ? "+" + s : s;
}

std::string PearlListLine(DateTime instant, float moonAge, float offset) {
  std::string line = FormatDateTime(instant);
  line += " ";
  line += DayOfWeekMark(instant);
  line += "  ";
  line += PhaseSymbol(moonAge);
  line += "(月齢：" + PadLeft(FormatDecimals(1, moonAge), 4) + ") ";
  line += " " + SignedOffsetText(offset) + " °";
  return line;
}

bool ParsePearlListLine(const std::string& line, DateTime& date, DateTime& instant) {
  // The date, one blank and the time up to the next blank.
  const size_t firstBlank = line.find(' ');
  if (firstBlank == std::string::npos) return false;
  const size_t secondBlank = line.find(' ', firstBlank + 1);
  const std::string head = line.substr(0, secondBlank);
  DateTime t = 0;
  if (head.size() <= firstBlank + 1 || !ParseDateTime(head, t)) return false;
  date = WholeDay(t);
  instant = t;
  return true;
}

std::vector<CrossingDay> ScanPearlDays(const Observer& observer, const SummitSight& sight,
                                       DateTime today) {
  const bool setting = IsSetting(sight);
  const RiseOrSet which = setting ? RiseOrSet::kSet : RiseOrSet::kRise;
  const double step = setting ? -2.0 : 2.0;
  const double target = sight.e3700 + kPearlAltitudeLift;
  const DateTime start = WholeDay(today) - 5;
  std::vector<CrossingDay> days;
  days.reserve(kPearlDays);
  MoonRiseSet previous;
  for (int i = 0; i < kPearlDays; ++i) {
    const DateTime day = start + i;
    const MoonRiseSet mr = SolveMoonRiseSet(day, observer, which, previous);
    previous = mr;
    CrossingDay d;
    if (!mr.found) {
      days.push_back(d);
      continue;
    }
    // The rise or set time may lie slightly outside the day; it is used as it came out.
    const DateTime t0 = day + mr.time - step * 10 * kMinute;
    const AltitudeMarch m = MarchToAltitude(t0, step, kPearlMaxSteps, target, [&](DateTime t) {
      return ComputeMoonPosition(AstroTimeFromDateTime(t), observer);
    });
    d.steps = m.steps;
    d.counts = m.reached && m.steps > 1 && m.steps < kPearlMaxSteps && WholeDay(m.t) == day;
    if (d.counts) {
      d.offset = InterpolateCrossingAzimuth(m.azPrev, m.altPrev, m.az, m.alt, target) -
                 sight.summitAzimuth;
      d.date = day;
      d.timeOfDay = m.t - day;
    }
    days.push_back(d);
  }
  return days;
}

PearlSearchResult SearchPearlEvents(const Observer& observer, const SummitSight& sight,
                                    DateTime today) {
  PearlSearchResult r;
  r.sight = sight;
  r.setting = IsSetting(sight);
  EventSelectionRules rules;
  rules.tolerance = sight.toleranceDeg;
  rules.useDateLimit = false;
  rules.maxNewestSteps = kPearlNewestStepLimit;
  rules.maxEvents = kPearlMaxEvents;
  EventSelection sel =
      SelectAlignmentEvents(ScanPearlDays(observer, sight, today), rules, EventBody::kMoon);
  r.events = std::move(sel.events);
  r.closest = sel.closest;
  for (AlignmentEvent& e : r.events) {
    e.moonAge = MoonAge(e.instant(), observer).age;
    e.symbol = PhaseSymbol(e.moonAge);
    e.line = PearlListLine(e.instant(), e.moonAge, e.azimuthOffset);
    r.listLines.push_back(e.line);
  }
  if (!r.events.empty()) {
    r.hasDisplay = true;
    r.displayDate = r.events.front().date;
    r.displayInstant = r.events.front().instant();
  } else if (r.closest.offset < 40) {
    r.hasDisplay = true;
    r.displayDate = r.closest.date;
    const float age = MoonAge(r.closest.date, observer).age;
    r.listLines.push_back(FormatDate(r.closest.date) + " " + FormatLongTime(r.closest.timeOfDay) +
                          "   (月齢： " + std::to_string(NearestInt(age)) + " )  ");
    r.displayInstant = r.closest.instant;
  }
  if (!r.listLines.empty()) r.firstLine = r.listLines.front();
  return r;
}

PearlSearchResult SearchPearlEvents(const Observer& observer, DateTime today) {
  return SearchPearlEvents(observer, ComputeSummitSight(observer), today);
}

MoonCrossingResult MoonCrossingOnDate(DateTime date, const Observer& observer,
                                      const SummitSight& sight) {
  const bool setting = IsSetting(sight);
  const DateTime day = WholeDay(date);
  MoonCrossingResult r;
  const MoonRiseSet mr =
      SolveMoonRiseSet(day, observer, setting ? RiseOrSet::kSet : RiseOrSet::kRise);
  if (!mr.found) return r;
  r.found = true;
  const double step = setting ? -1.0 : 1.0;
  const DateTime t0 = mr.instant - step * 10 * kMinute;
  const double target = sight.e3700 + kPearlAltitudeLift;
  int k = 1;
  for (; k <= 300; ++k) {
    const DateTime t = t0 + k * step * kMinute;
    const BodyPosition moon = ComputeMoonPosition(AstroTimeFromDateTime(t), observer);
    r.instant = t;
    r.azimuth = moon.azimuth;
    if (target - moon.apparentAltitude <= 0) break;
  }
  r.steps = k;
  r.valid = k >= 2 && k <= 289;
  r.offset = r.azimuth - sight.summitAzimuth;
  return r;
}

PearlDisplay DecidePearlDisplay(const PearlSearchResult& result) {
  PearlDisplay d;
  if (result.events.empty()) {
    if (result.closest.offset >= 30) {
      d.outcome = DisplayOutcome::kNotReached;
      d.overlayMode = EventOverlayMode::kNone;
      d.message = kMoonNeverComesMessage;
      return d;
    }
    d.outcome = DisplayOutcome::kClosest;
    d.overlayMode = EventOverlayMode::kMoonPath;
    d.useDefaultDrawSize = false;
    d.drawSizeRatio = result.sight.toleranceDeg / std::max(result.closest.offset, 1e-9);
    d.drawPath = true;
    d.pathInstant = result.closest.instant;
    d.showPearlPanel = true;
    d.message = kMoonClosestMessage;
    return d;
  }
  d.outcome = DisplayOutcome::kEvents;
  d.overlayMode = EventOverlayMode::kMoonPath;
  d.drawPath = true;
  d.pathInstant = result.displayInstant;
  d.showPearlPanel = true;
  return d;
}

PearlDateDisplay DecidePearlDateDisplay(DateTime chosenDate, const Observer& observer,
                                        const SummitSight& sight) {
  PearlDateDisplay d;
  d.dateText = FormatDate(chosenDate);
  d.crossing = MoonCrossingOnDate(chosenDate, observer, sight);
  // Without a moonrise (moonset) on the date, or without a crossing within the step window,
  // there is nothing to draw; an earlier day's crossing is never shown as if it were this one.
  if (!d.crossing.found || !d.crossing.valid || std::fabs(d.crossing.offset) >= 30) {
    d.message = kMoonOutOfRangeMessage;
    return d;
  }
  d.drawPath = true;
  d.pathInstant = d.crossing.instant;
  d.drawSizeRatio = sight.toleranceDeg / std::max(std::fabs(d.crossing.offset), 1e-9);
  if (WholeDay(d.crossing.instant) != WholeDay(chosenDate)) {
    d.message = "指定した日(" + FormatDate(chosenDate) + ")に月はZorv山頂付近に来ません。" +
                "\r\n" + "この日は月の出、月没がないことなどが考えられます。" + "\r\n" + "\r\n" +
                "現在表示されている図は" + FormatDate(d.crossing.instant) + "のものです。";
  }
  return d;
}

}  // namespace velkaro
