#include "events/line_map.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "astro/astro.h"
#include "core/constants.h"
#include "core/text.h"

namespace velkaro {
namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr int kExtremeDays = 369;
constexpr int kCrossingMaxSteps = 500;

struct LinePoint {
  double latitude = 0;
  double longitude = 0;
};

// The point at arc `arcDeg` along `azimuthDeg` from a start point, on a sphere.
LinePoint DestinationFrom(double latitude, double longitude, double arcDeg, double azimuthDeg) {
  const double d = kDegToRad;
  const double c1 = 90 - latitude;
  double cosC2 = std::cos(c1 * d) * std::cos(arcDeg * d) +
                 std::sin(c1 * d) * std::sin(arcDeg * d) * std::cos(azimuthDeg * d);
  cosC2 = std::clamp(cosC2, -1.0, 1.0);
  const double c2 = std::acos(cosC2) / d;
  LinePoint p;
  p.latitude = 90 - c2;
  const double denom = std::sin(c1 * d) * std::sin(c2 * d);
  double dLon = 0;
  if (denom != 0) {
    // Rounding can push the cosine a hair outside [-1, 1] due north or south.
    const double cosDl =
        std::clamp((std::cos(arcDeg * d) - std::cos(c1 * d) * cosC2) / denom, -1.0, 1.0);
    dLon = std::acos(cosDl) / d;
  }
  p.longitude = azimuthDeg < 180 ? longitude + dLon : longitude - dLon;
  return p;
}

Observer SummitObserver(float elevation) {
  return {SummitReference.latitude, SummitReference.longitude, elevation};
}

// Interpolated crossing instant between the samples (a0, z0) at t - g and (a1, z1) at t.
DateTime InterpolateInstant(DateTime t, double g, double a0, double z0, double a1, double z1,
                            double target) {
  double f = 0;
  if (a1 != a0 && z1 != z0) {
    const double slope = (z1 - z0) / (a1 - a0);
    const double zStar = slope * target + (z0 - a0 * slope);
    f = (zStar - z0) / (z1 - z0);
  } else if (a1 != a0) {
    f = (target - a0) / (a1 - a0);
  }
  return t - g * kMinute + g * f * kMinute;
}

template <typename Position>
DateTime FollowToCrossing(DateTime t0, double g, double target, const Position& position) {
  // The sample at t0 stands in for the previous one when the very first step already crosses.
  auto [a0, z0] = position(t0);
  double a1 = a0, z1 = z0;
  bool previousPositive = true;
  DateTime t = t0;
  for (int k = 1; k <= kCrossingMaxSteps; ++k) {
    t = t0 + g * k * kMinute;
    if (k > 1) {
      a0 = a1;
      z0 = z1;
    }
    std::tie(a1, z1) = position(t);
    const bool positive = target - a1 > 0;
    if (positive != previousPositive) break;
    previousPositive = positive;
  }
  return InterpolateInstant(t, g, a0, z0, a1, z1, target);
}

std::string LineMemo(const char* first, const std::string& heightText) {
  return std::string(first) + "想定標高を下記のように" + heightText +
         "mに指定して計算していますので高い山などでは" + "想定標高を変更してください。";
}

std::string ConversionError(const std::string& text) {
  return "'" + text + "' is not a valid floating point value";
}

using CrossingFn = BodyCrossing (*)(DateTime, double, const Observer&, bool);

// One line of 16 points for `date`; a failed probe keeps the point of `previous`.
EventLine ComputeLine(DateTime date, int sign, float h0, CrossingFn crossing, bool flag,
                      const EventLine& previous, DateTime* firstInstant, DateTime* lastInstant) {
  EventLine line = previous;
  line.date = date;
  for (int i = 0; i < kLinePoints; ++i) {
    const LineProbe probe = ProbeFor(i, sign, h0);
    const Observer observer{probe.latitude, probe.longitude, h0};
    const BodyCrossing c = crossing(date, probe.elevationAngle, observer, flag);
    if (!c.ok) continue;
    if (i == 0 && firstInstant) *firstInstant = c.instant;
    if (i == kLinePoints - 1 && lastInstant) *lastInstant = c.instant;
    const LinePoint p = DestinationFrom(SummitReference.latitude, SummitReference.longitude,
                                        probe.arcDeg, BackAzimuth(c.azimuthFromSummit));
    line.latitude[i] = static_cast<float>(p.latitude);
    line.longitude[i] = static_cast<float>(p.longitude);
  }
  return line;
}

}  // namespace

