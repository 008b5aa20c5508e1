#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/datetime.h"

namespace velkaro {

inline constexpr int kMoonCalendarDays = 366;

// A year of moonrises and moonsets at the summit's own position (50 m), index 0 = today.
struct MoonCalendarTable {
  DateTime firstDay = 0;
  std::vector<double> moonriseTime;  // time of day; 0 when the moonrise falls on another day
  std::vector<float> moonriseAge;    // moon age at the moonrise; -1 when there is none
  std::vector<double> moonsetTime;
  std::vector<float> moonsetAge;
  std::vector<float> noonAge;        // moon age at 12:00 of the day
  std::vector<std::string> ageText;  // noonAge with one decimal
};

MoonCalendarTable BuildMoonCalendarTable(DateTime today);

// --- Calendar geometry (Image6) ----------------------------------------------------------------

inline constexpr int kMoonCalendarMonths = 13;

struct CalendarCell {
  int x = 0, y = 0;  // top-left of the day's 19 x 19 picture
  int row = 0;       // month row counted from today's month
};
CalendarCell MoonCalendarCell(DateTime day, DateTime today);
// The whole-day age picture index and whether the grey new-moon circle goes over it.
int MoonPictureIndex(float age);
bool MoonCalendarGreyCircle(int pictureIndex);

struct CalendarColour {
  int r = 0, g = 0, b = 0;
  bool operator==(const CalendarColour&) const = default;
};
inline constexpr CalendarColour kCalendarBackground{245, 255, 255};
inline constexpr CalendarColour kCalendarText{0, 0, 255};

// The hover label (Label37) for the mouse at (x, y) over the calendar.
struct CalendarHover {
  enum class Action { kHide, kIgnore, kShow } action = Action::kHide;
  DateTime date = 0;  // the hovered date; 0 with kHide
  std::array<std::string, 3> lines;
  CalendarColour background, text;
  int left = 0, top = 0;
  static constexpr int kWidth = 160, kHeight = 37;
};
// `pixel` is the colour under the mouse; `setting` the rise/set flag (set: moonset ages).
CalendarHover MoonCalendarHover(int x, int y, CalendarColour pixel, DateTime today,
                                const MoonCalendarTable& table, bool setting, int imageWidth,
                                int imageTop);

// The four strips that frame a day's cell (Panel45, Panel43, Panel46, Panel44).
struct CalendarMark {
  int left = 0, top = 0;
  struct Strip {
    int left, top, width, height;
  };
  std::array<Strip, 4> strips{};
};
CalendarMark MarkCalendarDay(DateTime date, DateTime today, int imageLeft, int imageTop);

}  // namespace velkaro
