// velkaro-cli visibility: the view map pixel under a world-datum point, its colour and the
// visibility value with its grade and symbol.
#include <cstdio>

#include "cli/command.h"
#include "core/datum.h"
#include "core/text.h"
#include "maps/view_map.h"
#include "resources/embedded.h"

namespace velkaro::cli {
namespace {

int RunVisibility(const Args& a) {
  const double lat = a.number("lat");
  const double lon = a.number("lon");
  ViewMap map(EmbeddedResource("ZorvViewMap"));
  const ViewMapImage* image = map.image();
  if (!image) {
    std::fprintf(stderr, "velkaro-cli visibility: the view map cannot be read: %s\n",
                 map.error().c_str());
    return 1;
  }
  const TokyoFromWorld tokyo = WorldToTokyo(lat, lon);
  const ViewMapPixel p = ViewMapPixelOf(tokyo.tokyoLatitude, tokyo.tokyoLongitude);
  const Rgb c = p.inside ? image->ColourAt(p.x, p.y) : Rgb{};
  const int value = VisibilityValueAt(map, lat, lon);
  const int grade = VisibilityGrade(value);
  PrintJson({{"inside", p.inside},
             {"x", p.x},
             {"y", p.y},
             {"colour", {c.r, c.g, c.b}},
             {"value", value},
             {"grade", grade},
             {"symbol", GradeSymbol(grade)}});
  return 0;
}

const RegisterCommand kVisibility("visibility", "--lat φ --lon λ", RunVisibility);

}  // namespace
}  // namespace velkaro::cli