const char* const kDefaultLineMemo =
    "指定した日付にﾀﾞｲﾔﾓﾝﾄﾞZorvが見える概略の場所を表示しています。\r\n"
    "想定標高を５０ｍで計算していますので高い山などでは地図をクリックして標高、日付を確認してくだ"
    "さい。";

ExtremeRiseSetDates FindExtremeRiseSetDates(DateTime today, float elevation) {
  const Observer at = SummitObserver(elevation);
  const DateTime first = WholeDay(today);
  ExtremeRiseSetDates x;
  // Running limits and the dates that set them; a day without a converged moon solution takes no
  // part (its azimuth would be a stale value).
  auto pass = [&](auto azimuthOf, int maxStart, int minStart, DateTime& maxDate,
                  DateTime& minDate) {
    int maxAz = maxStart, minAz = minStart;
    maxDate = first;
    minDate = first;
    for (int i = 0; i < kExtremeDays; ++i) {
      const DateTime d = first + i;
      const std::optional<int> az = azimuthOf(d);
      if (!az) continue;
      if (*az > maxAz) {
        maxAz = *az;
        maxDate = d;
      }
      if (*az < minAz) {
        minAz = *az;
        minDate = d;
      }
    }
  };
  auto moon = [&](RiseOrSet which) {
    return [&at, which](DateTime d) -> std::optional<int> {
      const MoonRiseSet mr = SolveMoonRiseSet(d, at, which);
      if (!mr.found) return std::nullopt;
      return mr.azimuth;
    };
  };
  auto sun = [&](RiseOrSet which) {
    return [&at, which](DateTime d) -> std::optional<int> {
      return SolveSunRiseSet(d, at, which).azimuthRounded;
    };
  };
  pass(moon(RiseOrSet::kRise), 20, 160, x.moonriseMax, x.moonriseMin);
  pass(moon(RiseOrSet::kSet), 200, 340, x.moonsetMax, x.moonsetMin);
  pass(sun(RiseOrSet::kRise), 20, 160, x.sunriseMax, x.sunriseMin);
  pass(sun(RiseOrSet::kSet), 200, 340, x.sunsetMax, x.sunsetMin);
  return x;
}

BodyCrossing SunCrossing(DateTime day, double elevationAngle, const Observer& probe, bool evening) {
  const DateTime d = WholeDay(day);
  const SunRiseSet rs = SolveSunRiseSet(d, probe, evening ? RiseOrSet::kSet : RiseOrSet::kRise);
  const double g = evening ? -1.0 : 1.0;
  const DateTime t0 = d + rs.time - g * 10 * kMinute;
  auto position = [&probe](DateTime t) {
    const BodyPosition p = ComputeSunPosition(AstroTimeFromDateTime(t), probe);
    return std::pair<double, double>(p.apparentAltitude, p.azimuth);
  };
  BodyCrossing c;
  c.instant = FollowToCrossing(t0, g, elevationAngle, position);
  c.azimuthFromSummit =
      ComputeSunPosition(AstroTimeFromDateTime(c.instant), SummitObserver(3776)).azimuth;
  c.ok = true;
  return c;
}

BodyCrossing MoonCrossing(DateTime day, double elevationAngle, const Observer& probe,
                          bool setting) {
  const DateTime d = WholeDay(day);
  const MoonRiseSet mr = SolveMoonRiseSet(d, probe, setting ? RiseOrSet::kSet : RiseOrSet::kRise);
  BodyCrossing c;
  if (!mr.found) return c;
  const double g = setting ? -1.0 : 1.0;
  auto position = [&probe](DateTime t) {
    const BodyPosition p = ComputeMoonPosition(AstroTimeFromDateTime(t), probe);
    return std::pair<double, double>(p.apparentAltitude, p.azimuth);
  };
  c.instant = FollowToCrossing(mr.instant, g, elevationAngle + 0.25, position);
  c.azimuthFromSummit =
      ComputeMoonPosition(AstroTimeFromDateTime(c.instant), SummitObserver(3776)).azimuth;
  c.ok = true;
  return c;
}

LineProbe ProbeFor(int i, int sign, float assumedHeight) {
  LineProbe p;
  p.latitude = SummitReference.latitude;
  p.longitude = SummitReference.longitude + sign * (0.1 * i + 0.1);
  SightLine line;
  line.targetLatitude = SummitReference.latitude;
  line.targetLongitude = SummitReference.longitude;
  line.targetHeight = 3750;
  ComputeSightLine({p.latitude, p.longitude, assumedHeight}, line);
  p.elevationAngle = line.elevationAngle;
  p.arcDeg = line.centralAngleDeg;
  return p;
}

