#include "core/viewpoint.h"

#include "core/text.h"

namespace velkaro {

Pick DefaultViewpointPick() {
  Pick p;
  p.latitude = 35.45472f;
  p.longitude = 139.63062f;
  p.elevation = 273.0f;
  p.name = "横浜ランドマークタワー";
  p.reading = "よこはまらんどまーくたわー";
  p.remark = "横浜市西区みなとみらい２丁目";
  return p;
}

bool ParseAltitudeCorrection(const std::string& text, double& value) {
  std::string t = text;
  if (t.find('+') != std::string::npos) t = Trim(t.size() > 1 ? t.substr(1, 10) : std::string());
  const size_t m = t.find('m');
  if (m != std::string::npos) t = t.substr(0, m);
  const auto v = ParseNumber(t);
  if (!v) return false;
  value = *v;
  return true;
}

LoadedViewpoint LoadCurrentViewpoint(const Pick& pick, bool correctionOn,
                                     const std::string& correctionText) {
  LoadedViewpoint r;
  Viewpoint& vp = r.viewpoint;
  vp.latitude = pick.latitude;
  vp.longitude = pick.longitude;
  vp.elevation = pick.elevation;
  vp.baseElevation = pick.elevation;
  vp.name = pick.name;
  vp.reading = pick.reading;
  vp.remark = pick.remark;
  if (!correctionOn) return r;
  double add = 0;
  if (!ParseAltitudeCorrection(correctionText, add)) {
    r.ok = false;
    r.error = "'" + correctionText + "' is not a valid floating point value";
    return r;
  }
  vp.elevation = static_cast<float>(vp.elevation + add);
  return r;
}

}  // namespace velkaro
