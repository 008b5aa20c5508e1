#include "astro/moon_panel.h"

#include <cmath>

namespace velkaro {

MoonPanel ComputeMoonPanel(DateTime date, const Observer& observer, const MoonRiseSet& previousRise,
                           const MoonRiseSet& previousSet) {
  MoonPanel p;
  p.date = std::floor(date);
  p.noonAge = MoonAge(p.date + 0.5, observer);
  p.moonrise = SolveMoonRiseSet(p.date, observer, RiseOrSet::kRise, previousRise);
  p.moonset = SolveMoonRiseSet(p.date, observer, RiseOrSet::kSet, previousSet);
  p.phaseTile = MoonPhaseTileFor(p.noonAge.age);
  p.sunrise = SolveSunRiseSet(p.date, observer, RiseOrSet::kRise);
  p.sunset = SolveSunRiseSet(p.date, observer, RiseOrSet::kSet);
  p.title = MoonPanelTitle(p.date);
  p.moonriseText = MoonriseLabel(p.moonrise, p.date);
  p.moonsetText = MoonsetLabel(p.moonset, p.date);
  p.ageText = MoonAgeLine(p.noonAge.age, p.noonAge.tideName);
  p.sunriseText = SunriseLabel(p.sunrise.time, p.sunrise.azimuthRounded);
  p.sunsetText = SunsetLabel(p.sunset.time, p.sunset.azimuthRounded);
  return p;
}

}  // namespace velkaro
