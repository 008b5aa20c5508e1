#pragma once

namespace velkaro {

// Direction of a screen offset (y grows downwards) in degrees clockwise from screen-up, in
// [0, 360): 0 for a zero offset, 90 for (positive, 0), 270 for (negative, 0).
double ScreenBearing(double dx, double dy);

}  // namespace velkaro
