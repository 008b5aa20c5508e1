#pragma once

#include <array>
#include <string>

#include "core/datetime.h"
#include "core/sight_line.h"

namespace velkaro {

// The eight dates of the largest and smallest rise and set azimuths over the coming 369 days, seen
// from the summit's position.
struct ExtremeRiseSetDates {
  DateTime sunriseMax = 0, sunriseMin = 0, sunsetMax = 0, sunsetMin = 0;
  DateTime moonriseMax = 0, moonriseMin = 0, moonsetMax = 0, moonsetMin = 0;
};

// Four passes over the days today .. today + 368 at the summit's latitude and longitude with the
// given elevation: running limits start at 20 / 160 (rise) and 200 / 340 (set), compare the
// integer azimuths strictly, so ties keep the earliest day.
ExtremeRiseSetDates FindExtremeRiseSetDates(DateTime today, float elevation);

// Crossing of the sun (moon) through the elevation angle E for one place, and the azimuth of the
// body at that instant seen from the summit.
struct BodyCrossing {
  bool ok = false;
  DateTime instant = 0;
  double azimuthFromSummit = 0;
};
// Evening: backwards from 10 minutes after sunset; morning: forwards from 10 minutes before
// sunrise; one-minute steps, at most 500.
BodyCrossing SunCrossing(DateTime day, double elevationAngle, const Observer& probe, bool evening);
// Setting: backwards from the moonset instant; rising: forwards from the moonrise instant. The
// target is E + 0.25. ok is false when the moon solver found no moonset (moonrise) for the day.
BodyCrossing MoonCrossing(DateTime day, double elevationAngle, const Observer& probe, bool setting);

inline constexpr int kLinePoints = 16;

// One line of places at the assumed height from which the event is seen on its date.
struct EventLine {
  std::array<float, kLinePoints> latitude{};
  std::array<float, kLinePoints> longitude{};
  DateTime date = 0;
};

struct LineProbe {
  double latitude = 0, longitude = 0;  // the probe place east (evening) or west of the summit
  double elevationAngle = 0;           // E: the summit seen from it at 3750 m
  double arcDeg = 0;                   // its arc distance from the summit
};
// Probe i (0..15): the summit's latitude, its longitude + s·(0.1 i + 0.1), at height h0.
LineProbe ProbeFor(int i, int sign, float assumedHeight);
// Back azimuth of A (A - 180 brought into [0, 360)).
double BackAzimuth(double azimuth);

struct LineMapResult {
  bool ok = false;
  std::string error;  // the assumed height did not read as a number; nothing was recomputed
  EventLine main, companionA, companionB;
  ExtremeRiseSetDates extremes;
  std::string memo;  // the explanation text (Memo1)
  // Pearl only.
  std::string caption;  // Panel17
  std::string message;  // the date check's message; empty when none
  DateTime firstInstant = 0, lastInstant = 0;
};

// The diamond lines for `date`: evening (sunset, probes east of the summit) or morning. The
// assumed height comes as the list's text. `previous` supplies the points a failed probe keeps.
LineMapResult DiamondLineMap(DateTime date, bool evening, const std::string& heightText,
                             DateTime today, float viewpointElevation,
                             const LineMapResult& previous = {});
// The pearl lines: moonset (setting, probes east) or moonrise.
LineMapResult PearlLineMap(DateTime date, bool moonset, const std::string& heightText,
                           DateTime today, float viewpointElevation,
                           const LineMapResult& previous = {});

// Explanation texts.
std::string DiamondLineMemo(const std::string& heightText);
std::string PearlLineMemo(const std::string& heightText);
extern const char* const kDefaultLineMemo;
// Panel17 captions: "yyyy/mm/dd　（夕日）" / "　（朝日）", and the pearl form with the noon moon
// age.
std::string DiamondMapCaption(DateTime date, bool evening);
std::string PearlMapCaption(DateTime date);

}  // namespace velkaro
