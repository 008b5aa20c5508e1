#pragma once

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/datetime.h"
#include "core/sight_line.h"
#include "events/alignment.h"
#include "events/diamond.h"

namespace velkaro {

// The moon's disc sits on the summit when its centre stands this much above the summit's
// elevation angle.
inline constexpr double kPearlAltitudeLift = 0.25;

// Phase symbol from H = |age - 14.5|: "◎" below 2, "○" below 6, "□" below 10, "△" below 13,
// "●" from 13 on.
const char* PhaseSymbol(double moonAge);

// The signed azimuth offset as the list shows it: cut (not rounded) to one decimal, "+" in front
// of positive values.
std::string SignedOffsetText(float offset);

// "yyyy/mm/dd hh:nn:ss 曜  ◎(月齢：14.6)  +0.3 °"
std::string PearlListLine(DateTime instant, float moonAge, float offset);

// Reads back the date and the instant a selected list line starts with: "yyyy/mm/dd hh:nn:ss"
// of an event line, or "yyyy/mm/dd h:mm:ss" of the closest-approach line. False when the line
// does not start with a date and a time.
bool ParsePearlListLine(const std::string& line, DateTime& date, DateTime& instant);

struct PearlSearchResult {
  SummitSight sight;
  bool setting = false;
  std::vector<AlignmentEvent> events;  // up to 100, with moon age, symbol and list line
  ClosestApproach closest;
  // The list: one line per event; with no event and a closest approach below 40 degrees the one
  // closest-approach line; else empty.
  std::vector<std::string> listLines;
  std::string firstLine;        // what the read-only field Edit29 shows
  bool hasDisplay = false;      // an event, or a closest approach below 40 degrees
  DateTime displayDate = 0;     // whole day
  DateTime displayInstant = 0;  // date + time of the shown crossing
};

// The per-day scan: 376 days from today - 5, from the found moonrise (or moonset) in 2-minute
// steps until the apparent altitude reaches the summit elevation + 0.25 degrees.
std::vector<CrossingDay> ScanPearlDays(const Observer& observer, const SummitSight& sight,
                                       DateTime today);

PearlSearchResult SearchPearlEvents(const Observer& observer, const SummitSight& sight,
                                    DateTime today);
PearlSearchResult SearchPearlEvents(const Observer& observer, DateTime today);

// The moon at the summit's elevation + 0.25 on one date, from 10 minutes before moonrise in
// +1 minute steps (or 10 minutes after moonset backwards), at most 300 steps, valid when
// 2 <= k <= 289. `found` is false when the needed moonrise or moonset was not found.
struct MoonCrossingResult {
  bool found = false;
  bool valid = false;
  DateTime instant = 0;
  float azimuth = 0;
  double offset = 0;
  int steps = 0;
};
MoonCrossingResult MoonCrossingOnDate(DateTime date, const Observer& observer,
                                      const SummitSight& sight);

// What the window does after a pearl search (button "パールZorvを表示").
struct PearlDisplay {
  DisplayOutcome outcome = DisplayOutcome::kNotReached;
  EventOverlayMode overlayMode = EventOverlayMode::kNone;
  std::string message;
  bool useDefaultDrawSize = true;
  double drawSizeRatio = 0;
  bool drawPath = false;
  DateTime pathInstant = 0;
  bool showPearlPanel = false;  // GroupBox6, caption "パールZorvが見える日"
};
PearlDisplay DecidePearlDisplay(const PearlSearchResult& result);

// The pearl panel's "表示" for a chosen date.
struct PearlDateDisplay {
  std::string dateText;  // Edit29
  bool drawPath = false;
  double drawSizeRatio = 0;  // tolerance / |offset|
  DateTime pathInstant = 0;
  std::string message;  // empty: none
  MoonCrossingResult crossing;
};
PearlDateDisplay DecidePearlDateDisplay(DateTime chosenDate, const Observer& observer,
                                        const SummitSight& sight);

inline constexpr const char* kMoonNeverComesMessage = "この角度には月は来ません\r\n";
inline constexpr const char* kMoonClosestMessage =
    "月がZorv山に最も接近した日の図です。\r\n(この1年間でこれ以上近づくことはありません)";
inline constexpr const char* kMoonOutOfRangeMessage = "月はこの範囲に来ません";
inline constexpr const char* kPearlPanelCaption = "パールZorvが見える日";

}  // namespace velkaro
