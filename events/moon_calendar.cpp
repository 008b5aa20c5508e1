#include "events/moon_calendar.h"

#include <algorithm>
#include <cmath>

#include "astro/astro.h"
#include "core/constants.h"
#include "core/day_of_week.h"
#include "core/numeric.h"
#include "core/text.h"

namespace velkaro {

MoonCalendarTable BuildMoonCalendarTable(DateTime today) {
  const Observer summit{SummitReference.latitude, SummitReference.longitude, 50.0f};
  MoonCalendarTable t;
  t.firstDay = WholeDay(today);
  t.moonriseTime.resize(kMoonCalendarDays);
  t.moonriseAge.resize(kMoonCalendarDays);
  t.moonsetTime.resize(kMoonCalendarDays);
  t.moonsetAge.resize(kMoonCalendarDays);
  t.noonAge.resize(kMoonCalendarDays);
  t.ageText.resize(kMoonCalendarDays);
  auto fill = [&summit](DateTime day, RiseOrSet which, double& time, float& age) {
    const MoonRiseSet m = SolveMoonRiseSet(day, summit, which);
    if (!m.found || WholeDay(m.instant) != day) {
      time = 0;
      age = -1;
      return;
    }
    time = m.instant - day;
    age = MoonAge(m.instant, summit).age;
  };
  for (int i = 0; i < kMoonCalendarDays; ++i) {
    const DateTime day = t.firstDay + i;
    fill(day, RiseOrSet::kRise, t.moonriseTime[i], t.moonriseAge[i]);
    fill(day, RiseOrSet::kSet, t.moonsetTime[i], t.moonsetAge[i]);
    t.noonAge[i] = MoonAge(day + 0.5, summit).age;
    t.ageText[i] = FormatDecimals(1, t.noonAge[i]);
  }
  return t;
}

CalendarCell MoonCalendarCell(DateTime day, DateTime today) {
  const CivilDate d = DecodeDate(day);
  const CivilDate s = DecodeDate(today);
  CalendarCell c;
  c.row = 12 * (d.year - s.year) + d.month - s.month;
  c.x = 20 * d.day + 55 - 20;
  c.y = 20 * c.row + 30;
  return c;
}

int MoonPictureIndex(float age) {
  return std::clamp(NearestInt(age), 0, 30);
}

bool MoonCalendarGreyCircle(int pictureIndex) {
  return pictureIndex > 27.5 || pictureIndex < 1.5;
}

CalendarHover MoonCalendarHover(int x, int y, CalendarColour pixel, DateTime today,
                                const MoonCalendarTable& table, bool setting, int imageWidth,
                                int imageTop) {
  CalendarHover h;
  if (pixel == kCalendarBackground || pixel == kCalendarText || !(x > 55 && x < 670) || y < 30) {
    h.action = CalendarHover::Action::kHide;
    return h;
  }
  const int column = TruncInt((x - 55) / 20.0);
  const int row = TruncInt((y - 30) / 20.0);
  const CivilDate s = DecodeDate(today);
  int month = s.month + row;
  int year = s.year;
  while (month > 12) {
    month -= 12;
    ++year;
  }
  const int dayOfMonth = column + 1;
  h.action = CalendarHover::Action::kIgnore;
  if (!IsValidDate(year, month, dayOfMonth)) return h;
  const DateTime date = EncodeDate(year, month, dayOfMonth);
  const long i = static_cast<long>(date - WholeDay(table.firstDay));
  if (i < 0 || i >= static_cast<long>(table.ageText.size())) return h;

  h.action = CalendarHover::Action::kShow;
  h.date = date;
  h.lines[0] = " " + FormatDate(date) + "  (" + DayOfWeekMark(date) + ");//  月齢：" +
               table.ageText[i] + " ";
  const bool hasRise = table.moonriseTime[i] != 0;
  const bool hasSet = table.moonsetTime[i] != 0;
  h.lines[1] =
      "  出=" + (hasRise ? FormatHourMinute(table.moonriseTime[i]) + " 頃" : "ありません") +
      "    没=" + (hasSet ? FormatHourMinute(table.moonsetTime[i]) + " 頃" : "ありません");
  const float age = setting ? table.moonsetAge[i] : table.moonriseAge[i];
  h.lines[2] = std::string(setting ? "月没時刻の月齢 = " : "月の出時刻の月齢 = ") +
               (age == -1 ? std::string("-") : FormatDecimals(1, age));
  if (hasRise && hasSet) {
    h.background = {0, 255, 255};
    h.text = {0, 0, 0};
  } else {
    h.text = {255, 255, 255};
    h.background = hasSet ? CalendarColour{0, 0, 255} : CalendarColour{255, 0, 0};
  }
  h.left = std::max(5, std::min(x - 80, imageWidth - 165));
  h.top = y + imageTop - 45;
  return h;
}

CalendarMark MarkCalendarDay(DateTime date, DateTime today, int imageLeft, int imageTop) {
  const CivilDate d = DecodeDate(date);
  const CivilDate s = DecodeDate(today);
  CalendarMark m;
  m.left = imageLeft + 20 * d.day + 34;
  m.top = imageTop + 20 * (d.month + (d.year > s.year ? 12 : 0) - s.month) + 29;
  m.strips = {{{m.left, m.top, 20, 2},
               {m.left, m.top, 2, 20},
               {m.left, m.top + 18, 20, 2},
               {m.left + 18, m.top, 2, 20}}};
  return m;
}

}  // namespace velkaro
