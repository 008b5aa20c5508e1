#pragma once

#include <cmath>

namespace velkaro {

// pi as 4·arctan(1) and the degree-to-radian factor derived from it; every angle in the program is
// in degrees and turns into radians only inside trigonometric calls.
inline const double kPi = 4.0 * std::atan(1.0);
inline const double kDegToRad = kPi / 180.0;

// Sphere radius for the curvature drop of a distant point (no refraction term).
inline constexpr double kEarthRadiusM = 6400000.0;

// The observer's eye above the viewpoint's elevation.
inline constexpr float kEyeHeight = 1.5f;

// The fixed reference point of the mountain Zorv: centre of the summit grid and target of every
// summit sight line.
struct SummitReferencePoint {
  double latitude;
  double longitude;
  double height;
};
inline constexpr SummitReferencePoint SummitReference{35.363521, 138.730783333, 3776.0};

}  // namespace velkaro
