#include "events/sky_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/astro.h"
#include "core/numeric.h"
#include "core/text.h"
#include "events/diamond.h"
#include "events/pearl.h"

namespace velkaro {
namespace {

std::string ShortTime(double fraction) {
  long minutes = static_cast<long>(std::floor(fraction * 1440.0 + 1e-6));
  minutes = std::clamp(minutes, 0L, 1440L);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%ld:%02ld", minutes / 60, minutes % 60);
  return buf;
}

MarkerPosition Marker(double azimuth, double altitude, int width, int chartLeft, int chartTop,
                      int maxY) {
  MarkerPosition m;
  const int x = NearestInt(azimuth * kSkyChartScale) + SkyChartX0(width) + chartLeft;
  const int y = std::min(chartTop - NearestInt(altitude * kSkyChartScale) + 120, chartTop + maxY);
  m.left = x - 5;
  m.top = y - 5;
  return m;
}

}  // namespace

int SkyChartX0(int width) {
  return TruncInt(width / 2) - 202;
}

int SkyChartX(double azimuth, int width) {
  return NearestInt(azimuth * kSkyChartScale + SkyChartX0(width));
}

SkyChartData ComputeSkyChart(DateTime date, EventBody body, const Observer& observer,
                             const SummitSight& sight, DateTime displayInstant) {
  SkyChartData c;
  c.date = WholeDay(date);
  c.body = body;
  c.sight = sight;
  for (int i = 0; i < kSkyChartSamples; ++i) {
    const AstroTime t = AstroTimeFromDateTime(c.date + i / 48.0);
    const BodyPosition sun = ComputeSunPosition(t, observer);
    const BodyPosition moon = ComputeMoonPosition(t, observer);
    c.sunAltitude[i] = sun.apparentAltitude;
    c.sunAzimuth[i] = sun.azimuth;
    c.moonAltitude[i] = moon.apparentAltitude;
    c.moonAzimuth[i] = moon.azimuth;
  }
  if (body == EventBody::kMoon) {
    const MoonCrossingResult m = MoonCrossingOnDate(c.date, observer, sight);
    c.crossingValid = m.found && m.valid;
    c.crossingInstant = m.instant;
    c.title = FormatDate(c.date) + "の月の位置";
    c.moonAge = MoonAge(displayInstant, observer).age;
    c.moonCaption = FormatDate(c.date) + "\r\n" + "正午の月齢：" + FormatDecimals(1, c.moonAge);
  } else {
    const SunCrossingResult s = SunCrossingOnDate(c.date, observer, sight);
    c.crossingValid = s.valid;
    c.crossingInstant = s.instant;
    c.title = FormatDate(c.date) + "の太陽の位置";
  }
  const AstroTime at = AstroTimeFromDateTime(c.crossingInstant);
  const BodyPosition sun = ComputeSunPosition(at, observer);
  const BodyPosition moon = ComputeMoonPosition(at, observer);
  c.sunAltitudeAtCrossing = sun.apparentAltitude;
  c.sunAzimuthAtCrossing = sun.azimuth;
  c.moonAltitudeAtCrossing = moon.apparentAltitude;
  c.moonAzimuthAtCrossing = moon.azimuth;
  c.sunrise = SolveSunRiseSet(c.date, observer, RiseOrSet::kRise).time;
  c.sunset = SolveSunRiseSet(c.date, observer, RiseOrSet::kSet).time;
  return c;
}

SkyChartMarkers SkyChartCrossingMarkers(const SkyChartData& chart, int width, int chartLeft,
                                        int chartTop, int chartHeight) {
  SkyChartMarkers m;
  m.sun = Marker(chart.sunAzimuthAtCrossing, chart.sunAltitudeAtCrossing, width, chartLeft,
                 chartTop, 150);
  m.moon = Marker(chart.moonAzimuthAtCrossing, chart.moonAltitudeAtCrossing, width, chartLeft,
                  chartTop, 150);
  const double tod = chart.crossingInstant - WholeDay(chart.crossingInstant);
  m.timeBarMarkerLeft = TruncInt(width * tod) + chartLeft - 5;
  m.timeBarMarkerTop = chartHeight - 38;
  return m;
}

SkyChartMarkers SkyChartHover(const SkyChartData& chart, int x, int y, int width, int chartLeft,
                              int chartTop, int chartHeight) {
  if (y < 206 || width <= 0) {
    return SkyChartCrossingMarkers(chart, width, chartLeft, chartTop, chartHeight);
  }
  SkyChartMarkers m;
  const double t = static_cast<double>(x) / width;
  const double pos = t * 48;
  int i = std::clamp(TruncInt(pos), 0, 47);
  double f = pos - i;
  if (f > 1) f -= 1;
  auto lerp = [i, f](const std::array<float, kSkyChartSamples>& a) {
    return a[i] + (a[i + 1] - a[i]) * f;
  };
  m.sun = Marker(lerp(chart.sunAzimuth), lerp(chart.sunAltitude), width, chartLeft, chartTop, 150);
  m.moon =
      Marker(lerp(chart.moonAzimuth), lerp(chart.moonAltitude), width, chartLeft, chartTop, 150);
  m.timeLabelShown = true;
  m.timeLabel = " " + ShortTime(t) + " ";
  const MarkerPosition& anchor = chart.body == EventBody::kMoon ? m.moon : m.sun;
  // The marker's centre is (left + 5, top + 5).
  m.timeLabelLeft = anchor.left + 5 - 10;
  m.timeLabelTop = anchor.top + 5 - 25;
  m.timeBarMarkerLeft = x + chartLeft - 5;
  m.timeBarMarkerTop = chartHeight - 38;
  return m;
}

}  // namespace velkaro
