#pragma once

#include "astro/body_position.h"

namespace velkaro::astro_detail {

// The observer's coordinates at the single precision the series take them in.
inline double SinglePrecision(double x) {
  return static_cast<double>(static_cast<float>(x));
}

// Stores an azimuth as a float in [0, 360): a value just below 360 can round up to 360 itself.
inline float StoreAzimuth(double azimuth) {
  const float a = static_cast<float>(azimuth);
  return a >= 360.0f ? 0.0f : a;
}

// The steps shared by sun and moon once α, δ and θ are known: horizontal coordinates, the
// parallax correction by `parallax` (degrees), refraction and the apparent altitude.
void FinishPosition(BodyPosition& p, double phi, double parallax);

}  // namespace velkaro::astro_detail
