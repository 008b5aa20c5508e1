#include "terrain/tiles_in_view.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "core/datum.h"
#include "terrain/destination.h"
#include "terrain/mesh_code.h"

namespace velkaro {

namespace {

double Relative(double azimuth, double summitAzimuth) {
  double r = azimuth - summitAzimuth;
  if (r < -180) r += 360;
  if (r > 180) r -= 360;
  return r;
}

struct SightProbe {
  const Observer& viewpoint;
  double summitAzimuth;

  double RelativeAzimuth(double latitude, double longitude) const {
    SightLine line;
    line.targetLatitude = latitude;
    line.targetLongitude = longitude;
    line.targetHeight = 0;
    ComputeSightLine(viewpoint, line);
    return Relative(line.azimuth, summitAzimuth);
  }
  double DistanceKm(double latitude, double longitude) const {
    SightLine line;
    line.targetLatitude = latitude;
    line.targetLongitude = longitude;
    line.targetHeight = 0;
    ComputeSightLine(viewpoint, line);
    return line.distanceKm;
  }
};

bool SquareInView(const SightProbe& probe, double south, double west, double halfWidth) {
  const double corners[4][2] = {{south, west},
                                {south, west + kMeshSquareLon},
                                {south + kMeshSquareLat, west},
                                {south + kMeshSquareLat, west + kMeshSquareLon}};
  double rel[4];
  for (int k = 0; k < 4; ++k) {
    rel[k] = probe.RelativeAzimuth(corners[k][0], corners[k][1]);
    if (std::fabs(rel[k]) < halfWidth) return true;
  }
  // Corners on both sides of the summit's direction: the square spans the view.
  for (int k = 0; k < 4; ++k) {
    for (int l = k + 1; l < 4; ++l) {
      if (rel[k] * rel[l] < 0) return true;
    }
  }
  // A field narrower than the square can fall between its corners.
  for (int a = 1; a <= 9; ++a) {
    for (int b = 1; b <= 9; ++b) {
      const double r = probe.RelativeAzimuth(south + a * 0.5 / 60, west + b * 0.75 / 60);
      if (std::fabs(r) < halfWidth) return true;
    }
  }
  return false;
}

}  // namespace

TileList SelectTilesInView(const Observer& viewpoint, const ViewFrame& frame) {
  const double arc = (frame.summitDistanceKm + 10) / 1.852 / 60;
  double span = frame.rightAzimuth - frame.leftAzimuth;
  if (span < -180) span += 360;
  if (span > 180) span -= 360;
  const double halfWidth = std::fabs(span / 2) * 1.1;

  const double lat0 = viewpoint.latitude;
  const double lon0 = viewpoint.longitude;
  double north = lat0, south = lat0, east = lon0, west = lon0;
  for (double azimuth : {frame.rightAzimuth, frame.leftAzimuth, frame.summitAzimuth}) {
    const GeoPoint far = DestinationPoint(lat0, lon0, arc, azimuth);
    north = std::max(north, far.latitude);
    south = std::min(south, far.latitude);
    east = std::max(east, far.longitude);
    west = std::min(west, far.longitude);
  }
  north = std::min(north, kTerrainNorth);
  south = std::max(south, kTerrainSouth);
  east = std::min(east, kTerrainEast);
  west = std::max(west, kTerrainWest);

  TileList list;
  if (!(north >= south && east >= west)) return list;  // the view lies outside the covered area
  const int rows =
      static_cast<int>(std::trunc(north * 12)) - static_cast<int>(std::trunc(south * 12)) + 2;
  const int cols =
      static_cast<int>(std::trunc(east * 8)) - static_cast<int>(std::trunc(west * 8)) + 2;

  const DatumShift shift = TokyoToWorld(lat0, lon0);
  const std::string ownCode = MeshCodeOf(lat0 - shift.shiftLatitude, lon0 - shift.shiftLongitude);
  const SightProbe probe{viewpoint, frame.summitAzimuth};
  std::set<std::string> seen;

  for (int j = 1; j <= cols; ++j) {
    const double lon = west + (j - 1) * kMeshSquareLon;
    for (int i = 1; i <= rows; ++i) {
      const double lat = south + (i - 1) * kMeshSquareLat;
      std::string code = MeshCodeOf(lat - shift.shiftLatitude, lon - shift.shiftLongitude);
      if (seen.count(code) != 0) continue;  // rounding can name a square twice; draw it once
      const MeshCorner corner = MeshTileCorner(code);
      if (!corner.valid) continue;
      const DatumShift world = TokyoToWorld(corner.latitude, corner.longitude);
      const double s = world.worldLatitude;
      const double w = world.worldLongitude;
      if (code == ownCode || SquareInView(probe, s, w, halfWidth)) {
        const double distance = probe.DistanceKm(s + kMeshSquareLat / 2, w + kMeshSquareLon / 2);
        seen.insert(code);
        list.push_back({std::move(code), distance});
      }
    }
  }

  // Exchange sort, farthest first; squares at equal distances keep the order it gives them.
  for (size_t i = 0; i + 1 < list.size(); ++i) {
    for (size_t j = i + 1; j < list.size(); ++j) {
      if (list[i].distanceKm < list[j].distanceKm) std::swap(list[i], list[j]);
    }
  }
  return list;
}

}  // namespace velkaro
