#pragma once

// The astronomy of the program: time scale, sun and moon positions, rise and set, moon age and
// tides, the display texts built from them and the eclipse scan.

#include "astro/body_position.h"
#include "astro/display_text.h"
#include "astro/eclipse.h"
#include "astro/moon_age.h"
#include "astro/moon_panel.h"
#include "astro/rise_set.h"
#include "astro/screen_bearing.h"
#include "astro/time_scale.h"
