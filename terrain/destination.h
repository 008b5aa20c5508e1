#pragma once

namespace velkaro {

struct GeoPoint {
  double latitude = 0;
  double longitude = 0;
};

// The point at an arc of arcDeg degrees along the azimuth azimuthDeg (0 north, clockwise) from
// (latitude, longitude), on a sphere.
GeoPoint DestinationPoint(double latitude, double longitude, double arcDeg, double azimuthDeg);

}  // namespace velkaro
