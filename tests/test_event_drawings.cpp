#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>

#include "astro/astro.h"
#include "core/datetime.h"
#include "core/sight_line.h"
#include "events/diamond.h"
#include "events/moon_calendar.h"
#include "events/pearl.h"
#include "events/sky_chart.h"
#include "render/event_charts.h"
#include "render/event_paths.h"
#include "render/frame.h"

namespace velkaro {
namespace {

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "test_event_drawings";
    static char* argv[] = {name, nullptr};
    app_ = new QGuiApplication(argc, argv);
  }
  void TearDown() override { delete app_; }

 private:
  QGuiApplication* app_ = nullptr;
};
const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

const Observer kYokohama{35.45472, 139.63062, 273};
const DateTime kToday = EncodeDate(2026, 12, 9);

PanoramaFrame FrameFor(const SummitSight& sight) {
  GridExtremes x;
  x.maxRelAz = 4;
  x.minRelAz = -4;
  x.maxRelEl = 1.5f;
  return ComputeFrame(1920, 1080, 1.0f, sight, x);
}

bool OnlyBlackAndWhite(const QImage& img) {
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, y) & 0xFFFFFF;
      if (p != 0 && p != 0xFFFFFF) return false;
    }
  }
  return true;
}

TEST(DrawSunPath, PathMeetsTheSummitAtTheEventMinute) {
  const DiamondSearchResult r = SearchDiamondEvents(kYokohama, kToday);
  ASSERT_FALSE(r.events.empty());
  const AlignmentEvent& e = r.events.front();
  const PanoramaFrame frame = FrameFor(r.sight);
  QImage overlay;
  const SunPathResult p = DrawSunPath(overlay, frame, kYokohama, r.sight, e.date + 0.3);
  ASSERT_EQ(overlay.width(), frame.W);
  EXPECT_TRUE(OnlyBlackAndWhite(overlay));
  EXPECT_TRUE(p.path.visible);
  EXPECT_EQ(p.path.displayDate, e.date);
  EXPECT_GT(p.path.radius, 5);
  ASSERT_GE(p.path.x.size(), 10u);
  // Setting sun: drawn backwards from ten minutes after sunset in two-minute steps, until the
  // sample after the first one above the picture.
  const SunRiseSet set = SolveSunRiseSet(e.date, kYokohama, RiseOrSet::kSet);
  EXPECT_NEAR(p.path.t[0], e.date + set.time + 10.0 / 1440, 1e-9);
  EXPECT_NEAR(p.path.t[1] - p.path.t[0], -2.0 / 1440, 1e-9);
  for (size_t i = 0; i + 1 < p.path.y.size(); ++i) EXPECT_GT(p.path.y[i], -10);
  // The sample nearest the event minute stands on the summit's vertical at its elevation.
  size_t best = 0;
  for (size_t i = 0; i < p.path.t.size(); ++i) {
    if (std::fabs(p.path.t[i] - e.instant()) < std::fabs(p.path.t[best] - e.instant())) best = i;
  }
  EXPECT_LT(std::abs(p.path.x[best] - frame.Xc), 0.6 * frame.ppd);
  const double summitY = frame.Yc - (r.sight.e3700 - r.sight.e2600) * frame.ppd;
  EXPECT_LT(std::fabs(p.path.y[best] - summitY), 0.3 * frame.ppd);
  EXPECT_EQ(p.label59, DiamondSunDayTitle(e.date));
  EXPECT_EQ(p.label61, SunsetLabel(set.time, set.azimuthRounded));
}

TEST(DrawMoonPath, SamplesFollowTheMoonFromItsSetting) {
  const PearlSearchResult r = SearchPearlEvents(kYokohama, kToday);
  ASSERT_TRUE(r.hasDisplay);
  const PanoramaFrame frame = FrameFor(r.sight);
  QImage overlay;
  const MoonPathResult p =
      DrawMoonPath(overlay, frame, kYokohama, r.sight, r.displayDate, r.displayInstant);
  EXPECT_TRUE(OnlyBlackAndWhite(overlay));
  EXPECT_TRUE(p.path.visible);
  EXPECT_FLOAT_EQ(p.moonAge, MoonAge(r.displayInstant, kYokohama).age);
  const MoonRiseSet set = SolveMoonRiseSet(r.displayDate, kYokohama, RiseOrSet::kSet);
  EXPECT_NEAR(p.path.t[0], set.instant + 10.0 / 1440, 1e-9);
  EXPECT_EQ(p.label63, MoonsetLabel(set, r.displayDate));
  // The moon climbs as the path goes back in time.
  EXPECT_GT(p.path.y.front(), p.path.y.back());
}

TEST(DrawMoonCalendar, CellsCarryTheDiagonalsAndTheBackground) {
  const MoonCalendarTable table = BuildMoonCalendarTable(kToday);
  const QImage img = DrawMoonCalendar(table, kToday, QImage());
  EXPECT_EQ(img.pixel(2, 2) & 0xFFFFFF, 0xF5FFFFu);
  int red = 0, yellow = 0;
  for (int i = 0; i < kMoonCalendarDays; ++i) {
    const CalendarCell c = MoonCalendarCell(table.firstDay + i, kToday);
    const QRgb p = img.pixel(c.x + 8, c.y + 8) & 0xFFFFFF;
    if (table.moonsetTime[i] == 0) {
      EXPECT_EQ(p, 0xFF0000u) << i;
      ++red;
    } else if (table.moonriseTime[i] == 0) {
      EXPECT_EQ(p, 0xFFFF00u) << i;
      ++yellow;
    }
  }
  EXPECT_GT(red, 0);
  EXPECT_GT(yellow, 0);
}

TEST(DrawSkyChart, BandsAndTimeBar) {
  const SummitSight s = ComputeSummitSight(kYokohama);
  const SkyChartData chart = ComputeSkyChart(EncodeDate(2027, 3, 9), EventBody::kSun, kYokohama, s);
  const QImage img = DrawSkyChart(chart);
  ASSERT_EQ(img.width(), kSkyChartWidth);
  EXPECT_EQ(img.pixel(470, 100) & 0xFFFFFF, 0xB2CFEBu);  // sky
  EXPECT_EQ(img.pixel(470, 130) & 0xFFFFFF, 0x6B8EA8u);  // ground
  EXPECT_EQ(img.pixel(470, 190) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(img.pixel(kSkyChartWidth / 2 + 3, 232) & 0xFFFFFF, 0x8095DCu);   // noon: daylight
  EXPECT_EQ(img.pixel(2 + kSkyChartWidth / 48, 232) & 0xFFFFFF, 0x404040u);  // night
  // The red summit marker stands at the summit's azimuth above the horizon.
  const int g = SkyChartX(s.summitAzimuth, kSkyChartWidth);
  EXPECT_EQ(img.pixel(g, 100) & 0xFFFFFF, 0xFF0000u);
  EXPECT_NE(img.pixel(g + 4, 100) & 0xFFFFFF, 0xFF0000u);
}

}  // namespace
}  // namespace velkaro
