#pragma once

#include <string>

#include "astro/rise_set.h"
#include "core/datetime.h"

namespace velkaro {

// Texts of the rise and set labels and the moon panel (UTF-8). Times are shown as h:mm:ss.

// "日の出： 6:12:09 (118度)" and "日の入： …"; time is a fraction of the day.
std::string SunriseLabel(double time, int azimuth);
std::string SunsetLabel(double time, int azimuth);
// "2012/05/21の日出没".
std::string SunDayTitle(DateTime date);
// The diamond panel's form: "2012/05/21 (月)の日出没".
std::string DiamondSunDayTitle(DateTime date);
// "月の出： 18:01:22 (74度)", or "月の出： ------" when the result's instant lies on another day
// than `shownDate`. The same for "月の入： ".
std::string MoonriseLabel(const MoonRiseSet& result, DateTime shownDate);
std::string MoonsetLabel(const MoonRiseSet& result, DateTime shownDate);
// "2012/05/21　月の出没" (an ideographic blank).
std::string MoonPanelTitle(DateTime date);
// "正午の月齢： 12.3   (中潮)".
std::string MoonAgeLine(float age, const char* tideName);

// Where the phase picture for a moon age sits on the moon list sheet (8 columns by 4 rows), and
// whether a dotted circle marks the new moon over it.
struct MoonPhaseTile {
  int left = 0;
  int top = 0;
  bool dottedCircle = false;
};
inline constexpr int kMoonPhaseTileSize = 59;
MoonPhaseTile MoonPhaseTileFor(float age);

}  // namespace velkaro
