#pragma once

#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/sight_line.h"
#include "events/moon_phase.h"
#include "render/frame.h"

namespace velkaro {

// The samples of a drawn path, for the pointer handling on the panorama: screen positions and
// instants in drawing order, the disc radius and the day shown.
struct PathSamples {
  std::vector<int> x, y;
  std::vector<DateTime> t;
  int radius = 0;    // disc radius in pixels
  int diameter = 0;  // sizes the movable marker (Shape1)
  DateTime displayDate = 0;
  bool visible = false;  // some sample lies at least 30 pixels inside the picture
};

struct SunPathResult {
  PathSamples path;
  std::string label59;  // "yyyy/mm/dd (曜)の日出没"
  std::string label60;  // "日の出： h:mm:ss (118度)"
  std::string label61;  // "日の入： …"
};

// The sun's path on the day of `displayDate` (its time of day is ignored) into `overlay` (white on
// black, the panorama's size; replaced when it has another size), two-minute samples from ten
// minutes before sunrise (or back from ten minutes after sunset).
SunPathResult DrawSunPath(QImage& overlay, const PanoramaFrame& frame, const Observer& observer,
                          const SummitSight& sight, DateTime displayDate);

struct MoonPathResult {
  PathSamples path;
  float moonAge = 0;    // at the display instant: the phase drawn on every sample
  std::string label62;  // moonrise, or "月の出： ------"
  std::string label63;  // moonset
  std::string label64;  // sunrise
  std::string label65;  // sunset
};

// The moon's path on the display date, each sample drawn with the phase of the display instant.
MoonPathResult DrawMoonPath(QImage& overlay, const PanoramaFrame& frame, const Observer& observer,
                            const SummitSight& sight, DateTime displayDate,
                            DateTime displayInstant);

// Draws a moon phase shape at (x, y) with the painter's current colour.
void DrawMoonPhase(QPainter& painter, int x, int y, int r, double age, bool setting,
                   MoonPhaseStyle style);

// A press on a path point: the sun disc (yellow, pen width 2) or the moon with its phase, and the
// point's "yyyy/mm/dd hh:nn" text. A left press clears the overlay first.
void DrawPressedSun(QImage& overlay, int px, int py, int radius, const std::string& text,
                    bool clearFirst);
void DrawPressedMoon(QImage& overlay, int px, int py, int radius, double age, bool setting,
                     const std::string& text, bool clearFirst);

}  // namespace velkaro
