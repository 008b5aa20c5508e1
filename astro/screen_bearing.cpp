#include "astro/screen_bearing.h"

#include <cmath>

#include "core/constants.h"

namespace velkaro {

double ScreenBearing(double dx, double dy) {
  if (dx == 0 && dy == 0) return 0;
  // Screen-up is −y; clockwise on the screen is towards +x.
  double b = std::atan2(dx, -dy) / kDegToRad;
  if (b < 0) b += 360;
  return b >= 360 ? 0 : b;
}

}  // namespace velkaro
