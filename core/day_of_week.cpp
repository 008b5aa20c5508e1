#include "core/day_of_week.h"

namespace velkaro {

const char* DayOfWeekMark(DateTime date) {
  static const char* const kMarks[] = {"日", "月", "火", "水", "木", "金", "土"};
  return kMarks[DayOfWeek(date) - 1];
}

}  // namespace velkaro
