#pragma once

#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/sight_line.h"

namespace velkaro {

enum class EventBody { kSun, kMoon };

// One found alignment: the sun (diamond) or the moon (pearl) standing on the summit.
struct AlignmentEvent {
  DateTime date = 0;     // whole day
  double timeOfDay = 0;  // fraction of a day: the minute the body reaches the summit's elevation
  EventBody body = EventBody::kSun;
  float azimuthOffset = 0;  // interpolated azimuth at the target altitude minus the summit azimuth
  float moonAge = 0;        // moon only
  std::string symbol;       // moon only: the phase symbol
  std::string line;         // the event list line

  DateTime instant() const { return date + timeOfDay; }
};

// The smallest absolute azimuth offset seen over all days of a search.
struct ClosestApproach {
  double offset = 100;  // absolute, degrees
  DateTime date = 0;
  double timeOfDay = 0;
  DateTime instant = 0;  // date + timeOfDay
};

// One day of a search, as the minute-by-minute scan left it.
struct CrossingDay {
  bool counts = false;  // the scan crossed the target altitude within its step window
  DateTime date = 0;    // whole day of the last sample
  double timeOfDay = 0;
  double offset = 0;  // signed azimuth offset at the target altitude
  int steps = 0;      // the sample count n (k) at which the scan stopped
};

// The three-day local-minimum rule shared by both searches. Days that do not count leave the
// histories untouched, so their neighbours are compared across them.
struct EventSelectionRules {
  double tolerance = 0;      // the middle day's |offset| must lie strictly below this
  bool useDateLimit = true;  // diamond: the middle day must not be earlier than `dateLimit`
  DateTime dateLimit = 0;
  int maxNewestSteps = 0;  // pearl: the newest day's step count must be below this (0 = no rule)
  size_t maxEvents = 5;
};

struct EventSelection {
  std::vector<AlignmentEvent> events;  // date, timeOfDay and azimuthOffset filled
  ClosestApproach closest;
};

EventSelection SelectAlignmentEvents(const std::vector<CrossingDay>& days,
                                     const EventSelectionRules& rules, EventBody body);

// Linear interpolation in the azimuth-altitude plane through two samples: the azimuth at which
// the straight line between them reaches `targetAltitude`. Degenerate pairs (equal azimuths or
// equal altitudes) give the newer sample's azimuth instead of a division by zero.
// A day's march from t0 in steps of `stepMinutes` (negative: backwards in time) until the body's
// apparent altitude reaches `target`, keeping the two samples around the crossing. `positionAt`
// gives the body's position at an instant.
struct AltitudeMarch {
  bool reached = false;
  int steps = 0;   // the step it stopped at; maxSteps + 1 when the altitude was never reached
  DateTime t = 0;  // the last sample
  double azPrev = 0, altPrev = 0, az = 0, alt = 0;
};

template <class PositionAt>
AltitudeMarch MarchToAltitude(DateTime t0, double stepMinutes, int maxSteps, double target,
                              PositionAt positionAt) {
  constexpr double kMinute = 1.0 / 1440.0;
  AltitudeMarch m;
  m.t = t0;
  int n = 1;
  for (; n <= maxSteps; ++n) {
    m.t = t0 + n * stepMinutes * kMinute;
    const auto body = positionAt(m.t);
    m.azPrev = m.az;
    m.altPrev = m.alt;
    m.az = body.azimuth;
    m.alt = body.apparentAltitude;
    if (target - m.alt <= 0) {
      m.reached = true;
      break;
    }
  }
  m.steps = n;
  return m;
}

double InterpolateCrossingAzimuth(double azPrev, double altPrev, double az, double alt,
                                  double targetAltitude);

// "yyyy/mm/dd   《曜》": the diamond list line, and the date read back from a selected one.
std::string DiamondListLine(DateTime date);
bool ParseDiamondListLine(const std::string& line, DateTime& date);

}  // namespace velkaro
