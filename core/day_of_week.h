#pragma once

#include "core/datetime.h"

namespace velkaro {

// One-character day name of a date: "日" "月" "火" "水" "木" "金" "土".
const char* DayOfWeekMark(DateTime date);

}  // namespace velkaro
