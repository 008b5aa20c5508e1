#include "render/event_paths.h"

#include <QFontMetrics>
#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <climits>
#include <cstdio>

#include "astro/astro.h"
#include "core/numeric.h"
#include "core/text.h"
#include "render/text_draw.h"

namespace velkaro {
namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr int kPathSamples = 100;
constexpr int kTextPixels = 12;

void TextAt(QPainter& p, int x, int y, const std::string& text) {
  p.drawText(QPoint(x, y + QFontMetrics(p.font()).ascent()), ToQString(text));
}

void PrepareOverlay(QImage& overlay, const PanoramaFrame& frame) {
  if (overlay.width() != frame.W || overlay.height() != frame.H ||
      overlay.format() != QImage::Format_RGB32) {
    overlay = QImage(std::max(frame.W, 1), std::max(frame.H, 1), QImage::Format_RGB32);
  }
  overlay.fill(Qt::black);
}

int PathX(const PanoramaFrame& f, const SummitSight& s, double azimuth) {
  return TruncInt((azimuth - s.summitAzimuth) * f.ppd + f.Xc);
}
int PathY(const PanoramaFrame& f, const SummitSight& s, double altitude) {
  return TruncInt(f.Yc - (altitude - s.e2600) * f.ppd);
}

bool Inside(const PanoramaFrame& f, int x, int y) {
  return x > 30 && x < f.W - 30 && y > 30 && y < f.H - 30;
}

// Joins the samples in order, stopping after the first one at or above `stopY`.
void Polyline(QPainter& p, const PathSamples& s, int stopY, bool inclusive) {
  QPolygon poly;
  for (size_t i = 0; i < s.x.size(); ++i) {
    poly << QPoint(s.x[i], s.y[i]);
    if (inclusive ? s.y[i] <= stopY : s.y[i] < stopY) break;
  }
  if (poly.size() > 1) p.drawPolyline(poly);
}

std::string HourMinuteNoZeros(DateTime t) {
  const CivilDateTime c = DecodeDateTime(t);
  return std::to_string(c.hour) + ":" + std::to_string(c.minute);
}

void ArcAround(QPainter& p, const PhaseArc& a) {
  const QRectF box(a.cx - a.radius, a.cy - a.radius, 2 * a.radius, 2 * a.radius);
  p.drawArc(box, NearestInt(a.startDeg * 16), NearestInt(a.sweepDeg * 16));
}

}  // namespace

void DrawMoonPhase(QPainter& painter, int x, int y, int r, double age, bool setting,
                   MoonPhaseStyle style) {
  const QColor ink = painter.pen().color();
  const MoonPhaseShape s = ComputeMoonPhaseShape(x, y, r, age, setting, style);
  painter.setBrush(Qt::NoBrush);
  switch (s.kind) {
    case MoonPhaseShape::Kind::kFull:
      painter.setPen(QPen(ink, s.circlePenWidth));
      painter.drawEllipse(QPoint(x, y), r, r);
      return;
    case MoonPhaseShape::Kind::kDotted:
      painter.setPen(QPen(ink, 1, Qt::DotLine));
      painter.drawEllipse(QPoint(x, y), r, r);
      painter.setPen(QPen(ink, 1));
      return;
    case MoonPhaseShape::Kind::kPhase:
      break;
  }
  painter.setPen(QPen(ink, s.limbPenWidth));
  ArcAround(painter, s.limb);
  painter.setPen(QPen(ink, 1));
  if (s.terminatorIsArc) {
    ArcAround(painter, s.terminator);
  } else {
    painter.drawLine(s.p1x, s.p1y, s.p2x, s.p2y);
  }
}

namespace {

// Samples a body's path every `stepMinutes` from t0 until a sample has left the top of the
// picture (the first one at y <= -10 is kept), recording where each lands and whether any lies
// well inside the picture.
template <class PositionAt>
void SamplePath(PathSamples& path, const PanoramaFrame& frame, const SummitSight& sight,
                DateTime t0, double stepMinutes, PositionAt positionAt) {
  int previousY = INT_MAX;
  for (int k = 0; k < kPathSamples && previousY > -10; ++k) {
    const DateTime t = t0 + k * stepMinutes * kMinute;
    const BodyPosition body = positionAt(t);
    const int x = PathX(frame, sight, body.azimuth);
    const int y = PathY(frame, sight, body.apparentAltitude);
    path.x.push_back(x);
    path.y.push_back(y);
    path.t.push_back(t);
    if (Inside(frame, x, y)) path.visible = true;
    previousY = y;
  }
}

}  // namespace

