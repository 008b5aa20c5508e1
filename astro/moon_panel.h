#pragma once

#include <string>

#include "astro/display_text.h"
#include "astro/moon_age.h"
#include "astro/rise_set.h"
#include "core/datetime.h"
#include "core/sight_line.h"

namespace velkaro {

// Everything the moon panel shows for one date: moonrise and moonset of the date, the moon age at
// its noon with the tide, the phase picture, sunrise and sunset, and their texts.
struct MoonPanel {
  DateTime date = 0;
  MoonRiseSet moonrise, moonset;
  MoonAgeResult noonAge;
  MoonPhaseTile phaseTile;
  SunRiseSet sunrise, sunset;
  std::string title;         // "2012/05/21　月の出没"
  std::string moonriseText;  // "月の出： …" or "月の出： ------"
  std::string moonsetText;
  std::string ageText;  // "正午の月齢： 0.3   (大潮)"
  std::string sunriseText;
  std::string sunsetText;
};

// `previousRise` and `previousSet` are what the panel's earlier moon calls left; an unconverged
// iteration falls back on them.
MoonPanel ComputeMoonPanel(DateTime date, const Observer& observer,
                           const MoonRiseSet& previousRise = {},
                           const MoonRiseSet& previousSet = {});

}  // namespace velkaro
