#pragma once

#include <cstdint>
#include <vector>

#include "maps/view_map.h"
#include "maps/visibility_terrain.h"

namespace velkaro {

// How much of the mountain is seen from a place. Points on the summit's vertical are taken from
// 3776 m down to 1500 m in 126 equal steps (about 18 m); a point is seen when the straight line
// from an eye 1.5 m above the ground (above the sea surface at sea) passes above all terrain
// between them, leaving out the mountain's own body within 10 km of the summit. The earth model is
// the one of ComputeSightLine: distances of 1.852 km per arc-minute, the curvature drop on a sphere
// of 6400 km, no refraction.
inline constexpr double kVerticalTop = 3776.0;
inline constexpr double kVerticalBottom = 1500.0;
inline constexpr int kVerticalSteps = 126;
inline constexpr double kVerticalStep = (kVerticalTop - kVerticalBottom) / kVerticalSteps;
inline constexpr double kSummitAreaRadiusM = 10000.0;

// The visibility value of a place from the height above which the summit's vertical is seen:
// 0 when the 3776 m point is hidden, else 127 + round(128 f) with f = (3776 − h) / 2276 for the
// lowest sampled point h that is seen. Heights are strictly above the line's limit to count as
// seen. 127 levels of G, so gray and water shades with red and purple fit a 256-colour palette.
int VisibilityValueOfHeight(double lowestVisibleLimit);

// Per pixel: the height on the summit's vertical at which the line from the eye just grazes the
// highest obstacle (−infinity when nothing lies between), and whether the pixel lies within 10 km
// of the summit (the white area, where nothing is computed).
struct VisibilityField {
  int width = 0;
  int height = 0;
  std::vector<float> limit;
  std::vector<uint8_t> summitArea;
};

struct VisibilitySweepOptions {
  int rayCount = 65536;  // rays from the summit's vertical, evenly spread in azimuth
  // Each ray is walked cell by cell, along straight pieces between exact positions this far apart.
  double knotSpacingM = 500.0;
  // In front of each eye the terrain is walked along the pixel's own line.
  double nearReachM = 1500.0;
  int threads = 2;
};

// The sweep: rays leave the summit's vertical; along each ray the upper convex hull of the terrain
// profile (heights lowered by the curvature drop seen from the summit) is kept as the ray grows,
// and every pixel whose own line to the summit is nearest that ray asks the hull for its highest
// obstacle beyond its near zone (the tangent from its eye), re-measured with the exact drop. The
// near zone is marched along the pixel's own line. Deterministic for any thread count.
VisibilityField ComputeVisibilityField(const VisibilityTerrain& terrain,
                                       const VisibilitySweepOptions& options = {});

// The same limit for one pixel by marching its own line from the eye to the summit through every
// cell it crosses (NaN within 10 km of the summit). Slow; the reference for the sweep.
double ExactVisibilityLimit(const VisibilityTerrain& terrain, int x, int y);
// The same for an eye at any world-datum place and absolute height (a tower's deck, a summit).
double ExactVisibilityLimitFrom(const VisibilityTerrain& terrain, double latitude, double longitude,
                                double eyeHeight);

// The colours of the picture: white within 10 km of the summit, hidden land red and hidden water
// purple, seen land (G, G, G) and seen water (0, G, 255). The palette holds exactly the colours
// used, in ascending (r, g, b) order.
ViewMapImage PaintViewMap(const VisibilityTerrain& terrain, const VisibilityField& field);

// World-datum position of a pixel centre and the distance (metres along the surface, 1.852 km per
// arc-minute) from the summit reference point.
struct PixelPlace {
  double latitude = 0;
  double longitude = 0;
  double summitDistanceM = 0;
};
PixelPlace PixelPlaceOf(int x, int y);

}  // namespace velkaro