double BackAzimuth(double azimuth) {
  double b = azimuth - 180;
  if (b > 360) b -= 360;
  if (b < 0) b += 360;
  return b;
}

LineMapResult DiamondLineMap(DateTime date, bool evening, const std::string& heightText,
                             DateTime today, float viewpointElevation,
                             const LineMapResult& previous) {
  const std::optional<double> h = ParseNumber(heightText);
  if (!h) {
    LineMapResult r = previous;
    r.ok = false;
    r.error = ConversionError(heightText);
    return r;
  }
  const float h0 = static_cast<float>(*h);
  LineMapResult r;
  r.ok = true;
  r.extremes = FindExtremeRiseSetDates(today, viewpointElevation);
  const int s = evening ? 1 : -1;
  const DateTime a = evening ? r.extremes.sunsetMax : r.extremes.sunriseMax;
  const DateTime b = evening ? r.extremes.sunsetMin : r.extremes.sunriseMin;
  r.main =
      ComputeLine(WholeDay(date), s, h0, SunCrossing, evening, previous.main, nullptr, nullptr);
  r.companionA = ComputeLine(a, s, h0, SunCrossing, evening, previous.companionA, nullptr, nullptr);
  r.companionB = ComputeLine(b, s, h0, SunCrossing, evening, previous.companionB, nullptr, nullptr);
  r.memo = DiamondLineMemo(heightText);
  r.caption = DiamondMapCaption(date, evening);
  return r;
}

LineMapResult PearlLineMap(DateTime date, bool moonset, const std::string& heightText,
                           DateTime today, float /*viewpointElevation*/,
                           const LineMapResult& previous) {
  const std::optional<double> h = ParseNumber(heightText);
  if (!h) {
    LineMapResult r = previous;
    r.ok = false;
    r.error = ConversionError(heightText);
    return r;
  }
  const float h0 = static_cast<float>(*h);
  const int q = moonset ? 1 : -1;
  LineMapResult r;
  r.ok = true;
  r.caption = PearlMapCaption(date);
  DateTime first = 0, last = 0;
  r.main = ComputeLine(date, q, h0, MoonCrossing, moonset, previous.main, &first, &last);
  r.firstInstant = first;
  r.lastInstant = last;
  // The yearly scan runs after the main line, from the summit at the last probe's height.
  r.extremes = FindExtremeRiseSetDates(today, h0);
  const DateTime a = moonset ? r.extremes.moonsetMax : r.extremes.moonriseMax;
  const DateTime b = moonset ? r.extremes.moonsetMin : r.extremes.moonriseMin;
  r.companionA =
      ComputeLine(a, q, h0, MoonCrossing, moonset, previous.companionA, nullptr, nullptr);
  r.companionB =
      ComputeLine(b, q, h0, MoonCrossing, moonset, previous.companionB, nullptr, nullptr);
  const DateTime d = WholeDay(date);
  if (first != 0 && last != 0) {
    const DateTime d1 = WholeDay(first), d2 = WholeDay(last);
    if (d != d1 && d2 != d) {
      r.caption = PearlMapCaption(d2);
      r.message = "指定した日付(" + FormatDate(d) + "にはパールZorvがありません" + "\r\n" +
                  "表示されている線は" + FormatDate(d2) + "のデータです。";
    }
  }
  r.memo = PearlLineMemo(heightText);
  return r;
}

std::string DiamondLineMemo(const std::string& heightText) {
  return LineMemo("指定した日付にﾀﾞｲﾔﾓﾝﾄﾞZorvが見える概略の場所を表示しています。\r\n", heightText);
}

std::string PearlLineMemo(const std::string& heightText) {
  return LineMemo("指定した日付にパールZorvが見える概略の場所を表示しています。\r\n", heightText);
}

std::string DiamondMapCaption(DateTime date, bool evening) {
  return FormatDate(date) + (evening ? "　（夕日）" : "　（朝日）");
}

std::string PearlMapCaption(DateTime date) {
  const float age = MoonAge(WholeDay(date) + 0.5, SummitObserver(50)).age;
  return FormatDate(date) + "  (月齢＝" + FormatDecimals(1, age) + ")";
}

}  // namespace velkaro