SunPathResult DrawSunPath(QImage& overlay, const PanoramaFrame& frame, const Observer& observer,
                          const SummitSight& sight, DateTime displayDate) {
  PrepareOverlay(overlay, frame);
  SunPathResult r;
  const DateTime date = WholeDay(displayDate);
  r.path.displayDate = date;
  const bool setting = sight.summitAzimuth > 180;
  const SunRiseSet rise = SolveSunRiseSet(date, observer, RiseOrSet::kRise);
  const SunRiseSet set = SolveSunRiseSet(date, observer, RiseOrSet::kSet);
  const double step = setting ? -2.0 : 2.0;
  const DateTime t0 = setting ? date + set.time + 10 * kMinute : date + rise.time - 10 * kMinute;
  const BodyPosition first = ComputeSunPosition(AstroTimeFromDateTime(t0), observer);
  r.path.radius = TruncInt(first.semiDiameter * frame.ppd);
  r.path.diameter = TruncInt(first.semiDiameter * frame.ppd * 2);

  QPainter p(&overlay);
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(Qt::NoBrush);
  p.setFont(DrawingFont(kTextPixels));
  SamplePath(r.path, frame, sight, t0, step,
             [&](DateTime t) { return ComputeSunPosition(AstroTimeFromDateTime(t), observer); });
  for (size_t k = 0; k < r.path.x.size(); ++k) {
    const QPoint c(r.path.x[k], r.path.y[k]);
    p.drawEllipse(c, r.path.radius, r.path.radius);
    p.drawEllipse(c, 2, 2);
    TextAt(p, c.x() + 5, c.y() - 5, FormatHourMinute(r.path.t[k]));
  }
  Polyline(p, r.path, 1, true);
  TextAt(p, 15, 155, FormatDate(date));
  r.label59 = DiamondSunDayTitle(date);
  r.label60 = SunriseLabel(rise.time, rise.azimuthRounded);
  r.label61 = SunsetLabel(set.time, set.azimuthRounded);
  return r;
}

MoonPathResult DrawMoonPath(QImage& overlay, const PanoramaFrame& frame, const Observer& observer,
                            const SummitSight& sight, DateTime displayDate,
                            DateTime displayInstant) {
  PrepareOverlay(overlay, frame);
  MoonPathResult r;
  const DateTime date = WholeDay(displayDate);
  r.path.displayDate = date;
  const bool setting = sight.summitAzimuth > 180;
  const MoonRiseSet rise = SolveMoonRiseSet(date, observer, RiseOrSet::kRise);
  const MoonRiseSet set = SolveMoonRiseSet(date, observer, RiseOrSet::kSet);
  const double step = setting ? -2.0 : 2.0;
  const MoonRiseSet& start = setting ? set : rise;
  // Without the needed moonrise (moonset) the path starts from the display instant itself.
  const DateTime anchor = start.found ? start.instant : displayInstant;
  const DateTime t0 = anchor - step * 5 * kMinute;
  const MoonAgeResult age = MoonAge(displayInstant, observer);
  r.moonAge = age.age;
  const BodyPosition atDisplay =
      ComputeMoonPosition(AstroTimeFromDateTime(displayInstant), observer);
  r.path.radius = TruncInt(atDisplay.semiDiameter * frame.ppd);
  r.path.diameter = 2 * r.path.radius;
  const int drawRadius = std::max(r.path.radius, 5);

  QPainter p(&overlay);
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(Qt::NoBrush);
  p.setFont(DrawingFont(kTextPixels));
  SamplePath(r.path, frame, sight, t0, step,
             [&](DateTime t) { return ComputeMoonPosition(AstroTimeFromDateTime(t), observer); });
  for (size_t k = 0; k < r.path.x.size(); ++k) {
    const int x = r.path.x[k], y = r.path.y[k];
    DrawMoonPhase(p, x, y, drawRadius, r.moonAge, setting, MoonPhaseStyle::kPath);
    p.setPen(QPen(Qt::white, 1));
    TextAt(p, x + 5, y - 4, HourMinuteNoZeros(r.path.t[k]));
  }
  Polyline(p, r.path, 0, false);
  TextAt(p, 15, 155, FormatDate(date));
  TextAt(p, 15, 170, "月齢= " + FormatDecimals(1, r.moonAge));
  const SunRiseSet sunrise = SolveSunRiseSet(date, observer, RiseOrSet::kRise);
  const SunRiseSet sunset = SolveSunRiseSet(date, observer, RiseOrSet::kSet);
  r.label62 = MoonriseLabel(rise, date);
  r.label63 = MoonsetLabel(set, date);
  r.label64 = SunriseLabel(sunrise.time, sunrise.azimuthRounded);
  r.label65 = SunsetLabel(sunset.time, sunset.azimuthRounded);
  return r;
}

void DrawPressedSun(QImage& overlay, int px, int py, int radius, const std::string& text,
                    bool clearFirst) {
  if (clearFirst) overlay.fill(Qt::black);
  QPainter p(&overlay);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 0), 2));
  p.drawEllipse(QRect(px - radius, py - radius, 2 * radius, 2 * radius));
  p.setFont(DrawingFont(kTextPixels));
  TextAt(p, px + radius + 5, py - 5, text);
}

void DrawPressedMoon(QImage& overlay, int px, int py, int radius, double age, bool setting,
                     const std::string& text, bool clearFirst) {
  if (clearFirst) overlay.fill(Qt::black);
  const int r = std::max(2, radius);
  QPainter p(&overlay);
  p.setPen(QPen(Qt::white, 1));
  DrawMoonPhase(p, px, py, r, age, setting, MoonPhaseStyle::kPress);
  p.setPen(QPen(Qt::white, 1));
  p.setFont(DrawingFont(kTextPixels));
  TextAt(p, px + r + 5, py - 5, text);
}

}  // namespace velkaro
