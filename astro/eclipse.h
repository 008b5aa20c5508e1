#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/sight_line.h"

namespace velkaro {

// A check of the sun and moon series: half-hour steps over 35 years, listing the first instant of
// each day at which the apparent sun and moon nearly coincide above the horizon of a fixed place.
struct EclipseScanSettings {
  DateTime start = EncodeDateTime(2015, 1, 1, 10, 10, 10);
  DateTime end = EncodeDateTime(2050, 1, 1, 10, 10, 10);
  double step = 1.0 / 48;
  Observer observer{35.2, 139.5, 10.0f};
  double maxSeparation = 0.45;  // degrees
};

struct EclipseHit {
  DateTime instant = 0;
  double separation = 0;  // degrees; the azimuth difference is not scaled by the altitude
  std::string line;       // "yyyy/mm/dd hh:nn:ss   / d"
};

// Called when the scan enters a new year (and every few hundred steps); return false to stop.
// `fraction` is the part of the range done, 0..1.
using EclipseProgress = std::function<bool(int year, double fraction)>;
// Receives each line as soon as it is found (e.g. to write it to a file or a list).
using EclipseSink = std::function<void(const EclipseHit& hit)>;

struct EclipseScanResult {
  std::vector<EclipseHit> hits;
  bool cancelled = false;
  long steps = 0;
};

EclipseScanResult ScanForEclipses(const EclipseScanSettings& settings = {},
                                  const EclipseProgress& progress = {},
                                  const EclipseSink& sink = {});

// The scan's text for the file and the list: the lines, or "No eclipse" when there are none.
inline constexpr const char* kNoEclipseText = "No eclipse";

}  // namespace velkaro
