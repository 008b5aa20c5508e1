#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>

#include "astro/astro.h"
#include "astro/series.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/text.h"

namespace velkaro {
namespace {

const Observer kTokyo{35.6544, 139.7447, 15.0f};
const Observer kEclipsePlace{35.319603, 139.418628, 15.0f};

AstroTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return {y, mo, d, h, mi, s};
}

// K recovered from T at 00:00 (F = 0): T·365.25 − ΔT/86400.
double DayCount(const AstroTime& t) {
  const double deltaT = (t.year - 2000) * 0.722 + 65;
  return AstroTimeScale(t).T * 365.25 - deltaT / 86400;
}

double AngleGap(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

TEST(AstroTimeScale, DayCountAndDeltaTFollowTheCalendar) {
  EXPECT_NEAR(DayCount(At(2000, 1, 1)), -0.875, 1e-9);
  EXPECT_NEAR(DayCount(At(2000, 3, 1)), 59.125, 1e-9);
  EXPECT_NEAR(DayCount(At(2001, 1, 1)), 365.125, 1e-9);
  // February counts as month 14 of 2000 for K, while ΔT takes the calendar year 2001.
  const TimeScale ts = AstroTimeScale(At(2001, 2, 10, 6, 30, 15));
  const double k = 420 + 10 - 33.875 + 9;
  const double f = 6 / 24.0 + 30 / 1440.0 + 15 / 86400.0;
  EXPECT_DOUBLE_EQ(ts.F, f);
  EXPECT_NEAR(ts.T, (k + f + 65.722 / 86400) / 365.25, 1e-15);
}

TEST(AstroTimeScale, DateTimeDropsTheFractionOfASecond) {
  const AstroTime a = AstroTimeFromDateTime(EncodeDateTime(2012, 5, 21, 10, 10, 10) + 0.9 / 86400);
  EXPECT_EQ(a.hour, 10);
  EXPECT_EQ(a.minute, 10);
  EXPECT_EQ(a.second, 10);
  const AstroTime b = AstroTimeFromDateTime(EncodeDateTime(2015, 1, 1, 10, 10, 10) + 25 / 48.0);
  EXPECT_EQ(b.day, 1);
  EXPECT_EQ(b.hour, 22);
  EXPECT_EQ(b.minute, 40);
  EXPECT_EQ(b.second, 10);
}

TEST(AstroTables, CoefficientsAreThoseOfTheSeries) {
  EXPECT_EQ(kSunLongitudeTerms.size(), 18u);
  EXPECT_EQ(kMoonAmTerms.size(), 4u);
  EXPECT_EQ(kMoonBmTerms.size(), 5u);
  EXPECT_EQ(kMoonParallaxTerms.size(), 8u);
  EXPECT_EQ(kMoonLongitudeTerms.size(), 63u);
  EXPECT_EQ(kMoonLatitudeTerms.size(), 47u);
  auto same = [](const SeriesTerm& t, double amp, double phase, double rate) {
    return t.amp == amp && t.phase == phase && t.rate == rate;
  };
  // The sun's third amplitude is 0.02 like the first, not 0.002.
  EXPECT_TRUE(same(kSunLongitudeTerms[2], 0.02, 247.1, 329.64));
  EXPECT_TRUE(same(kSunLongitudeTerms[17], 0.0003, 329.7, 44.43));
  EXPECT_TRUE(same(kMoonAmTerms[3], 0.0006, 54, 19.3));
  EXPECT_TRUE(same(kMoonBmTerms[0], 0.0267, 234.95, 19.341));
  EXPECT_TRUE(same(kMoonParallaxTerms[3], 0.0028, 0, 9543.98));
  EXPECT_TRUE(same(kMoonLongitudeTerms[0], 6.2887, 134.961, 4771.9886));
  EXPECT_TRUE(same(kMoonLongitudeTerms[36], 0.0021, 105.6, 3413.37));
  EXPECT_TRUE(same(kMoonLongitudeTerms[62], 0.0003, 280, 23221.3));
  EXPECT_TRUE(same(kMoonLatitudeTerms[1], 0.2806, 228.235, 9604.0088));
  EXPECT_TRUE(same(kMoonLatitudeTerms[46], 0.0003, 234, 19268));
}

TEST(Refraction, ConstantAtAndBelowTheTrueHorizon) {
  EXPECT_EQ(Refraction(0), 0.58555555);
  EXPECT_EQ(Refraction(-0.5), 0.58555555);
  EXPECT_EQ(Refraction(-30), 0.58555555);
  // Just above the horizon the formula gives about 0.49°: the apparent altitude dips as a body
  // rises through the horizon, which every search is defined with.
  EXPECT_NEAR(Refraction(1e-4), 0.489, 0.002);
  EXPECT_NEAR(Refraction(45), 0.0166, 0.0002);

  // A sun at night.
  const BodyPosition night = ComputeSunPosition(At(2012, 12, 23, 0, 0, 0), kTokyo);
  ASSERT_LT(night.trueAltitude, 0);
  EXPECT_EQ(night.refraction, 0.58555555f);
  EXPECT_EQ(night.apparentAltitude, night.trueAltitude + 0.58555555f);
}

TEST(EquatorialToHorizontal, QuadrantsAndDegenerateDenominator) {
  // On the equator with δ = 0 the denominator vanishes: east before transit, west after.
  EXPECT_EQ(EquatorialToHorizontal(0, 0, -90, 0).azimuth, 90);
  EXPECT_EQ(EquatorialToHorizontal(0, 0, 90, 0).azimuth, 270);
  // A star south of the zenith at transit is due south; north of it, due north.
  EXPECT_NEAR(EquatorialToHorizontal(10, 0, 10, 35).azimuth, 180, 1e-9);
  EXPECT_NEAR(EquatorialToHorizontal(10, 0, 10, 35).altitude, 55, 1e-9);
  // Just after an upper transit north of the zenith the azimuth is a hair below 360, which
  // must come out as north, not as 360.
  const HorizontalCoords north = EquatorialToHorizontal(0, 60, 1e-13, 35);
  EXPECT_GE(north.azimuth, 0);
  EXPECT_LT(north.azimuth, 360);
  // The hour angle is reduced into −180..180.
  EXPECT_NEAR(EquatorialToHorizontal(-80, 0, 350, 35).hourAngle, 70, 1e-9);
  EXPECT_NEAR(EquatorialToHorizontal(200, 0, 10, 35).hourAngle, 170, 1e-9);
}

TEST(BodyPositions, AzimuthAndLongitudeStayInTheirRange) {
  for (const Observer& o : {kTokyo, Observer{0, 0, 0}, Observer{-35, -60, 0}, Observer{70, 20, 0}})
    for (int i = 0; i < 3000; ++i) {
      const AstroTime t = AstroTimeFromDateTime(EncodeDate(2020, 1, 1) + i * 0.1237);
      for (const BodyPosition& p : {ComputeSunPosition(t, o), ComputeMoonPosition(t, o)}) {
        ASSERT_GE(p.azimuth, 0.0f);
        ASSERT_LT(p.azimuth, 360.0f);
        ASSERT_GE(p.eclipticLongitude, 0.0f);
        ASSERT_LT(p.eclipticLongitude, 360.0f);
        ASSERT_GE(p.siderealTime, 0);
        ASSERT_LE(p.siderealTime, 360);
        ASSERT_FLOAT_EQ(p.apparentAltitude, p.trueAltitude + p.refraction);
      }
    }
}

// The 2012 annular eclipse seen near Kamakura: the two discs stand within 0.01° of each other.
TEST(BodyPositions, SunAndMoonCoincideInTheAnnularEclipse) {
  const AstroTime t = At(2012, 5, 21, 7, 35, 40);
  const BodyPosition sun = ComputeSunPosition(t, kEclipsePlace);
  const BodyPosition moon = ComputeMoonPosition(t, kEclipsePlace);
  EXPECT_GT(sun.apparentAltitude, 30);
  EXPECT_GT(sun.azimuth, 80);
  EXPECT_LT(sun.azimuth, 100);
  EXPECT_LT(std::fabs(sun.azimuth - moon.azimuth), 0.01);
  EXPECT_LT(std::fabs(sun.apparentAltitude - moon.apparentAltitude), 0.01);
  EXPECT_NEAR(moon.horizontalParallax, 0.9, 0.02);
  EXPECT_NEAR(moon.distance, 6378.14 / std::sin(moon.horizontalParallax * kDegToRad), 1e-6 * 4e5);
  EXPECT_NEAR(sun.distance, 1.012, 0.001);
  // The annulus: the moon's disc is smaller than the sun's.
  EXPECT_LT(moon.semiDiameter, sun.semiDiameter);
}

TEST(BodyPositions, MoonRightAscensionIsNotReducedIntoAFullTurn) {
  const BodyPosition moon = ComputeMoonPosition(At(1999, 11, 14, 9, 0, 0), kTokyo);
  EXPECT_LT(moon.rightAscension, 0);
  EXPECT_GT(moon.rightAscension, -90);
  EXPECT_LT(moon.apparentAltitude, -10);
  EXPECT_EQ(moon.refraction, 0.58555555f);
}

// An independent low-precision solar theory (mean elements with the equation of the centre,
// nutation and aberration) agrees with the sun's series to about 0.01°; the series' planetary term
// of amplitude 0.02 at rate 329.64 adds up to another 0.02°.
TEST(BodyPositions, SunLongitudeAgreesWithAnIndependentTheory) {
  for (int i = 0; i < 60; ++i) {
    const DateTime jst = EncodeDateTime(1990, 1, 1, 3, 0, 0) + i * 367.3;
    const AstroTime at = AstroTimeFromDateTime(jst);
    const double deltaT = (at.year - 2000) * 0.722 + 65;
    // Julian centuries of terrestrial time from J2000.0 (2000-01-01 12:00 TT).
    const double jdUt = jst + 2415018.5 - 9 / 24.0;
    const double c = (jdUt + deltaT / 86400 - 2451545.0) / 36525;
    const double l0 = 280.46646 + 36000.76983 * c + 0.0003032 * c * c;
    const double m = (357.52911 + 35999.05029 * c - 0.0001537 * c * c) * kDegToRad;
    const double centre = (1.914602 - 0.004817 * c - 0.000014 * c * c) * std::sin(m) +
                          (0.019993 - 0.000101 * c) * std::sin(2 * m) + 0.000289 * std::sin(3 * m);
    const double omega = (125.04 - 1934.136 * c) * kDegToRad;
    const double apparent = l0 + centre - 0.00569 - 0.00478 * std::sin(omega);
    const BodyPosition sun = ComputeSunPosition(at, kTokyo);
    EXPECT_LT(AngleGap(sun.eclipticLongitude, apparent), 0.03) << FormatDateTime(jst);
  }
}

// Tokyo almanac times (upper limb, standard refraction) to within two minutes.
TEST(SunRiseSet, MatchesAlmanacTimesInTokyo) {
  const Observer tokyo{35.6581, 139.7414, 0.0f};
  struct Case {
    int y, m, d;
    int riseMin, setMin;  // minutes after midnight
  };
  const Case cases[] = {{2020, 6, 21, 4 * 60 + 25, 19 * 60 + 0},
                        {2020, 12, 21, 6 * 60 + 47, 16 * 60 + 32},
                        {2021, 3, 20, 5 * 60 + 45, 17 * 60 + 53}};
  for (const Case& c : cases) {
    const DateTime date = EncodeDate(c.y, c.m, c.d);
    const SunRiseSet rise = SolveSunRiseSet(date, tokyo, RiseOrSet::kRise);
    const SunRiseSet set = SolveSunRiseSet(date, tokyo, RiseOrSet::kSet);
    EXPECT_NEAR(rise.time * 1440, c.riseMin, 2) << FormatDate(date);
    EXPECT_NEAR(set.time * 1440, c.setMin, 2) << FormatDate(date);
    EXPECT_LT(rise.steps, 10);
    // The azimuths mirror each other about the meridian within a degree.
    EXPECT_NEAR(rise.azimuth + set.azimuth, 360, 1.0);
  }
}

TEST(SunRiseSet, HighViewpointSeesTheSunEarlierByTheDip) {
  const DateTime date = EncodeDate(2012, 12, 23);
  const SunRiseSet low = SolveSunRiseSet(date, {35.36, 138.73, 0.0f}, RiseOrSet::kRise);
  const SunRiseSet high = SolveSunRiseSet(date, {35.36, 138.73, 3000.0f}, RiseOrSet::kRise);
  // At its sunrise the sun stands 0.0353333·√3000 ≈ 1.94° lower for the high viewpoint.
  EXPECT_NEAR(low.last.trueAltitude - high.last.trueAltitude, 0.0353333 * std::sqrt(3000.0), 0.03);
  EXPECT_GT((low.time - high.time) * 1440, 8);
  EXPECT_LT((low.time - high.time) * 1440, 14);
  // A place below sea level has no dip and still gets a sunrise.
  const SunRiseSet below = SolveSunRiseSet(date, {35.36, 138.73, -5.0f}, RiseOrSet::kRise);
  EXPECT_DOUBLE_EQ(below.time, low.time);
}

TEST(SunRiseSet, PolarDayEndsWithinTheStepLimit) {
  const SunRiseSet r = SolveSunRiseSet(EncodeDate(2020, 6, 21), {85, 0, 0.0f}, RiseOrSet::kRise);
  EXPECT_LE(r.steps, kSunRiseSetStepLimit);
  EXPECT_TRUE(std::isfinite(r.time));
}

TEST(MoonRiseSet, DayWithoutMoonriseShowsDashes) {
  const DateTime shown = EncodeDate(2024, 1, 4);
  const MoonRiseSet rise = SolveMoonRiseSet(shown, kTokyo, RiseOrSet::kRise);
  ASSERT_TRUE(rise.found);
  // The rise belongs to the small hours of the next day; the time is kept outside 0..1.
  EXPECT_GT(rise.time, 1);
  EXPECT_EQ(std::floor(rise.instant), shown + 1);
  EXPECT_EQ(MoonriseLabel(rise, shown), "月の出： ------");
  // The neighbours show theirs, just before and just after midnight.
  const MoonRiseSet before = SolveMoonRiseSet(shown - 1, kTokyo, RiseOrSet::kRise);
  const MoonRiseSet after = SolveMoonRiseSet(shown + 1, kTokyo, RiseOrSet::kRise);
  EXPECT_EQ(MoonriseLabel(before, shown - 1), "月の出： 23:22:46 (92度)");
  EXPECT_EQ(MoonriseLabel(after, shown + 1), "月の出： 0:19:58 (99度)");
  EXPECT_NEAR(after.instant - rise.instant, 0, 1e-3);
  // A moonset of the previous day has a negative time.
  const MoonRiseSet set = SolveMoonRiseSet(EncodeDate(2024, 1, 18), kTokyo, RiseOrSet::kSet);
  EXPECT_LT(set.time, 0);
  EXPECT_EQ(MoonsetLabel(set, EncodeDate(2024, 1, 18)), "月の入： ------");
}

// The panel of a last-quarter day (new moon 2023-12-13 08:32 JST): no moonrise that day.
TEST(MoonPanel, TextsOfOneDay) {
  const MoonPanel p = ComputeMoonPanel(EncodeDate(2024, 1, 4) + 0.7, kTokyo);
  EXPECT_EQ(p.date, EncodeDate(2024, 1, 4));
  EXPECT_EQ(p.title, "2024/01/04　月の出没");
  EXPECT_EQ(p.moonriseText, "月の出： ------");
  EXPECT_EQ(p.moonsetText, "月の入： 11:21:53 (264度)");
  EXPECT_EQ(p.ageText, "正午の月齢： 22.1   (小潮)");
  EXPECT_EQ(p.sunriseText.rfind("日の出： 6:5", 0), 0u) << p.sunriseText;
  EXPECT_EQ(p.sunsetText.rfind("日の入： 16:4", 0), 0u) << p.sunsetText;
  EXPECT_EQ(p.phaseTile.left, (22 % 8) * 91 + 5);
  EXPECT_EQ(p.phaseTile.top, 2 * 58);
}

TEST(MoonRiseSet, RiseAndSetAreWhereTheCentreMeetsTheHorizon) {
  const DateTime date = EncodeDate(1999, 11, 14);
  for (RiseOrSet which : {RiseOrSet::kRise, RiseOrSet::kSet}) {
    const MoonRiseSet r = SolveMoonRiseSet(date, kTokyo, which);
    ASSERT_TRUE(r.found);
    const BodyPosition m = ComputeMoonPosition(AstroTimeFromDateTime(r.instant), kTokyo);
    // The geocentric altitude (true altitude with the parallax added back) is P − 0.585556.
    const double geocentric =
        m.trueAltitude + m.horizontalParallax * std::cos(m.trueAltitude * kDegToRad);
    EXPECT_NEAR(geocentric, m.horizontalParallax - 0.585556, 0.02);
    EXPECT_EQ(r.azimuth, NearestInt(r.last.azimuth));
  }
}

// Near the pole the moonset iteration can wander without converging; the call then keeps what
// the earlier call left, and the label judges that earlier instant.
TEST(MoonRiseSet, UnconvergedCallKeepsThePreviousResult) {
  const Observer polar{88.6, 20, 0.0f};
  const DateTime date = EncodeDate(2026, 2, 5);
  MoonRiseSet previous;
  previous.found = true;
  previous.time = 0.4;
  previous.instant = date - 1 + 0.4;
  previous.azimuth = 123;
  const MoonRiseSet r = SolveMoonRiseSet(date, polar, RiseOrSet::kSet, previous);
  ASSERT_FALSE(r.found);
  EXPECT_EQ(r.steps, 100);
  EXPECT_EQ(r.time, previous.time);
  EXPECT_EQ(r.instant, previous.instant);
  EXPECT_EQ(r.azimuth, previous.azimuth);
  EXPECT_EQ(MoonsetLabel(r, date), "月の入： ------");
  EXPECT_EQ(MoonsetLabel(r, date - 1), "月の入： 9:36:00 (123度)");
  // The last evaluation is still reported, as the moon record the call leaves behind.
  EXPECT_EQ(r.lastTime.day, 5);
}

TEST(MoonAge, NewAndFullMoonAges) {
  // New moon of 2012-05-21 08:47 JST: a day later the age is one day.
  const MoonAgeResult dayAfter = MoonAge(EncodeDateTime(2012, 5, 22, 8, 47, 0), kTokyo);
  EXPECT_NEAR(dayAfter.age, 1.0, 0.05);
  EXPECT_STREQ(dayAfter.tideName, "大潮");
  // Full moon of 2020-01-11 04:21 JST, after the new moon of 2019-12-26 14:13 JST.
  const MoonAgeResult full = MoonAge(EncodeDateTime(2020, 1, 11, 4, 21, 0), kTokyo);
  EXPECT_NEAR(full.elongation, 180, 0.5);
  EXPECT_NEAR(full.age, 15.589, 0.05);
  EXPECT_STREQ(full.tideName, "大潮");
  EXPECT_LT(full.steps, 10);
  // Half a month later the elongation names a quarter's tide.
  const MoonAgeResult quarter = MoonAge(EncodeDateTime(2020, 1, 3, 12, 0, 0), kTokyo);
  EXPECT_GT(quarter.elongation, 72);
  EXPECT_LT(quarter.elongation, 108);
  EXPECT_STREQ(quarter.tideName, "小潮");
}

TEST(MoonAge, TideBoundaries) {
  EXPECT_STREQ(TideName(0), "大潮");
  EXPECT_STREQ(TideName(35.999), "大潮");
  EXPECT_STREQ(TideName(36), "中潮");
  EXPECT_STREQ(TideName(108), "長潮");
  EXPECT_STREQ(TideName(119.999), "長潮");
  EXPECT_STREQ(TideName(120), "若潮");
  EXPECT_STREQ(TideName(132), "中潮");
  EXPECT_STREQ(TideName(180), "大潮");
  EXPECT_STREQ(TideName(300), "若潮");
  EXPECT_STREQ(TideName(347.999), "中潮");
  EXPECT_STREQ(TideName(348), "大潮");
  EXPECT_STREQ(TideName(359.999), "大潮");
}

TEST(DisplayTexts, LabelsAndTitles) {
  EXPECT_EQ(SunriseLabel(6 / 24.0 + 12 / 1440.0 + 9 / 86400.0, 118), "日の出： 6:12:09 (118度)");
  EXPECT_EQ(SunsetLabel(0.75, 242), "日の入： 18:00:00 (242度)");
  const DateTime d = EncodeDate(2012, 5, 21);
  EXPECT_EQ(SunDayTitle(d), "2012/05/21の日出没");
  EXPECT_EQ(DiamondSunDayTitle(d), "2012/05/21 (月)の日出没");
  EXPECT_EQ(MoonPanelTitle(d), "2012/05/21　月の出没");
  EXPECT_EQ(MoonAgeLine(2.45f, "中潮"), "正午の月齢： 2.5   (中潮)");
  EXPECT_EQ(MoonAgeLine(14.0f, "大潮"), "正午の月齢： 14.0   (大潮)");
  // A failed iteration keeps the earlier result; its day decides whether it is shown.
  MoonRiseSet earlier;
  earlier.time = 0.5;
  earlier.instant = d - 1 + 0.5;
  earlier.azimuth = 100;
  EXPECT_EQ(MoonriseLabel(earlier, d), "月の出： ------");
  EXPECT_EQ(MoonriseLabel(earlier, d - 1), "月の出： 12:00:00 (100度)");
}

TEST(DisplayTexts, MoonPhaseTiles) {
  const MoonPhaseTile newMoon = MoonPhaseTileFor(0.3f);
  EXPECT_EQ(newMoon.left, 5);
  EXPECT_EQ(newMoon.top, 0);
  EXPECT_TRUE(newMoon.dottedCircle);
  const MoonPhaseTile full = MoonPhaseTileFor(14.6f);  // picture 15
  EXPECT_EQ(full.left, 7 * 91 + 5);
  EXPECT_EQ(full.top, 58);
  EXPECT_FALSE(full.dottedCircle);
  // Halves go to the even picture: 1.5 shows picture 2, 27.5 picture 28.
  EXPECT_FALSE(MoonPhaseTileFor(1.5f).dottedCircle);
  EXPECT_TRUE(MoonPhaseTileFor(27.5f).dottedCircle);
  const MoonPhaseTile late = MoonPhaseTileFor(26.5f);  // picture 26
  EXPECT_EQ(late.left, 2 * 91 + 5);
  EXPECT_EQ(late.top, 3 * 58);
  EXPECT_FALSE(late.dottedCircle);
}

TEST(ScreenBearing, DirectionsClockwiseFromUp) {
  EXPECT_EQ(ScreenBearing(0, 0), 0);
  EXPECT_EQ(ScreenBearing(5, 0), 90);
  EXPECT_EQ(ScreenBearing(-5, 0), 270);
  EXPECT_EQ(ScreenBearing(0, -5), 0);
  EXPECT_EQ(ScreenBearing(0, 5), 180);
  EXPECT_NEAR(ScreenBearing(3, -3), 45, 1e-12);
  EXPECT_NEAR(ScreenBearing(-3, 3), 225, 1e-12);
  const double almostUp = ScreenBearing(-1e-300, -1);
  EXPECT_GE(almostUp, 0);
  EXPECT_LT(almostUp, 360);
}

TEST(EclipseScan, FindsThe2012AnnularEclipseOnceThatDay) {
  EclipseScanSettings s;
  s.start = EncodeDateTime(2012, 5, 19, 10, 10, 10);
  s.end = EncodeDateTime(2012, 5, 24, 10, 10, 10);
  int sinkCalls = 0;
  const EclipseScanResult r = ScanForEclipses(s, {}, [&](const EclipseHit&) { ++sinkCalls; });
  ASSERT_EQ(r.hits.size(), 1u);
  EXPECT_EQ(sinkCalls, 1);
  EXPECT_FALSE(r.cancelled);
  EXPECT_EQ(r.steps, 5 * 48);
  const EclipseHit& hit = r.hits[0];
  EXPECT_EQ(std::floor(hit.instant), EncodeDate(2012, 5, 21));
  EXPECT_LT(hit.separation, 0.45);
  EXPECT_TRUE(std::regex_match(hit.line, std::regex(R"(2012/05/21 0[6-9]:[0-5]0:10   / 0\.\d+)")))
      << hit.line;
  EXPECT_EQ(hit.line.substr(24), FormatGeneral(hit.separation));
}

TEST(EclipseScan, ProgressCanStopTheScan) {
  EclipseScanSettings s;
  int calls = 0;
  const EclipseScanResult r = ScanForEclipses(s, [&](int year, double fraction) {
    EXPECT_EQ(year, 2015);
    EXPECT_GE(fraction, 0);
    return ++calls < 3;
  });
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(calls, 3);
  EXPECT_LT(r.steps, 1500);
  EXPECT_TRUE(r.hits.empty());
}

}  // namespace
}  // namespace velkaro
