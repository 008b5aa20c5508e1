#pragma once

namespace velkaro {

// Where the observer stands: the current viewpoint's position; the eye is kEyeHeight above it.
struct Observer {
  double latitude = 0;   // degrees, world datum
  double longitude = 0;  // degrees
  float elevation = 0;   // metres, including any altitude correction
};

// One sight line from the observer to a target. The outputs survive between calls where the
// geometry leaves them alone: the elevation angle is only rewritten beyond 0.1 km, and a target at
// the viewpoint itself leaves centralAngleDeg and dropM as they were. Callers that rely on that
// reuse the same SightLine for consecutive calls.
struct SightLine {
  // inputs
  double targetLatitude = 0;
  double targetLongitude = 0;
  float targetHeight = 0;
  // outputs
  double azimuth = 0;          // degrees in [0, 360), 0 = north, clockwise
  double elevationAngle = 0;   // degrees above the eye's horizontal plane
  double distanceKm = 0;       // along the surface
  double centralAngle = 0;     // radians, signed
  double centralAngleDeg = 0;  // |centralAngle| in degrees
  double dropM = 0;            // curvature drop of the target
};

void ComputeSightLine(const Observer& observer, SightLine& line);

// The summit sight lines that every panorama redraw starts from.
struct SummitSight {
  double summitAzimuth = 0;
  double e2600 = 0;  // elevation angle of the 2600 m point on the summit's vertical
  double e3700 = 0;  // the same at 3700 m: where the event searches aim the sun and the moon
  float summitDistanceKm = 0;
  float toleranceDeg = 0;  // angle under which 2 km appear at the summit's distance
};

SummitSight ComputeSummitSight(const Observer& observer);

}  // namespace velkaro
