#pragma once

#include <array>
#include <string>

#include "core/datetime.h"
#include "core/sight_line.h"
#include "events/alignment.h"

namespace velkaro {

inline constexpr int kSkyChartSamples = 49;  // every 30 minutes from 00:00 to 24:00
inline constexpr double kSkyChartScale = 405.0 / 360.0;
inline constexpr int kSkyChartHorizonY = 120;
inline constexpr int kSkyChartTimeBarY = 205;

// Everything the sky chart shows for one day: the half-hourly paths of both bodies, the crossing
// of the event body through the summit's elevation and the day's sunrise and sunset.
struct SkyChartData {
  DateTime date = 0;  // whole day
  EventBody body = EventBody::kSun;
  SummitSight sight;
  std::array<float, kSkyChartSamples> sunAltitude{}, sunAzimuth{}, moonAltitude{}, moonAzimuth{};
  bool crossingValid = false;
  DateTime crossingInstant = 0;
  float sunAltitudeAtCrossing = 0, sunAzimuthAtCrossing = 0;
  float moonAltitudeAtCrossing = 0, moonAzimuthAtCrossing = 0;
  double sunrise = 0, sunset = 0;  // fractions of the day
  std::string title;               // Label42
  std::string moonCaption;         // Label45 (pearl only)
  float moonAge = 0;               // of the pearl display instant (pearl only)
};

// `displayInstant` is the pearl display instant (its moon age is shown); ignored for the sun.
SkyChartData ComputeSkyChart(DateTime date, EventBody body, const Observer& observer,
                             const SummitSight& sight, DateTime displayInstant = 0);

// Chart x of an azimuth for chart width w: nint(az * 1.125 + x0), x0 = trunc(w / 2) - 202.
int SkyChartX(double azimuth, int width);
int SkyChartX0(int width);

struct MarkerPosition {
  int left = 0, top = 0;  // top-left corner of the 10 x 10 marker, in the group box
};

// Where the markers stand when the pointer is off the time bar: at the crossing.
struct SkyChartMarkers {
  MarkerPosition sun, moon;
  bool timeLabelShown = false;
  std::string timeLabel;  // " h:mm "
  int timeLabelLeft = 0, timeLabelTop = 0;
  int timeBarMarkerLeft = 0, timeBarMarkerTop = 0;  // Panel36
};
SkyChartMarkers SkyChartCrossingMarkers(const SkyChartData& chart, int width, int chartLeft,
                                        int chartTop, int chartHeight);
// The pointer at (x, y) on the chart: on the time bar (y >= 206) the markers follow the time x / w.
SkyChartMarkers SkyChartHover(const SkyChartData& chart, int x, int y, int width, int chartLeft,
                              int chartTop, int chartHeight);

}  // namespace velkaro
