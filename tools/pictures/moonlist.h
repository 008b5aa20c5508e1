#pragma once

#include "tools/pictures/rgb_image.h"

namespace velkaro::pictures {

// The moon list sheet: 8 columns by 4 rows of moon pictures on black, one for each whole-day
// moon age 0..30.
inline constexpr int kMoonListWidth = 717;
inline constexpr int kMoonListHeight = 236;
inline constexpr int kMoonAgeCount = 31;
inline constexpr int kMoonCellSize = 58;  // the calendar reads 58 × 58, the panels 59 × 59
inline constexpr double kSynodicMonthDays = 29.530589;

// The disc inside a cell, in continuous pixel coordinates (pixel x covers [x, x + 1)): it spans
// 5..54 on both axes, the circle the moon panels outline around a new moon, and leaves the
// 59th row and column black.
inline constexpr double kMoonDiscCentre = 30.0;
inline constexpr double kMoonDiscRadius = 25.0;

struct MoonCell {
  int left;
  int top;
};

// Top-left corner of the picture of whole-day age k: ((k mod 8)·91 + 5, trunc(k/8)·58).
constexpr MoonCell MoonCellOrigin(int age) {
  return {(age % 8) * 91 + 5, (age / 8) * 58};
}

// The sheet: for each age the moon as seen from Japan with north up, lit on the right while
// waxing and on the left while waning, with maria on the surface and faint earthshine on the
// dark part; black everywhere else.
RgbImage DrawMoonList();

}  // namespace velkaro::pictures
