#pragma once

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/datetime.h"
#include "core/sight_line.h"
#include "events/alignment.h"

namespace velkaro {

// The result of one diamond search, overwritten by the next one.
struct DiamondSearchResult {
  SummitSight sight;     // summit azimuth, reference elevation (e2600), summit elevation (e3700)
  bool setting = false;  // summit west of the viewpoint: the setting sun ("夕日")
  DateTime start = 0;    // today - 5: the earliest date an event may have
  std::vector<AlignmentEvent> events;  // at most five, in date order
  ClosestApproach closest;
  std::vector<std::string> listLines;  // "yyyy/mm/dd   《曜》" per event
  // First event's date; with no event the closest approach's date + time. The date control shows
  // its whole day.
  DateTime displayDate = 0;
};

// The per-day scan of the diamond search: 379 days from today - 10, the sun followed minute by
// minute from 20 minutes before sunrise (or back from 20 minutes after sunset) until its apparent
// altitude reaches the summit's elevation angle.
std::vector<CrossingDay> ScanDiamondDays(const Observer& observer, const SummitSight& sight,
                                         DateTime today);

// The whole search for a viewpoint. `sight` carries the summit elevation and tolerance of the last
// panorama of the same viewpoint; the overload without it computes them.
DiamondSearchResult SearchDiamondEvents(const Observer& observer, const SummitSight& sight,
                                        DateTime today);
DiamondSearchResult SearchDiamondEvents(const Observer& observer, DateTime today);

// The sun reaching the summit's elevation on one date, starting exactly at sunrise (+1 minute
// steps) or sunset (-1 minute steps), no interpolation.
struct SunCrossingResult {
  bool valid = false;  // 1 < n < 290
  DateTime instant = 0;
  float azimuth = 0;
  double offset = 0;  // azimuth - summit azimuth
  int steps = 0;
};
SunCrossingResult SunCrossingOnDate(DateTime date, const Observer& observer,
                                    const SummitSight& sight);

// --- What the window does around a search ------------------------------------------------------

// Asked before a search when the altitude correction would lift the viewpoint above the summit.
struct AltitudeCorrectionQuestion {
  bool ask = false;
  std::string title = "Velkaro";
  std::string text;
};
AltitudeCorrectionQuestion CheckAltitudeCorrection(bool correctionOn, double correctionValue,
                                                   double viewpointElevation);

enum class DisplayOutcome {
  kNotReached,  // nothing found and the closest approach is 30 degrees or more
  kClosest,     // nothing found; the day of the closest approach is shown
  kEvents,      // events found; the first one is shown
};

struct DiamondDisplay {
  DisplayOutcome outcome = DisplayOutcome::kNotReached;
  EventOverlayMode overlayMode = EventOverlayMode::kNone;
  std::string message;  // empty: no message box
  // Draw size: the default one (RadioButton15), or chosen from tolerance / closest approach.
  bool useDefaultDrawSize = true;
  double drawSizeRatio = 0;
  bool drawPath = false;
  DateTime pathDate = 0;          // whole day whose sun path is drawn
  bool showDiamondPanel = false;  // GroupBox3
  bool hideOtherPanels = false;   // GroupBox4, GroupBox5, GroupBox6
  bool hideSunEnabled = false;    // Button11
  bool showSunEnabled = true;     // Button10
  // The registered row of the viewpoint gets the first two event dates (fields 7 and 8) as whole
  // days "yyyy/mm/dd 00:00:00"; a single event leaves field 8 empty.
  bool storeEventDates = false;
  std::string field7, field8;
};
DiamondDisplay DecideDiamondDisplay(const DiamondSearchResult& result);

// The message texts of the diamond display.
inline constexpr const char* kSunNeverComesMessage = "この方角に太陽は来ません";
inline constexpr const char* kSunClosestMessage =
    "太陽がZorv山に最も接近した日の図です。\r\n(これ以上近づくことはありません)";

}  // namespace velkaro
