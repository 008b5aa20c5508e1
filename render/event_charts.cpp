#include "render/event_charts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <cmath>
#include <cstdio>

#include "core/numeric.h"
#include "render/frame.h"
#include "render/text_draw.h"

namespace velkaro {
namespace {

constexpr int kTextPixels = 12;

void TextAt(QPainter& p, int x, int y, const QString& text) {
  p.drawText(QPoint(x, y + QFontMetrics(p.font()).ascent()), text);
}

void CentredAt(QPainter& p, int x, int y, const QString& text) {
  TextAt(p, x - TextWidth(p, text) / 2, y, text);
}

QColor Colour(const CalendarColour& c) {
  return QColor(c.r, c.g, c.b);
}

}  // namespace

QImage DrawMoonCalendar(const MoonCalendarTable& table, DateTime today, const QImage& moonlist) {
  QImage img(kMoonCalendarWidth, kMoonCalendarHeight, QImage::Format_RGB32);
  img.fill(Colour(kCalendarBackground));
  QPainter p(&img);
  p.setFont(DrawingFont(kTextPixels));
  p.setPen(Colour(kCalendarText));
  for (int d = 1; d <= 31; ++d) {
    const QString s = QString::number(d);
    TextAt(p, TruncInt((20 - TextWidth(p, s)) / 2) + 20 * d + 55 - 22, 30 - 14, s);
  }
  const CivilDate start = DecodeDate(today);
  for (int row = 0; row < kMoonCalendarMonths; ++row) {
    int month = start.month + row, year = start.year;
    while (month > 12) {
      month -= 12;
      ++year;
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d/%02d", year, month);
    TextAt(p, 5, 20 * row + 30 + 3, QString::fromLatin1(buf));
  }
  p.setBrush(Qt::NoBrush);
  const int days = static_cast<int>(table.noonAge.size());
  for (int i = 0; i < days; ++i) {
    const DateTime day = WholeDay(table.firstDay) + i;
    const CalendarCell cell = MoonCalendarCell(day, today);
    const int k = MoonPictureIndex(table.noonAge[i]);
    if (!moonlist.isNull()) {
      StretchNoAverage(moonlist, (k % 8) * 91 + 5, (k / 8) * 58, 58, 58, img, cell.x, cell.y, 19,
                       19);
    }
    if (MoonCalendarGreyCircle(k)) {
      p.setPen(QPen(QColor(128, 128, 128), 1));
      p.drawEllipse(QRect(cell.x + 1, cell.y + 1, 15, 15));
    }
    const bool noRise = table.moonriseTime[i] == 0, noSet = table.moonsetTime[i] == 0;
    if (noRise || noSet) {
      p.setPen(QPen(noSet ? QColor(255, 0, 0) : QColor(255, 255, 0), 3));
      p.drawLine(cell.x, cell.y, cell.x + 16, cell.y + 16);
    }
  }
  return img;
}

QImage DrawSkyChart(const SkyChartData& chart, int width, int height, bool drawMarkers) {
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setFont(DrawingFont(kTextPixels));
  const int horizon = kSkyChartHorizonY;
  p.fillRect(0, 0, width, horizon, QColor(178, 207, 235));
  p.fillRect(0, horizon, width, 20, QColor(107, 142, 168));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 0, 0));
  p.drawEllipse(QRect(12, 30, 10, 10));
  p.setBrush(Qt::white);
  p.drawEllipse(QRect(12, 45, 10, 10));

  const double s = kSkyChartScale;
  const int x0 = SkyChartX0(width);
  const int g = NearestInt(chart.sight.summitAzimuth * s + x0);
  const int hh = NearestInt(chart.sight.e3700 / 20);
  const int l = NearestInt(s * chart.sight.e3700);
  QPolygon mountain;
  mountain << QPoint(g - hh, horizon - l) << QPoint(g + hh, horizon - l) << QPoint(g + l, horizon)
           << QPoint(g - l, horizon);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPolygon(mountain);
  p.setPen(QPen(QColor(255, 0, 0), 1));
  p.drawLine(g, 80, g, horizon);
  p.drawLine(g - 20, horizon - l, g + 20, horizon - l);
  p.setPen(Qt::black);
  TextAt(p, g - 15, 70, QStringLiteral("Zorv山"));

  static const char* const kDirections[] = {"北",   "北東", "東",   "南東", "南",
                                            "南西", "西",   "北西", "北"};
  for (int j = 0; j <= 8; ++j) {
    const int az = 45 * j;
    const int x = NearestInt(az * s + x0);
    p.drawLine(x, 141, x, 146);
    CentredAt(p, x, 150, QString::number(az) + QStringLiteral("°"));
    CentredAt(p, x, 170, QString::fromUtf8(kDirections[j]));
  }

  // The day's path; a step across north (azimuth 360 -> 0) is not joined across the chart.
  const bool moon = chart.body == EventBody::kMoon;
  const auto& az = moon ? chart.moonAzimuth : chart.sunAzimuth;
  const auto& alt = moon ? chart.moonAltitude : chart.sunAltitude;
  p.setPen(QPen(QColor(255, 255, 0), 1));
  for (int i = 0; i + 1 < kSkyChartSamples; ++i) {
    if (std::fabs(az[i + 1] - az[i]) > 180) continue;
    p.drawLine(NearestInt(az[i] * s + x0), NearestInt(horizon - alt[i] * s),
               NearestInt(az[i + 1] * s + x0), NearestInt(horizon - alt[i + 1] * s));
  }

  const int bar = kSkyChartTimeBarY;
  p.fillRect(0, bar, width, height - bar, QColor(64, 64, 64));
  const int dawn = TruncInt(chart.sunrise * width), dusk = TruncInt(chart.sunset * width);
  p.fillRect(dawn, bar, dusk - dawn, height - bar, QColor(128, 149, 220));
  p.setPen(Qt::white);
  for (int h = 0; h <= 24; ++h) {
    const int x = NearestInt(h / 24.0 * width);
    p.drawLine(x, bar, x, bar + (h % 3 == 0 ? 10 : 5) - 1);
    if (h % 3 == 0 && h > 0 && h < 24) CentredAt(p, x, 223, QString::number(h));
  }

  if (drawMarkers) {
    const SkyChartMarkers m = SkyChartCrossingMarkers(chart, width, 0, 0, height);
    p.setPen(QPen(QColor(255, 0, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(m.sun.left, m.sun.top, 10, 10));
    p.setPen(QPen(Qt::white, 2));
    p.drawEllipse(QRect(m.moon.left, m.moon.top, 10, 10));
    p.fillRect(m.timeBarMarkerLeft, bar, 10, 10, QColor(255, 0, 0));
  }
  return img;
}

}  // namespace velkaro
