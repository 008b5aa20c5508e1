#pragma once

#include "astro/body_position.h"
#include "core/datetime.h"
#include "core/sight_line.h"

namespace velkaro {

struct MoonAgeResult {
  float age = 0;              // days since the last new moon
  double elongation = 0;      // moon minus sun ecliptic longitude at the instant, [0, 360)
  const char* tideName = "";  // from `elongation`
  int steps = 0;              // refinement steps taken
  BodyPosition sun, moon;     // the last evaluation
  AstroTime lastTime;         // its instant
};

MoonAgeResult MoonAge(DateTime instant, const Observer& observer);

// "大潮", "中潮", "小潮", "長潮" or "若潮" for an elongation in degrees (0..360).
const char* TideName(double elongation);

}  // namespace velkaro
