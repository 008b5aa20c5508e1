#pragma once

namespace velkaro::astro_detail {

// The apparent geocentric ecliptic longitudes alone, degrees in [0, 360), for T of AstroTimeScale:
// exactly the values the full position routines store, for callers that need nothing else.
double SunEclipticLongitude(double T);
double MoonEclipticLongitude(double T, double am);
double MoonAuxiliaryAm(double T);

// A longitude as the position record stores it: a float in [0, 360) (a value a hair below 360
// would otherwise round up to 360 itself).
inline float StoreLongitude(double longitude) {
  const float l = static_cast<float>(longitude);
  return l >= 360.0f ? 0.0f : l;
}

}  // namespace velkaro::astro_detail
