#pragma once

#include <functional>
#include <string>

namespace velkaro {

// A date-time value: days since 1899-12-30 00:00 as a double; the integer part is the calendar
// day, the fraction the time of day, always in Japan standard time (UTC+9, no daylight saving).
using DateTime = double;

struct CivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

struct CivilDateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

// The whole day of a date-time value (floor, so the day before the epoch stays the day before).
double WholeDay(DateTime t);
DateTime EncodeDate(int year, int month, int day);
DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);
CivilDate DecodeDate(DateTime t);
// Time of day with the fraction of a second dropped.
CivilDateTime DecodeDateTime(DateTime t);
bool IsValidDate(int year, int month, int day);

// Day of the week counted from Sunday = 1.
int DayOfWeek(DateTime t);

std::string FormatDate(DateTime t);          // yyyy/mm/dd
std::string FormatDateTime(DateTime t);      // yyyy/mm/dd hh:nn:ss
std::string FormatHourMinute(DateTime t);    // hh:nn
// The long time form of the window: hours without a leading zero, e.g. 6:12:09.
std::string FormatLongTime(DateTime t);

// Reads "yyyy/mm/dd" or "yyyy/m/d" (optionally followed by " hh:nn[:ss]"); false when the text is
// not a valid date.
bool ParseDateTime(const std::string& text, DateTime& out);

// The clock is injected so that tests and the command line can fix "today".
// It returns the current instant as a date-time value in Japan standard time.
using Clock = std::function<DateTime()>;
DateTime SystemClockJst();
// Today's date (no time of day) in Japan, whatever the machine's own time zone.
DateTime TodayJst(const Clock& clock);

}  // namespace velkaro
