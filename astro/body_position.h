#pragma once

#include "astro/time_scale.h"
#include "core/sight_line.h"

namespace velkaro {

// Where the sun or the moon stands for one observer at one instant. Angles in degrees.
struct BodyPosition {
  float azimuth = 0;           // [0, 360), 0 = north, 90 = east
  float trueAltitude = 0;      // topocentric altitude of the centre, no refraction
  float refraction = 0;        // added to trueAltitude
  float apparentAltitude = 0;  // trueAltitude + refraction: what the terrain is compared with
  double rightAscension = 0;   // sun: [0, 360); moon: (-90, 270), deliberately not reduced
  double declination = 0;
  double siderealTime = 0;       // local, includes the observer's longitude
  float eclipticLongitude = 0;   // apparent geocentric, [0, 360)
  double distance = 0;           // AU for the sun, km for the moon
  double semiDiameter = 0;       // apparent radius of the disc
  float horizontalParallax = 0;  // moon: P of its series; sun: 0.0024428 / r
};

// The observer's latitude and longitude are taken at single precision, as the series were made
// for; its elevation is not used here (only the rise and set altitude depends on it).
// Neither routine allocates.
BodyPosition ComputeSunPosition(const AstroTime& t, const Observer& observer);
BodyPosition ComputeMoonPosition(const AstroTime& t, const Observer& observer);

}  // namespace velkaro
