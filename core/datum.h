#pragma once

namespace velkaro {

// Conversions between the Tokyo datum (terrain tiles, view map, summit grid header) and the world
// geodetic system of every displayed coordinate. The results are held at single precision.
struct DatumShift {
  float worldLatitude = 0;
  float worldLongitude = 0;
  float shiftLatitude = 0;   // world minus Tokyo
  float shiftLongitude = 0;
};

DatumShift TokyoToWorld(double tokyoLatitude, double tokyoLongitude);

struct WorldLatLon {
  float latitude = 0;
  float longitude = 0;
};
// Minutes of latitude north of 20° and of longitude east of 120°, on the Tokyo datum.
WorldLatLon TokyoMinutesToWorld(double latMinutes, double lonMinutes);

struct TokyoFromWorld {
  float tokyoLatitude = 0;
  float tokyoLongitude = 0;
  // The forward conversion of the input as if it were on the Tokyo datum; the old program left it
  // behind in its shared datum record, and some callers read it.
  DatumShift forward;
};
TokyoFromWorld WorldToTokyo(double worldLatitude, double worldLongitude);

}  // namespace velkaro
