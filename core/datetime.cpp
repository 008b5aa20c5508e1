#include "core/datetime.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

namespace velkaro {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

const sys_days kEpoch = sys_days{std::chrono::year{1899} / 12 / 30};

std::string Pad2(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

}  // namespace

double WholeDay(DateTime t) { return std::floor(t); }

DateTime EncodeDate(int year, int month, int day) {
  const sys_days d = sys_days{std::chrono::year{year} / month / day};
  return static_cast<double>((d - kEpoch).count());
}

DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  return EncodeDate(year, month, day) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

CivilDate DecodeDate(DateTime t) {
  const sys_days d = kEpoch + days{static_cast<long>(std::floor(t))};
  const std::chrono::year_month_day ymd{d};
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

CivilDateTime DecodeDateTime(DateTime t) {
  const double whole = std::floor(t);
  const CivilDate d = DecodeDate(whole);
  // A tiny allowance keeps 10:10:10 from reading as 10:10:09.999 after the double round trip,
  // while a genuine 10:10:10.9 still reads as second 10.
  long secs = static_cast<long>(std::floor((t - whole) * 86400.0 + 1e-6));
  if (secs >= 86400) secs = 86399;
  if (secs < 0) secs = 0;
  return {d.year, d.month, d.day, static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
          static_cast<int>(secs % 60)};
}

bool IsValidDate(int year, int month, int day) {
  if (year < 1 || year > 9999) return false;
  return std::chrono::year_month_day{std::chrono::year{year} / month / day}.ok();
}

int DayOfWeek(DateTime t) {
  // 1899-12-30 was a Saturday (7).
  const long d = static_cast<long>(std::floor(t));
  long r = (d + 6) % 7;
  if (r < 0) r += 7;
  return static_cast<int>(r) + 1;
}

std::string FormatDate(DateTime t) {
  const CivilDate d = DecodeDate(t);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", d.year, d.month, d.day);
  return buf;
}

std::string FormatDateTime(DateTime t) {
  const CivilDateTime d = DecodeDateTime(t);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                d.minute, d.second);
  return buf;
}

std::string FormatHourMinute(DateTime t) {
  const CivilDateTime d = DecodeDateTime(t);
  return Pad2(d.hour) + ":" + Pad2(d.minute);
}

std::string FormatLongTime(DateTime t) {
  const CivilDateTime d = DecodeDateTime(t);
  return std::to_string(d.hour) + ":" + Pad2(d.minute) + ":" + Pad2(d.second);
}

bool ParseDateTime(const std::string& text, DateTime& out) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char tail = 0;
  int n = std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail);
  if (n < 3 || n == 4 || n == 7) return false;
  if (!IsValidDate(y, mo, d)) return false;
  if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59) return false;
  if (n == 3) {
    // Nothing but blanks may follow a bare date.
    int consumed = 0;
    std::sscanf(text.c_str(), "%*d/%*d/%*d%n", &consumed);
    for (size_t i = static_cast<size_t>(consumed); i < text.size(); ++i)
      if (text[i] != ' ') return false;
  }
  out = EncodeDateTime(y, mo, d, h, mi, s);
  return true;
}

DateTime SystemClockJst() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const double unixSeconds = duration<double>(now.time_since_epoch()).count();
  // 1970-01-01 is day 25569 of the date-time scale; Japan is 9 hours ahead of UTC.
  return 25569.0 + (unixSeconds + 9 * 3600.0) / 86400.0;
}

DateTime TodayJst(const Clock& clock) { return std::floor(clock ? clock() : SystemClockJst()); }

}  // namespace velkaro
