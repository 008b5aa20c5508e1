#include "astro/display_text.h"

#include <cmath>
#include <string>

#include "core/day_of_week.h"
#include "core/numeric.h"
#include "core/text.h"

namespace velkaro {

namespace {

std::string TimeWithAzimuth(const char* prefix, double time, int azimuth) {
  return std::string(prefix) + FormatLongTime(time) + " (" + std::to_string(azimuth) + "度)";
}

std::string MoonEventLabel(const char* prefix, const MoonRiseSet& r, DateTime shownDate) {
  // An event of the neighbouring day (or the earlier day a failed iteration left) is not shown.
  if (std::floor(r.instant) != std::floor(shownDate)) return std::string(prefix) + "------";
  return TimeWithAzimuth(prefix, r.time, r.azimuth);
}

}  // namespace

std::string SunriseLabel(double time, int azimuth) {
  return TimeWithAzimuth("日の出： ", time, azimuth);
}

std::string SunsetLabel(double time, int azimuth) {
  return TimeWithAzimuth("日の入： ", time, azimuth);
}

std::string SunDayTitle(DateTime date) {
  return FormatDate(date) + "の日出没";
}

std::string DiamondSunDayTitle(DateTime date) {
  return FormatDate(date) + " (" + DayOfWeekMark(date) + ")の日出没";
}

std::string MoonriseLabel(const MoonRiseSet& result, DateTime shownDate) {
  return MoonEventLabel("月の出： ", result, shownDate);
}

std::string MoonsetLabel(const MoonRiseSet& result, DateTime shownDate) {
  return MoonEventLabel("月の入： ", result, shownDate);
}

std::string MoonPanelTitle(DateTime date) {
  return FormatDate(date) + "　月の出没";
}

std::string MoonAgeLine(float age, const char* tideName) {
  return "正午の月齢： " + FormatDecimals(1, age) + "   (" + tideName + ")";
}

MoonPhaseTile MoonPhaseTileFor(float age) {
  const int k = NearestInt(age);
  MoonPhaseTile tile;
  // Ages run from 0 to about 29.5, so k stays within the sheet's 32 pictures.
  const int index = k < 0 ? 0 : (k > 31 ? 31 : k);
  tile.left = (index % 8) * 91 + 5;
  tile.top = (index / 8) * 58;
  tile.dottedCircle = k > 27.5 || k < 1.5;
  return tile;
}

}  // namespace velkaro
