#pragma once

#include <QImage>
#include <string>

#include "core/datetime.h"
#include "events/moon_calendar.h"
#include "events/sky_chart.h"

namespace velkaro {

// The moon calendar (Image6): day numbers across, thirteen months down from today's month, the
// noon moon picture of every coming day with the grey new-moon circle and the yellow (no
// moonrise) or red (no moonset) diagonal. `moonlist` is the 8 x 4 sheet of moon pictures; a null
// sheet leaves the cells blank.
inline constexpr int kMoonCalendarWidth = 680;
inline constexpr int kMoonCalendarHeight = 300;
QImage DrawMoonCalendar(const MoonCalendarTable& table, DateTime today, const QImage& moonlist);

// The sky chart (Image7) of one day: sky, ground, the mountain at the summit's azimuth, the
// azimuth scale, the day's path of the sun (diamond) or the moon (pearl), and the day/night time
// bar. With `drawMarkers` the crossing markers (the window's Shape2, Shape3 and Panel36) are
// painted into the picture too, for a stand-alone image.
inline constexpr int kSkyChartWidth = 480;
inline constexpr int kSkyChartHeight = 240;
QImage DrawSkyChart(const SkyChartData& chart, int width = kSkyChartWidth,
                    int height = kSkyChartHeight, bool drawMarkers = false);

}  // namespace velkaro
