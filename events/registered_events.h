#pragma once

#include <string>
#include <vector>

#include "core/datetime.h"

namespace velkaro {

// Refreshes the event date-times of registered rows (location.csv lines, UTF-8, without line ends).
// A row is recomputed when its field 7 is shorter than 2 characters, or longer than 6 characters
// and reads as a date-time earlier than `today` or with the time 00:00:00. "OB" freezes a row;
// a field 7 or a coordinate that does not read as a number leaves the row as it is. A recomputed
// row becomes fields 1 to 6 joined by "," followed by "," + "yyyy/mm/dd hh:nn:ss" per event, or
// by ",," when the sun does not stand on the summit from there.
std::vector<std::string> UpdateRegisteredEventDates(const std::vector<std::string>& rows,
                                                    DateTime today);

// Whether a row is due for recomputation under the rule above (exposed for the list code).
bool RegisteredRowNeedsUpdate(const std::string& row, DateTime today);

}  // namespace velkaro
