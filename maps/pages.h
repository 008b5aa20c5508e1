#pragma once

#include <string>
#include <vector>

#include "catalogue/registered.h"
#include "core/app_state.h"

namespace velkaro {

// Hosts of the resources the generated pages name; the scheme and path of each stay fixed. The
// window serves the Leaflet files from its local copy whatever the host.
struct PageHosts {
  std::string leafletCdn = "unpkg.com";                 // https, /leaflet@1.3.0/dist/...
  std::string gsiTiles = "cyberjapandata.gsi.go.jp";    // http std tiles, https ortho tiles
  std::string osmJapanTiles = "tile.openstreetmap.jp";  // http
  std::string gsiSite = "maps.gsi.go.jp";               // http, terms of use
  std::string osmSite = "www.openstreetmap.org";        // http, copyright
};

struct LatLon {
  double latitude = 0;
  double longitude = 0;
};
using MapLine = std::vector<LatLon>;

// Everything map1.html shows besides its fixed lines.
struct PickMapContent {
  LatLon centre;  // the 7th point of the main line while a line map is active, else the viewpoint
  ViewMode mode = ViewMode::kView;
  // Diamond mode: the two companion lines; pearl mode: the pearl map's two companion lines. Each
  // is written when it has points.
  MapLine companionA, companionB;
  const RegisteredViewpoints* registered = nullptr;  // markers when set (the box is ticked)
  MapLine mainLine;                                  // written when it has points
};

// The centre of map1.html: the 7th point of the main line while a line map is active (the line
// has points), else the viewpoint.
LatLon PickMapCentre(LatLon viewpoint, const MapLine& mainLine);

// The page lines (UTF-8, without line ends).
std::vector<std::string> PickMapPageLines(const PickMapContent& content, const PageHosts& hosts);
// kgmap.html: the viewpoint and a 10 km line towards the summit ending at `toward`.
std::vector<std::string> DirectionMapPageLines(LatLon viewpoint, LatLon toward,
                                               const PageHosts& hosts);
// mtmap.html: the point chosen in the list dialog (32-bit values, written widened).
std::vector<std::string> ListPointMapPageLines(float latitude, float longitude,
                                               const PageHosts& hosts);

// A registered row's marker line, or "" when its name, latitude or longitude is empty or the
// coordinates are not numbers (they are copied into the script as they stand).
std::string RegisteredMarkerLine(const std::string& row, bool diamondMode);

// Escapes a text for a single-quoted script string inside the page; ordinary text is unchanged.
std::string EscapeScriptString(const std::string& text);

// Deletes the page, then writes the lines as code page 932, CR LF, no byte-order mark, through a
// temporary file renamed over it (never seen half written). False with `error` when it could not
// be written.
bool WritePage(const std::string& path, const std::vector<std::string>& lines,
               std::string* error = nullptr);

bool WritePickMapPage(const std::string& path, const PickMapContent& content,
                      const PageHosts& hosts = {}, std::string* error = nullptr);
bool WriteDirectionMapPage(const std::string& path, LatLon viewpoint, LatLon toward,
                           const PageHosts& hosts = {}, std::string* error = nullptr);
bool WriteListPointMapPage(const std::string& path, float latitude, float longitude,
                           const PageHosts& hosts = {}, std::string* error = nullptr);

// The arc along which kgmap.html's line runs: 10 km at 1.852 km per arc-minute, in degrees.
inline constexpr double kDirectionLineArcDeg = 0.08999280057595392;

}  // namespace velkaro
