#include "cli/command.h"
#include "core/sight_line.h"

namespace velkaro::cli {
namespace {

int RunSight(const Args& a) {
  const Observer observer{a.number("lat"), a.number("lon"), static_cast<float>(a.number("elev"))};
  SightLine line;
  line.targetLatitude = a.number("to-lat");
  line.targetLongitude = a.number("to-lon");
  line.targetHeight = static_cast<float>(a.number("to-height"));
  ComputeSightLine(observer, line);
  PrintJson({{"azimuth", line.azimuth},
             {"elevationAngle", line.elevationAngle},
             {"distanceKm", line.distanceKm},
             {"centralAngleDeg", line.centralAngleDeg},
             {"dropM", line.dropM}});
  return 0;
}

const RegisterCommand kSight("sight",
                             "--lat φ --lon λ --elev m --to-lat φ2 --to-lon λ2 --to-height h",
                             RunSight);

}  // namespace
}  // namespace velkaro::cli
