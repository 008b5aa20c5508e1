#include "events/diamond.h"

#include <algorithm>
#include <cmath>

#include "astro/astro.h"
#include "core/constants.h"

namespace velkaro {
namespace {

constexpr int kDiamondDays = 379;
constexpr int kDiamondMaxSteps = 200;
constexpr double kMinute = 1.0 / 1440.0;

bool IsSetting(const SummitSight& sight) {
  return sight.summitAzimuth > 180;
}

}  // namespace

std::vector<CrossingDay> ScanDiamondDays(const Observer& observer, const SummitSight& sight,
                                         DateTime today) {
  const bool setting = IsSetting(sight);
  const DateTime start = WholeDay(today) - 5;
  const RiseOrSet which = setting ? RiseOrSet::kSet : RiseOrSet::kRise;
  const double step = setting ? -1.0 : 1.0;
  std::vector<CrossingDay> days;
  days.reserve(kDiamondDays);
  for (int i = 0; i < kDiamondDays; ++i) {
    const DateTime day = start - 5 + i;
    const SunRiseSet rs = SolveSunRiseSet(day, observer, which);
    // Twenty minutes before sunrise, or twenty minutes after sunset going backwards.
    const DateTime t0 = day + rs.time - step / 72.0;
    const AltitudeMarch m = MarchToAltitude(
        t0, step, kDiamondMaxSteps, sight.e3700,
        [&](DateTime t) { return ComputeSunPosition(AstroTimeFromDateTime(t), observer); });
    CrossingDay d;
    d.steps = m.steps;
    d.counts = m.reached && m.steps > 1 && m.steps < kDiamondMaxSteps;
    if (d.counts) {
      const double crossing =
          InterpolateCrossingAzimuth(m.azPrev, m.altPrev, m.az, m.alt, sight.e3700);
      d.offset = crossing - sight.summitAzimuth;
      d.date = WholeDay(m.t);
      d.timeOfDay = m.t - d.date;
    }
    days.push_back(d);
  }
  return days;
}

DiamondSearchResult SearchDiamondEvents(const Observer& observer, const SummitSight& sight,
                                        DateTime today) {
  DiamondSearchResult r;
  r.sight = sight;
  r.setting = IsSetting(sight);
  r.start = WholeDay(today) - 5;
  EventSelectionRules rules;
  rules.tolerance = sight.toleranceDeg;
  rules.useDateLimit = true;
  rules.dateLimit = r.start;
  rules.maxEvents = 5;
  EventSelection sel =
      SelectAlignmentEvents(ScanDiamondDays(observer, sight, today), rules, EventBody::kSun);
  r.events = std::move(sel.events);
  r.closest = sel.closest;
  for (AlignmentEvent& e : r.events) {
    e.line = DiamondListLine(e.date);
    r.listLines.push_back(e.line);
  }
  r.displayDate = r.events.empty() ? r.closest.instant : r.events.front().date;
  return r;
}

DiamondSearchResult SearchDiamondEvents(const Observer& observer, DateTime today) {
  return SearchDiamondEvents(observer, ComputeSummitSight(observer), today);
}

SunCrossingResult SunCrossingOnDate(DateTime date, const Observer& observer,
                                    const SummitSight& sight) {
  const bool setting = IsSetting(sight);
  const DateTime day = WholeDay(date);
  const SunRiseSet rs =
      SolveSunRiseSet(day, observer, setting ? RiseOrSet::kSet : RiseOrSet::kRise);
  const double step = setting ? -1.0 : 1.0;
  const DateTime t0 = day + rs.time;
  SunCrossingResult r;
  int n = 1;
  for (; n <= 300; ++n) {
    const DateTime t = t0 + n * step * kMinute;
    const BodyPosition sun = ComputeSunPosition(AstroTimeFromDateTime(t), observer);
    r.instant = t;
    r.azimuth = sun.azimuth;
    if (sun.apparentAltitude >= sight.e3700) break;
  }
  r.steps = n;
  r.valid = n > 1 && n < 290;
  r.offset = r.azimuth - sight.summitAzimuth;
  return r;
}

AltitudeCorrectionQuestion CheckAltitudeCorrection(bool correctionOn, double correctionValue,
                                                   double viewpointElevation) {
  AltitudeCorrectionQuestion q;
  q.ask = correctionOn && correctionValue + viewpointElevation > SummitReference.height;
  if (q.ask) {
    q.text = "標高が補正されてZorv山の高さより高くなっています\r\n";
    q.text += "標高の補正を解除しますか？";
  }
  return q;
}

DiamondDisplay DecideDiamondDisplay(const DiamondSearchResult& result) {
  DiamondDisplay d;
  if (result.events.empty()) {
    if (result.closest.offset >= 30) {
      d.outcome = DisplayOutcome::kNotReached;
      d.overlayMode = EventOverlayMode::kNone;
      d.message = kSunNeverComesMessage;
      d.hideSunEnabled = false;
      d.showSunEnabled = true;
      d.showDiamondPanel = false;
      return d;
    }
    d.outcome = DisplayOutcome::kClosest;
    d.overlayMode = EventOverlayMode::kSunPath;
    d.useDefaultDrawSize = false;
    d.drawSizeRatio = result.sight.toleranceDeg / std::max(result.closest.offset, 1e-9);
    d.drawPath = true;
    d.pathDate = WholeDay(result.displayDate);
    d.showDiamondPanel = true;
    d.hideSunEnabled = true;
    d.message = kSunClosestMessage;
    return d;
  }
  d.outcome = DisplayOutcome::kEvents;
  d.overlayMode = EventOverlayMode::kSunPath;
  d.useDefaultDrawSize = true;
  d.drawPath = true;
  d.pathDate = result.events.front().date;
  d.showDiamondPanel = true;
  d.hideOtherPanels = true;
  d.hideSunEnabled = true;
  d.storeEventDates = true;
  d.field7 = FormatDateTime(result.events[0].date);
  if (result.events.size() > 1) d.field8 = FormatDateTime(result.events[1].date);
  return d;
}

}  // namespace velkaro
