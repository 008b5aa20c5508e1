#pragma once

#include "core/datetime.h"

namespace velkaro {

// The instant the sun and moon routines compute for: Japan standard time, whole seconds. The rise
// and set solvers may leave hours outside 0..23 (or negative minutes and seconds) when their
// iteration steps past midnight; the time scale below takes such values arithmetically.
struct AstroTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// Year, month and day from the integer part, hour, minute and second from the fraction; the
// fraction of a second is dropped (10:10:10.9 gives second 10).
AstroTime AstroTimeFromDateTime(DateTime t);

// T: Julian years of 365.25 days from 2000 January 1.5 on the uniform time scale (ΔT included);
// F: the fraction of the local day.
struct TimeScale {
  double T = 0;
  double F = 0;
};
TimeScale AstroTimeScale(const AstroTime& t);

// Local sidereal time in degrees, 0..360, for the east longitude in degrees.
double SiderealTime(double T, double F, double longitude);

struct HorizontalCoords {
  double hourAngle = 0;  // degrees, -180..180
  double azimuth = 0;    // degrees, 0 = north, clockwise, [0, 360)
  double altitude = 0;   // geocentric altitude, degrees
};
// Right ascension alpha, declination delta, local sidereal time theta and latitude phi, degrees.
HorizontalCoords EquatorialToHorizontal(double alpha, double delta, double theta, double phi);

// Refraction in degrees for a true altitude; the horizontal refraction 0.58555555 at and below
// the true horizon and wherever the formula would give more.
double Refraction(double trueAltitude);
inline constexpr double kHorizontalRefraction = 0.58555555;

}  // namespace velkaro
