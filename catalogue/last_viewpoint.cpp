#include "catalogue/last_viewpoint.h"

#include "catalogue/cp932_text.h"
#include "core/text.h"

namespace velkaro {

RestoredViewpoint RestoreLastViewpoint(const std::string& path) {
  RestoredViewpoint r;
  bool exists = false;
  const auto lines = ReadCp932LinesLossless(path, &exists);
  if (!exists) return r;
  auto malformed = [&](const std::string& why) {
    r = RestoredViewpoint{};
    r.warning = path + ": " + why + "; starting from the default viewpoint";
    return r;
  };
  if (!lines || lines->empty()) return malformed("cannot read the last viewpoint");
  const std::vector<std::string> f = SplitFields((*lines)[0]);
  if (f.size() < 7) return malformed("fewer than 7 fields");
  const auto lat = ParseNumber(f[1]);
  const auto lon = ParseNumber(f[2]);
  const auto elev = ParseNumber(f[3]);
  const auto mode = ParseInteger(f[6]);
  if (!lat || !lon || !elev) return malformed("a latitude, longitude or elevation is not a number");
  if (!mode || *mode < 0 || *mode > 2) return malformed("the view mode is not 0, 1 or 2");
  r.pick.name = f[0];
  r.pick.latitude = static_cast<float>(*lat);
  r.pick.longitude = static_cast<float>(*lon);
  r.pick.elevation = static_cast<float>(*elev);
  r.pick.reading = f[4];
  r.pick.remark = f[5];
  r.mode = static_cast<ViewMode>(*mode);
  r.fromFile = true;
  return r;
}

std::string FieldSafe(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == ',')
      out += "，";
    else if (c == '\r' || c == '\n')
      out += ' ';
    else
      out += c;
  }
  return out;
}

std::string LastViewpointLine(const Pick& pick, ViewMode mode) {
  return FieldSafe(pick.name) + "," + FormatGeneral(pick.latitude) + "," +
         FormatGeneral(pick.longitude) + "," + FormatGeneral(pick.elevation) + "," +
         FieldSafe(pick.reading) + "," + FieldSafe(pick.remark) + "," +
         std::to_string(static_cast<int>(mode));
}

bool SaveLastViewpoint(const std::string& path, const Pick& pick, ViewMode mode,
                       std::string* error) {
  return WriteCp932LinesLossless(path, {LastViewpointLine(pick, mode)}, error);
}

}  // namespace velkaro
