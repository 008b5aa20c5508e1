#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "astro/astro.h"
#include "core/constants.h"
#include "core/datetime.h"
#include "core/numeric.h"
#include "core/sight_line.h"
#include "core/text.h"
#include "events/alignment.h"
#include "events/diamond.h"
#include "events/line_map.h"
#include "events/moon_calendar.h"
#include "events/moon_phase.h"
#include "events/pearl.h"
#include "events/registered_events.h"
#include "events/sky_chart.h"

namespace velkaro {
namespace {

constexpr double kMinute = 1.0 / 1440.0;

// Yokohama Landmark Tower: the summit lies west (setting sun).
const Observer kYokohama{35.45472, 139.63062, 273};
// A place west of the summit on its latitude: the summit lies east (rising sun).
const Observer kWestOfSummit{35.3635, 138.20, 400};

DateTime Today() {
  return EncodeDate(2026, 12, 9);
}

CrossingDay Day(DateTime date, double offset, int steps = 20) {
  CrossingDay d;
  d.counts = true;
  d.date = date;
  d.timeOfDay = 0.7;
  d.offset = offset;
  d.steps = steps;
  return d;
}

EventSelectionRules DiamondRules(DateTime start) {
  EventSelectionRules r;
  r.tolerance = 1.0;
  r.dateLimit = start;
  return r;
}

// --- The three-day minimum rule --------------------------------------------------------------

TEST(SelectAlignmentEvents, StrictComparisonsAndTolerance) {
  const DateTime d = EncodeDate(2027, 3, 1);
  // Equal offsets in a row are never a minimum.
  auto equal = SelectAlignmentEvents({Day(d, 0.3), Day(d + 1, 0.3), Day(d + 2, 0.3)},
                                     DiamondRules(d - 10), EventBody::kSun);
  EXPECT_TRUE(equal.events.empty());
  // A plain minimum, signed offsets count by their absolute value.
  auto one = SelectAlignmentEvents({Day(d, 0.6), Day(d + 1, -0.2), Day(d + 2, 0.4)},
                                   DiamondRules(d - 10), EventBody::kSun);
  ASSERT_EQ(one.events.size(), 1u);
  EXPECT_EQ(one.events[0].date, d + 1);
  EXPECT_FLOAT_EQ(one.events[0].azimuthOffset, -0.2f);
  // A minimum at or above the tolerance is no event.
  auto wide = SelectAlignmentEvents({Day(d, 1.6), Day(d + 1, 1.0), Day(d + 2, 1.4)},
                                    DiamondRules(d - 10), EventBody::kSun);
  EXPECT_TRUE(wide.events.empty());
  EXPECT_DOUBLE_EQ(wide.closest.offset, 1.0);
}

TEST(SelectAlignmentEvents, DateLimitAtTodayMinusFive) {
  const DateTime today = Today();
  const DateTime start = today - 5;
  auto at = [&](DateTime minDay) {
    return SelectAlignmentEvents({Day(minDay - 1, 0.5), Day(minDay, 0.1), Day(minDay + 1, 0.5)},
                                 DiamondRules(start), EventBody::kSun)
        .events.size();
  };
  EXPECT_EQ(at(today - 6), 0u);
  EXPECT_EQ(at(today - 5), 1u);
  // The pearl search has no lower date limit.
  EventSelectionRules pearl = DiamondRules(start);
  pearl.useDateLimit = false;
  EXPECT_EQ(SelectAlignmentEvents({Day(today - 9, 0.5), Day(today - 8, 0.1), Day(today - 7, 0.5)},
                                  pearl, EventBody::kMoon)
                .events.size(),
            1u);
}

TEST(SelectAlignmentEvents, SkippedDayLeavesHistoryAlone) {
  const DateTime d = EncodeDate(2027, 3, 1);
  CrossingDay skipped;  // counts = false; its offset would break the minimum if it were used
  skipped.offset = 0.0;
  auto sel = SelectAlignmentEvents({Day(d, 0.5), Day(d + 1, 0.2), skipped, Day(d + 3, 0.4)},
                                   DiamondRules(d - 10), EventBody::kSun);
  ASSERT_EQ(sel.events.size(), 1u);
  EXPECT_EQ(sel.events[0].date, d + 1);
  EXPECT_DOUBLE_EQ(sel.closest.offset, 0.2);
}

TEST(SelectAlignmentEvents, ClosestApproachTieKeepsEarlierDay) {
  const DateTime d = EncodeDate(2027, 3, 1);
  auto sel =
      SelectAlignmentEvents({Day(d, 3.0), Day(d + 1, 2.0), Day(d + 2, -2.0), Day(d + 3, 4.0)},
                            DiamondRules(d - 10), EventBody::kSun);
  EXPECT_EQ(sel.closest.date, d + 1);
  EXPECT_DOUBLE_EQ(sel.closest.instant, d + 1 + 0.7);
}

TEST(SelectAlignmentEvents, CapsAndNewestStepRule) {
  const DateTime d = EncodeDate(2027, 1, 1);
  std::vector<CrossingDay> zigzag;
  for (int i = 0; i < 30; ++i) zigzag.push_back(Day(d + i, i % 2 ? 0.1 : 0.5));
  EXPECT_EQ(SelectAlignmentEvents(zigzag, DiamondRules(d), EventBody::kSun).events.size(), 5u);
  // Pearl: the newest day of the triple must have stopped within 90 steps.
  EventSelectionRules pearl = DiamondRules(d);
  pearl.useDateLimit = false;
  pearl.maxNewestSteps = 90;
  pearl.maxEvents = 100;
  auto blocked = SelectAlignmentEvents({Day(d, 0.5), Day(d + 1, 0.1), Day(d + 2, 0.5, 90)}, pearl,
                                       EventBody::kMoon);
  EXPECT_TRUE(blocked.events.empty());
  auto passes = SelectAlignmentEvents({Day(d, 0.5), Day(d + 1, 0.1), Day(d + 2, 0.5, 89)}, pearl,
                                      EventBody::kMoon);
  EXPECT_EQ(passes.events.size(), 1u);
}

TEST(InterpolateCrossingAzimuth, LineThroughTwoSamplesAndDegenerateCases) {
  // Altitude rises 1 degree while azimuth moves 0.5: altitude 2.4 is reached 40% of the way.
  EXPECT_NEAR(InterpolateCrossingAzimuth(100.0, 2.0, 100.5, 3.0, 2.4), 100.2, 1e-12);
  EXPECT_EQ(InterpolateCrossingAzimuth(100.0, 2.0, 100.0, 3.0, 2.4), 100.0);
  EXPECT_EQ(InterpolateCrossingAzimuth(100.0, 2.0, 100.5, 2.0, 2.4), 100.5);
}

// --- Texts -----------------------------------------------------------------------------------

TEST(EventTexts, DiamondLine) {
  EXPECT_EQ(DiamondListLine(EncodeDate(2024, 4, 20)), "2024/04/20   《土》");
}

TEST(EventTexts, SelectedLinesReadBack) {
  DateTime date = 0, instant = 0;
  ASSERT_TRUE(ParseDiamondListLine(DiamondListLine(EncodeDate(2027, 3, 9)), date));
  EXPECT_EQ(date, EncodeDate(2027, 3, 9));
  const DateTime t = EncodeDateTime(2024, 5, 23, 19, 12, 34);
  ASSERT_TRUE(ParsePearlListLine(PearlListLine(t, 14.6f, 0.3f), date, instant));
  EXPECT_EQ(date, EncodeDate(2024, 5, 23));
  EXPECT_NEAR(instant, t, 1e-9);
  // The closest-approach line carries the time without a leading zero.
  ASSERT_TRUE(ParsePearlListLine("2027/01/02 7:05:09   (月齢： 23 )  ", date, instant));
  EXPECT_NEAR(instant, EncodeDateTime(2027, 1, 2, 7, 5, 9), 1e-9);
  EXPECT_FALSE(ParsePearlListLine("2027/01/02", date, instant));
  EXPECT_FALSE(ParseDiamondListLine("", date));
}

TEST(EventTexts, PhaseSymbolBoundaries) {
  EXPECT_STREQ(PhaseSymbol(14.5), "◎");
  EXPECT_STREQ(PhaseSymbol(12.6), "◎");
  EXPECT_STREQ(PhaseSymbol(16.5), "○");  // H = 2
  EXPECT_STREQ(PhaseSymbol(8.5), "□");   // H = 6
  EXPECT_STREQ(PhaseSymbol(4.5), "△");   // H = 10
  EXPECT_STREQ(PhaseSymbol(1.5), "●");   // H = 13
  EXPECT_STREQ(PhaseSymbol(27.4), "△");  // H = 12.9
  EXPECT_STREQ(PhaseSymbol(27.6), "●");
}

TEST(EventTexts, SignedOffsetIsCutNotRounded) {
  EXPECT_EQ(SignedOffsetText(0.25f), "+0.2");
  EXPECT_EQ(SignedOffsetText(-0.25f), "-0.2");
  EXPECT_EQ(SignedOffsetText(0.29f), "+0.2");
  EXPECT_EQ(SignedOffsetText(-1.96f), "-1.9");
  EXPECT_EQ(SignedOffsetText(0.0f), "0");
  EXPECT_EQ(SignedOffsetText(3e-7f), "+0.0");
}

TEST(EventTexts, PearlLineShape) {
  const DateTime t = EncodeDateTime(2024, 5, 23, 19, 12, 34);
  EXPECT_EQ(PearlListLine(t, 14.6f, 0.3f), "2024/05/23 19:12:34 木  ◎(月齢：14.6)  +0.3 °");
  // The age is right-aligned in four characters.
  EXPECT_EQ(PearlListLine(t, 3.2f, -0.25f), "2024/05/23 19:12:34 木  △(月齢： 3.2)  -0.2 °");
}

// --- Real searches ---------------------------------------------------------------------------

TEST(DiamondSearch, EventMinuteIsTheCrossingMinuteAndOffsetsStayInsideTolerance) {
  const DiamondSearchResult r = SearchDiamondEvents(kYokohama, Today());
  ASSERT_TRUE(r.setting);
  ASSERT_GE(r.events.size(), 2u);
  ASSERT_LE(r.events.size(), 5u);
  const SummitSight& s = r.sight;
  for (const AlignmentEvent& e : r.events) {
    EXPECT_GE(e.date, Today() - 5);
    EXPECT_LE(e.date, Today() + 368);
    EXPECT_LT(std::fabs(e.azimuthOffset), s.toleranceDeg);
    // Setting sun: at the event minute the sun is still at or above the summit's elevation, one
    // minute later it is below.
    const BodyPosition at = ComputeSunPosition(AstroTimeFromDateTime(e.instant()), kYokohama);
    const BodyPosition after =
        ComputeSunPosition(AstroTimeFromDateTime(e.instant() + kMinute), kYokohama);
    EXPECT_GE(at.apparentAltitude, s.e3700);
    EXPECT_LT(after.apparentAltitude, s.e3700);
    // And the sun stands at the summit's azimuth within the day's own motion (~0.5 deg).
    EXPECT_NEAR(at.azimuth, s.summitAzimuth, 0.6);
  }
  EXPECT_EQ(r.displayDate, r.events.front().date);
  EXPECT_EQ(r.listLines.size(), r.events.size());
  const DiamondDisplay d = DecideDiamondDisplay(r);
  EXPECT_EQ(d.outcome, DisplayOutcome::kEvents);
  EXPECT_EQ(d.field7, FormatDate(r.events[0].date) + " 00:00:00");
  EXPECT_EQ(d.field8, FormatDate(r.events[1].date) + " 00:00:00");
}

TEST(DiamondSearch, SummitDueEastGivesSunriseEventsNearTheEquinoxes) {
  const DiamondSearchResult r = SearchDiamondEvents(kWestOfSummit, Today());
  EXPECT_FALSE(r.setting);
  EXPECT_NEAR(r.sight.summitAzimuth, 90, 0.5);
  ASSERT_EQ(r.events.size(), 2u);
  // The summit stands a few degrees high, so the rising sun meets it a little south of due
  // east: within a few weeks after the March and before the September equinox.
  const CivilDate spring = DecodeDate(r.events[0].date);
  const CivilDate autumn = DecodeDate(r.events[1].date);
  EXPECT_EQ(spring.month, 3);
  EXPECT_GE(autumn.month, 9);
  EXPECT_LE(autumn.month, 10);
}

TEST(DiamondSearch, DatesMoveSmoothlyWithPosition) {
  const DiamondSearchResult a = SearchDiamondEvents(kYokohama, Today());
  // 0.005 degrees north turns the summit's azimuth by about 0.4 degrees: less than one day of the
  // setting sun's motion along the horizon.
  const Observer nearby{kYokohama.latitude + 0.005, kYokohama.longitude, 273};
  const DiamondSearchResult b = SearchDiamondEvents(nearby, Today());
  ASSERT_EQ(a.events.size(), b.events.size());
  for (size_t i = 0; i < a.events.size(); ++i) {
    EXPECT_LE(std::fabs(a.events[i].date - b.events[i].date), 1.0);
  }
}

TEST(DiamondSearch, AgreesWithTheDatesKeptForWellKnownPlaces) {
  // Places whose registered rows carried observed event days a decade ago; the sun comes back to
  // the same place within a day or two on the same calendar days.
  struct Place {
    Observer observer;
    std::vector<std::pair<int, int>> monthDay;
  };
  const std::vector<Place> places = {
      {{35.315790, 139.465682, 4}, {{4, 3}, {9, 9}}},      // 鵠沼海岸
      {{35.710018, 139.810716, 356}, {{2, 3}, {11, 7}}},   // スカイツリー
      {{35.345873, 138.558366, 669}, {{4, 21}, {8, 22}}},  // 田貫湖 (sunrise)
      {{35.155442, 139.616446, 10}, {{4, 29}, {8, 14}}},   // 諸磯湾
      {{35.624582, 139.244070, 591}, {{12, 22}}},          // 高尾山: one event, at the solstice
  };
  for (const Place& p : places) {
    const DiamondSearchResult r = SearchDiamondEvents(p.observer, Today());
    ASSERT_EQ(r.events.size(), p.monthDay.size()) << p.observer.latitude;
    for (const auto& [month, day] : p.monthDay) {
      bool near = false;
      for (const AlignmentEvent& e : r.events) {
        const int year = DecodeDate(e.date).year;
        near = near || std::fabs(e.date - EncodeDate(year, month, day)) <= 2;
      }
      EXPECT_TRUE(near) << p.observer.latitude << " " << month << "/" << day;
    }
  }
}

TEST(DiamondSearch, NorthOfTheSunsRangeIsNeverReached) {
  // Due south of the summit: the summit lies north, where the sun never stands.
  const Observer south{34.9, 138.730783333, 10};
  const DiamondSearchResult r = SearchDiamondEvents(south, Today());
  EXPECT_TRUE(r.events.empty());
  const DiamondDisplay d = DecideDiamondDisplay(r);
  EXPECT_EQ(d.outcome, DisplayOutcome::kNotReached);
  EXPECT_EQ(d.message, kSunNeverComesMessage);
  EXPECT_EQ(d.overlayMode, EventOverlayMode::kNone);
}

TEST(DiamondSearch, SunCrossingOnEventDateAgrees) {
  const DiamondSearchResult r = SearchDiamondEvents(kYokohama, Today());
  ASSERT_FALSE(r.events.empty());
  const SunCrossingResult c = SunCrossingOnDate(r.events[0].date, kYokohama, r.sight);
  EXPECT_TRUE(c.valid);
  EXPECT_LT(std::fabs(c.offset), r.sight.toleranceDeg);
  EXPECT_NEAR(c.instant, r.events[0].instant(), 2 * kMinute);
}

TEST(AltitudeCorrection, AskedOnlyAboveTheSummit) {
  EXPECT_FALSE(CheckAltitudeCorrection(false, 5000, 273).ask);
  EXPECT_FALSE(CheckAltitudeCorrection(true, 3000, 776).ask);  // exactly 3776
  const AltitudeCorrectionQuestion q = CheckAltitudeCorrection(true, 3000, 777);
  EXPECT_TRUE(q.ask);
  EXPECT_EQ(q.text,
            "標高が補正されてZorv山の高さより高くなっています\r\n標高の補正を解除しますか？");
}

TEST(PearlSearch, EventsAreCrossingsWithConsistentAgeAndSymbol) {
  const PearlSearchResult r = SearchPearlEvents(kYokohama, Today());
  ASSERT_TRUE(r.setting);
  ASSERT_FALSE(r.events.empty());
  std::set<DateTime> dates;
  for (const AlignmentEvent& e : r.events) {
    EXPECT_LT(std::fabs(e.azimuthOffset), r.sight.toleranceDeg);
    EXPECT_GE(e.moonAge, 0);
    EXPECT_LT(e.moonAge, 30.5);
    EXPECT_EQ(e.symbol, PhaseSymbol(e.moonAge));
    EXPECT_EQ(e.line.substr(0, 19), FormatDateTime(e.instant()));
    const BodyPosition m = ComputeMoonPosition(AstroTimeFromDateTime(e.instant()), kYokohama);
    EXPECT_GE(m.apparentAltitude, r.sight.e3700 + kPearlAltitudeLift);
    EXPECT_LT(m.apparentAltitude, r.sight.e3700 + kPearlAltitudeLift + 0.6);
    dates.insert(e.date);
  }
  EXPECT_EQ(dates.size(), r.events.size());
  EXPECT_EQ(r.firstLine, r.listLines.front());
  EXPECT_EQ(r.displayInstant, r.events.front().instant());
  EXPECT_EQ(DecidePearlDisplay(r).outcome, DisplayOutcome::kEvents);
}

TEST(PearlSearch, ChosenDateDisplay) {
  const PearlSearchResult r = SearchPearlEvents(kYokohama, Today());
  ASSERT_FALSE(r.events.empty());
  const SummitSight s = ComputeSummitSight(kYokohama);
  const PearlDateDisplay ok = DecidePearlDateDisplay(r.events[0].date, kYokohama, s);
  EXPECT_TRUE(ok.drawPath);
  EXPECT_TRUE(ok.message.empty());
  EXPECT_EQ(ok.dateText, FormatDate(r.events[0].date));
  EXPECT_NEAR(ok.crossing.instant, r.events[0].instant(), 3 * kMinute);
  // Over the following days the moon sets ever farther from the summit; once 30 degrees off (or
  // with no crossing at all) nothing is drawn.
  int outOfRange = 0;
  for (int k = 1; k <= 20; ++k) {
    const PearlDateDisplay d = DecidePearlDateDisplay(r.events[0].date + k, kYokohama, s);
    const bool near = d.crossing.found && d.crossing.valid && std::fabs(d.crossing.offset) < 30;
    EXPECT_EQ(d.drawPath, near) << k;
    if (!near) {
      EXPECT_EQ(d.message, kMoonOutOfRangeMessage);
      ++outOfRange;
    }
  }
  EXPECT_GT(outOfRange, 0);
}

// --- Registered rows -------------------------------------------------------------------------

TEST(UpdateRegisteredEventDates, WhichRowsAreRecomputed) {
  const DateTime today = Today();
  const std::string place = "横浜,よこはま,横浜市, 35.45472, 139.63062, 273 ";
  const std::vector<std::string> rows = {
      place + ",OB,2001/01/01",                            // frozen
      place + ",2027/05/01 17:00:00,2027/06/01 17:00:00",  // future with a time: kept
      place + ",not a date at all",                        // unreadable: kept
      place + ",abc",                                      // 2..6 characters: kept
      "南,みなみ,-,34.9,138.730783333,10,",                // summit north: no events
      "零,れい,-,0,139.6,10,",                             // latitude 0: kept
      "字,じ,-,x35.4,139.6,10,",                           // unreadable latitude: kept
      place + ",2013/04/03,2013/09/09",                    // past: recomputed
      place + ",2027/05/01 00:00:00",                      // midnight: recomputed
  };
  const std::vector<std::string> out = UpdateRegisteredEventDates(rows, today);
  ASSERT_EQ(out.size(), rows.size());
  for (int i : {0, 1, 2, 3, 5, 6}) EXPECT_EQ(out[i], rows[i]) << i;
  EXPECT_EQ(out[4], "南,みなみ,-,34.9,138.730783333,10,,");
  const std::string expected = "横浜,よこはま,横浜市,35.45472,139.63062,273";
  const DiamondSearchResult r = SearchDiamondEvents(kYokohama, today);
  std::string withEvents = expected;
  for (const AlignmentEvent& e : r.events) withEvents += "," + FormatDateTime(e.instant());
  EXPECT_EQ(out[7], withEvents);
  EXPECT_EQ(out[8], withEvents);
  EXPECT_FALSE(RegisteredRowNeedsUpdate(out[7], today));
}

// --- Moon phase shapes -----------------------------------------------------------------------

TEST(MoonPhaseShape, FullDottedAndPhaseThresholds) {
  using K = MoonPhaseShape::Kind;
  const auto kind = [](double age, int r, MoonPhaseStyle st) {
    return ComputeMoonPhaseShape(100, 100, r, age, true, st).kind;
  };
  EXPECT_EQ(kind(14.0, 20, MoonPhaseStyle::kPath), K::kFull);
  EXPECT_EQ(kind(13.99, 20, MoonPhaseStyle::kPath), K::kPhase);
  EXPECT_EQ(kind(16.0, 20, MoonPhaseStyle::kPath), K::kFull);
  EXPECT_EQ(kind(15.5, 20, MoonPhaseStyle::kPress), K::kPhase);  // the press draws full to 15
  EXPECT_EQ(kind(14.2, 20, MoonPhaseStyle::kPress), K::kFull);
  EXPECT_EQ(kind(0.4, 20, MoonPhaseStyle::kPath), K::kDotted);
  EXPECT_EQ(kind(29.1, 20, MoonPhaseStyle::kPress), K::kDotted);
  EXPECT_EQ(kind(0.3, 5, MoonPhaseStyle::kPress), K::kFull);  // a small disc is always full
  EXPECT_EQ(ComputeMoonPhaseShape(0, 0, 20, 14.5, true, MoonPhaseStyle::kPress).circlePenWidth, 2);
}

TEST(MoonPhaseShape, CrescentTerminatorPassesThroughItsThreePoints) {
  const MoonPhaseShape s = ComputeMoonPhaseShape(200, 150, 20, 3.0, true, MoonPhaseStyle::kPress);
  ASSERT_EQ(s.kind, MoonPhaseShape::Kind::kPhase);
  EXPECT_EQ(s.e, 16);
  // Evening sky: the cusps stand on the 40 degree line, the waxing limb sweeps clockwise.
  EXPECT_EQ(s.p1x, TruncInt(200 + 20 * std::cos(40 * kDegToRad)));
  EXPECT_EQ(s.p1y, TruncInt(150 - 20 * std::sin(40 * kDegToRad)));
  EXPECT_DOUBLE_EQ(s.limb.startDeg, 40);
  EXPECT_DOUBLE_EQ(s.limb.sweepDeg, -180);
  EXPECT_EQ(s.limbPenWidth, 2);
  EXPECT_EQ(s.mx, TruncInt(200 + 16 * std::cos(50 * kDegToRad)));
  ASSERT_TRUE(s.terminatorIsArc);
  const PhaseArc& t = s.terminator;
  EXPECT_NEAR(std::hypot(s.p2x - t.cx, s.p2y - t.cy), t.radius, 1.0);
  EXPECT_NEAR(std::hypot(s.mx - t.cx, s.my - t.cy), t.radius, 1.0);
  EXPECT_LE(std::fabs(t.sweepDeg), 180);
  // The arc ends at P2: start + sweep is P2's angle seen from the centre (y upwards).
  const double end = (t.startDeg + t.sweepDeg) * kDegToRad;
  EXPECT_NEAR(t.cx + t.radius * std::cos(end), s.p2x, 1.5);
  EXPECT_NEAR(t.cy - t.radius * std::sin(end), s.p2y, 1.5);
  // Morning sky: the cusps turn to 140 degrees and M goes the other way.
  const MoonPhaseShape m = ComputeMoonPhaseShape(200, 150, 20, 3.0, false, MoonPhaseStyle::kPress);
  EXPECT_DOUBLE_EQ(m.limb.startDeg, 140);
  EXPECT_EQ(m.mx, TruncInt(200 - 16 * std::cos(50 * kDegToRad)));
}

TEST(MoonPhaseShape, HalfMoonTerminatorIsStraight) {
  for (double age : {7.3, 22.0}) {
    const MoonPhaseShape s = ComputeMoonPhaseShape(50, 50, 20, age, true, MoonPhaseStyle::kPress);
    EXPECT_LT(std::abs(s.e), 2) << age;
    EXPECT_FALSE(s.terminatorIsArc) << age;
  }
  // Waning limb sweeps counterclockwise, and thin phases get the thin limb pen when pressed.
  EXPECT_DOUBLE_EQ(ComputeMoonPhaseShape(0, 0, 20, 20, true, MoonPhaseStyle::kPath).limb.sweepDeg,
                   180);
  EXPECT_EQ(ComputeMoonPhaseShape(0, 0, 20, 28.5, true, MoonPhaseStyle::kPress).limbPenWidth, 1);
  EXPECT_EQ(ComputeMoonPhaseShape(0, 0, 20, 28.5, true, MoonPhaseStyle::kPath).limbPenWidth, 2);
}

// --- Moon calendar ---------------------------------------------------------------------------

class MoonCalendar : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { table_ = new MoonCalendarTable(BuildMoonCalendarTable(Today())); }
  static void TearDownTestSuite() { delete table_; }
  static MoonCalendarTable* table_;
};
MoonCalendarTable* MoonCalendar::table_ = nullptr;

TEST_F(MoonCalendar, AboutOneDayAMonthHasNoMoonriseAndNoMoonset) {
  int noRise = 0, noSet = 0;
  for (int i = 0; i < kMoonCalendarDays; ++i) {
    if (table_->moonriseTime[i] == 0) {
      ++noRise;
      EXPECT_EQ(table_->moonriseAge[i], -1);
    } else {
      EXPECT_GT(table_->moonriseTime[i], 0);
      EXPECT_LT(table_->moonriseTime[i], 1);
    }
    if (table_->moonsetTime[i] == 0) ++noSet;
  }
  EXPECT_GE(noRise, 11);
  EXPECT_LE(noRise, 14);
  EXPECT_GE(noSet, 11);
  EXPECT_LE(noSet, 14);
  EXPECT_EQ(table_->ageText[0], FormatDecimals(1, table_->noonAge[0]));
}

TEST_F(MoonCalendar, HoverDatesTextsAndColours) {
  const DateTime today = Today();  // 2026/12/09
  const CalendarColour moonPixel{90, 90, 90};
  // The background and the blue text hide the label.
  EXPECT_EQ(MoonCalendarHover(300, 100, kCalendarBackground, today, *table_, true, 700, 0).action,
            CalendarHover::Action::kHide);
  // Row 2 is February 2027: its 30th and 31st are ignored.
  const int feb = 30 + 2 * 20 + 5;
  EXPECT_EQ(
      MoonCalendarHover(55 + 29 * 20 + 5, feb, moonPixel, today, *table_, true, 700, 0).action,
      CalendarHover::Action::kIgnore);
  const CalendarHover h =
      MoonCalendarHover(55 + 27 * 20 + 5, feb, moonPixel, today, *table_, true, 700, 100);
  ASSERT_EQ(h.action, CalendarHover::Action::kShow);
  EXPECT_EQ(h.date, EncodeDate(2027, 2, 28));
  const int i = static_cast<int>(h.date - today);
  EXPECT_EQ(h.lines[0], " 2027/02/28  (日);//  月齢：" + table_->ageText[i] + " ");
  EXPECT_EQ(h.left, std::min(55 + 27 * 20 + 5 - 80, 700 - 165));
  EXPECT_EQ(h.top, feb + 100 - 45);
  // A day without moonset: red; without moonrise only: blue; both: cyan with black text.
  for (int k = 0; k < kMoonCalendarDays; ++k) {
    const DateTime d = today + k;
    const CalendarCell cell = MoonCalendarCell(d, today);
    const CalendarHover c =
        MoonCalendarHover(cell.x + 5, cell.y + 5, moonPixel, today, *table_, true, 700, 0);
    ASSERT_EQ(c.action, CalendarHover::Action::kShow) << FormatDate(d);
    ASSERT_EQ(c.date, d);
    const bool rise = table_->moonriseTime[k] != 0, set = table_->moonsetTime[k] != 0;
    if (!set) {
      EXPECT_EQ(c.background, (CalendarColour{255, 0, 0}));
      EXPECT_EQ(c.lines[2], "月没時刻の月齢 = -");
      EXPECT_NE(c.lines[1].find("没=ありません"), std::string::npos);
    } else if (!rise) {
      EXPECT_EQ(c.background, (CalendarColour{0, 0, 255}));
    } else {
      EXPECT_EQ(c.background, (CalendarColour{0, 255, 255}));
      EXPECT_EQ(c.text, (CalendarColour{0, 0, 0}));
    }
  }
}

TEST(MoonCalendarGeometry, CellsMarksAndPictures) {
  const DateTime today = EncodeDate(2026, 12, 9);
  const CalendarCell c = MoonCalendarCell(EncodeDate(2027, 1, 31), today);
  EXPECT_EQ(c.row, 1);
  EXPECT_EQ(c.x, 20 * 31 + 35);
  EXPECT_EQ(c.y, 50);
  const CalendarMark m = MarkCalendarDay(EncodeDate(2027, 1, 31), today, 8, 31);
  EXPECT_EQ(m.left, 8 + 20 * 31 + 34);
  EXPECT_EQ(m.top, 31 + 20 * (1 + 12 - 12) + 29);
  EXPECT_EQ(m.strips[2].top, m.top + 18);
  EXPECT_EQ(m.strips[3].left, m.left + 18);
  EXPECT_TRUE(MoonCalendarGreyCircle(MoonPictureIndex(28.0f)));
  EXPECT_TRUE(MoonCalendarGreyCircle(MoonPictureIndex(1.4f)));
  EXPECT_FALSE(MoonCalendarGreyCircle(MoonPictureIndex(1.6f)));
  EXPECT_FALSE(MoonCalendarGreyCircle(MoonPictureIndex(27.4f)));
}

// --- Line maps -------------------------------------------------------------------------------

TEST(LineMap, EveningProbesLieEastAndPointsKeepTheirArcDistance) {
  for (int i = 0; i < kLinePoints; ++i) {
    const LineProbe p = ProbeFor(i, +1, 50);
    EXPECT_EQ(p.latitude, SummitReference.latitude);
    EXPECT_NEAR(p.longitude - SummitReference.longitude, 0.1 * (i + 1), 1e-12);
    EXPECT_GT(p.elevationAngle, 0);
  }
  EXPECT_DOUBLE_EQ(BackAzimuth(90), 270);
  EXPECT_DOUBLE_EQ(BackAzimuth(200), 20);
  EXPECT_DOUBLE_EQ(BackAzimuth(180), 0);

  const LineMapResult r = DiamondLineMap(EncodeDate(2026, 12, 21), true, "50", Today(), 273.0f);
  ASSERT_TRUE(r.ok);
  for (int i = 0; i < kLinePoints; ++i) {
    const LineProbe p = ProbeFor(i, +1, 50);
    SightLine line;
    line.targetLatitude = r.main.latitude[i];
    line.targetLongitude = r.main.longitude[i];
    line.targetHeight = 0;
    ComputeSightLine({SummitReference.latitude, SummitReference.longitude, 0}, line);
    EXPECT_NEAR(line.centralAngleDeg, p.arcDeg, 2e-4) << i;
    // Winter evening: the sun sets in the south-west, so the places lie north-east.
    EXPECT_GT(line.azimuth, 30);
    EXPECT_LT(line.azimuth, 90);
  }
  EXPECT_EQ(r.caption, "2026/12/21　（夕日）");
  EXPECT_EQ(
      r.memo,
      "指定した日付にﾀﾞｲﾔﾓﾝﾄﾞZorvが見える概略の場所を表示しています。\r\n想定標高を下記のように"
      "50mに指定して計算していますので高い山などでは想定標高を変更してください。");
}

TEST(LineMap, SunCrossingMeetsTheElevationAngle) {
  const LineProbe p = ProbeFor(5, +1, 50);
  const Observer probe{p.latitude, p.longitude, 50};
  const BodyCrossing c = SunCrossing(EncodeDate(2027, 3, 1), p.elevationAngle, probe, true);
  ASSERT_TRUE(c.ok);
  const BodyPosition s = ComputeSunPosition(AstroTimeFromDateTime(c.instant), probe);
  EXPECT_NEAR(s.apparentAltitude, p.elevationAngle, 0.02);
  EXPECT_GT(c.azimuthFromSummit, 240);
  EXPECT_LT(c.azimuthFromSummit, 275);
}

TEST(LineMap, PearlLinesCarryTheirCaptionAndInstants) {
  const DateTime date = EncodeDate(2026, 12, 21);
  const LineMapResult r = PearlLineMap(date, true, "50", Today(), 273.0f);
  ASSERT_TRUE(r.ok);
  const Observer summit{SummitReference.latitude, SummitReference.longitude, 50};
  EXPECT_EQ(r.caption,
            "2026/12/21  (月齢＝" + FormatDecimals(1, MoonAge(date + 0.5, summit).age) + ")");
  // Moonset case: the probes lie east and see the moon set behind the summit on that day.
  EXPECT_EQ(WholeDay(r.firstInstant), date);
  EXPECT_TRUE(r.message.empty());
  EXPECT_EQ(r.memo.substr(0, 30), PearlLineMemo("50").substr(0, 30));
  for (int i = 0; i < kLinePoints; ++i) EXPECT_GT(r.main.longitude[i], SummitReference.longitude);
}

TEST(LineMap, UnreadableHeightRecomputesNothing) {
  LineMapResult previous;
  previous.main.latitude[3] = 35.5f;
  const LineMapResult r = DiamondLineMap(Today(), true, "5O", Today(), 273.0f, previous);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
  EXPECT_EQ(r.main.latitude[3], 35.5f);
  EXPECT_FALSE(PearlLineMap(Today(), true, "", Today(), 273.0f, previous).ok);
}

TEST(LineMap, ExtremeDatesAreFirstStrictMaxima) {
  const DateTime today = Today();
  const ExtremeRiseSetDates x = FindExtremeRiseSetDates(today, 50);
  const Observer summit{SummitReference.latitude, SummitReference.longitude, 50};
  // The sunset azimuth peaks at the June solstice; the date found is the first day of the
  // integer maximum, so every earlier day is strictly lower and no later day higher.
  const CivilDate m = DecodeDate(x.sunsetMax);
  EXPECT_EQ(m.month, 6);
  const int best = SolveSunRiseSet(x.sunsetMax, summit, RiseOrSet::kSet).azimuthRounded;
  for (int i = 0; i < 369; ++i) {
    const DateTime d = today + i;
    const int az = SolveSunRiseSet(d, summit, RiseOrSet::kSet).azimuthRounded;
    if (d < x.sunsetMax) {
      EXPECT_LT(az, best) << FormatDate(d);
    } else {
      EXPECT_LE(az, best) << FormatDate(d);
    }
  }
  EXPECT_EQ(DecodeDate(x.sunriseMin).month, 6);
}

// --- Sky chart -------------------------------------------------------------------------------

TEST(SkyChart, HoverInterpolatesTheHalfHourTables) {
  const SummitSight s = ComputeSummitSight(kYokohama);
  const SkyChartData chart = ComputeSkyChart(EncodeDate(2027, 3, 9), EventBody::kSun, kYokohama, s);
  EXPECT_EQ(chart.title, "2027/03/09の太陽の位置");
  EXPECT_TRUE(chart.crossingValid);
  const int w = 480, left = 10, top = 20, h = 240;
  // Above the time bar the markers sit at the crossing.
  const SkyChartMarkers still = SkyChartHover(chart, 100, 100, w, left, top, h);
  EXPECT_FALSE(still.timeLabelShown);
  EXPECT_EQ(still.sun.left,
            NearestInt(chart.sunAzimuthAtCrossing * 1.125) + SkyChartX0(w) + left - 5);
  // At x = w / 2 the time is 12:00 and sample 24 is used as it is.
  const SkyChartMarkers noon = SkyChartHover(chart, w / 2, 210, w, left, top, h);
  EXPECT_TRUE(noon.timeLabelShown);
  EXPECT_EQ(noon.timeLabel, " 12:00 ");
  EXPECT_EQ(noon.sun.left, NearestInt(chart.sunAzimuth[24] * 1.125) + SkyChartX0(w) + left - 5);
  EXPECT_EQ(noon.sun.top, top - NearestInt(chart.sunAltitude[24] * 1.125) + 120 - 5);
  EXPECT_EQ(noon.timeLabelLeft, noon.sun.left + 5 - 10);
  EXPECT_EQ(noon.timeBarMarkerLeft, w / 2 + left - 5);
  // Midnight's moon or sun far below the horizon is held at the bottom of the chart.
  const SkyChartMarkers night = SkyChartHover(chart, 0, 210, w, left, top, h);
  EXPECT_EQ(night.sun.top, top + 150 - 5);
}

}  // namespace
}  // namespace velkaro
