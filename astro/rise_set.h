#pragma once

#include "astro/body_position.h"
#include "core/datetime.h"
#include "core/sight_line.h"

namespace velkaro {

enum class RiseOrSet { kRise, kSet };

struct SunRiseSet {
  double time = 0;         // fraction of the day, 0..1
  float azimuth = 0;       // the sun's azimuth at that time
  int azimuthRounded = 0;  // the same to the nearest degree (halves to even)
  int steps = 0;           // iteration steps taken
  BodyPosition last;       // the sun of the last evaluation
  AstroTime lastTime;      // the instant of the last evaluation
};

// Sunrise or sunset on the day `date` (its time of day is ignored): the upper limb on the apparent
// horizon, with the dip of the horizon for the observer's elevation.
SunRiseSet SolveSunRiseSet(DateTime date, const Observer& observer, RiseOrSet which);
// The sun iteration converges in a handful of steps wherever the sun rises; this bounds it where
// it would not (polar day or night).
inline constexpr int kSunRiseSetStepLimit = 50;

struct MoonRiseSet {
  bool found = false;    // the iteration converged
  double time = 0;       // fraction of the day; below 0 or above 1 when it falls on a neighbour day
  DateTime instant = 0;  // date + time
  int azimuth = 0;       // the moon's azimuth to the nearest degree
  int steps = 0;         // iteration steps taken by this call
  BodyPosition last;     // the moon of the last evaluation of this call
  AstroTime lastTime;    // the instant of the last evaluation of this call
};

// Moonrise or moonset around noon of `date` (the centre of the disc on the horizon). A call that
// does not converge within its step limit returns `previous` with found = false: the earlier
// time, instant and azimuth stay, so a display compares the earlier instant's day with its date.
// `last` and `lastTime` always describe this call's final evaluation.
MoonRiseSet SolveMoonRiseSet(DateTime date, const Observer& observer, RiseOrSet which,
                             const MoonRiseSet& previous = {});

}  // namespace velkaro
