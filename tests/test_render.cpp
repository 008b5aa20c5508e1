#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "core/constants.h"
#include "core/summit_grid.h"
#include "render/foreground.h"
#include "render/frame.h"
#include "render/labels.h"
#include "render/panorama.h"
#include "render/pictures.h"
#include "render/raster.h"
#include "render/styles.h"
#include "render/terrain_view.h"
#include "resources/embedded.h"
#include "terrain/elevation.h"

namespace velkaro {
namespace {

// Fonts need an application object; the offscreen platform serves without a display.
class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[12] = "test_render";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};
const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

// ---------------------------------------------------------------- frame and projection

SummitSight SightAt(double azimuth, double e2600) {
  SummitSight s;
  s.summitAzimuth = azimuth;
  s.e2600 = e2600;
  s.summitDistanceKm = 50;
  return s;
}

TEST(Frame, TenDegreeMountainOnA1466WideWindow) {
  GridExtremes ex{5, -5, 1};
  const PanoramaFrame f = ComputeFrame(1466, 1080, 1.0f, SightAt(250, 2), ex);
  EXPECT_EQ(f.W, 977);
  EXPECT_EQ(f.H, 1050);
  EXPECT_NEAR(f.ppd, 97.7, 1e-4);
  EXPECT_FLOAT_EQ(f.hfov, 10);
  EXPECT_EQ(f.focalLength, 205);
  EXPECT_EQ(f.Xc, 488);
  EXPECT_EQ(f.Yc, 441);
  EXPECT_FLOAT_EQ(f.leftAzimuth, 245);
  EXPECT_FLOAT_EQ(f.rightAzimuth, 255);
  EXPECT_EQ(f.topY, static_cast<int>(441 - 97.7f));
  EXPECT_EQ(f.scaleBaseline, 1050 - 28);
  EXPECT_EQ(f.savedPpd, f.ppd);
}

TEST(Frame, NinetyDegreeLimitRaisesTheZoom) {
  GridExtremes ex{5, -5, 1};
  const PanoramaFrame f = ComputeFrame(1466, 1080, 0.06f, SightAt(2, 2), ex);
  EXPECT_FLOAT_EQ(f.hfov, 90);
  EXPECT_FLOAT_EQ(f.zoom, 10.0f / 90);
  EXPECT_NEAR(f.ppd, 977.0 / 90, 1e-3);
  EXPECT_EQ(f.focalLength, 15);
  EXPECT_EQ(f.Yc, 441);  // the raised zoom does not move the reference pixel
  // edges wrap around north
  EXPECT_FLOAT_EQ(f.leftAzimuth, 2 - 45 + 360);
  EXPECT_FLOAT_EQ(f.rightAzimuth, 47);
}

TEST(Frame, ReferencePixelSinksWhenZoomedIn) {
  GridExtremes ex{5, -5, 1};
  // zoom is held at single precision: 1.4f is a hair below 1.4, so 0.56 * 1000 truncates to 559
  EXPECT_EQ(ComputeFrame(1466, 1030, 1.4f, SightAt(0, 0), ex).Yc, 559);
  EXPECT_EQ(ComputeFrame(1466, 1030, 2.0f, SightAt(0, 0), ex).Yc, static_cast<int>(0.62 * 1000));
  EXPECT_EQ(ComputeFrame(1466, 1030, 0.7f, SightAt(0, 0), ex).Yc, 420);
}

TEST(Frame, FocalLengthNeverZero) {
  EXPECT_EQ(FocalLengthFor(10), 205);
  EXPECT_EQ(FocalLengthFor(90), 15);
  EXPECT_EQ(FocalLengthFor(179), 100);  // the 36 mm frame spans it with under 5 mm
}

TEST(Frame, ProjectionTruncatesAndWrapsAzimuth) {
  PanoramaFrame f;
  f.summitAzimuth = 350;
  f.e2600 = 1;
  f.ppd = 10;
  f.Xc = 100;
  f.Yc = 50;
  EXPECT_EQ(ProjectX(f, 5), 250);           // 15° right, across north
  EXPECT_EQ(ProjectX(f, 349.95), 99);       // -0.5 px truncates towards zero
  EXPECT_EQ(ProjectY(f, 1.25), 47);         // 47.5 -> 47
  EXPECT_EQ(ProjectYNearest(f, 1.25), 48);  // 47.5 -> 48 (even)
  EXPECT_EQ(ProjectYNearest(f, 1.35), 46);  // 46.5 -> 46 (even)
  EXPECT_DOUBLE_EQ(RelativeAzimuth(10, 200), 170);
  EXPECT_DOUBLE_EQ(RelativeAzimuth(200, 10), -170);
}

TEST(Frame, ChooseDrawSizeTable) {
  EXPECT_EQ(ChooseDrawSize(1.0f, 0.8f), 4);
  EXPECT_EQ(ChooseDrawSize(1.0f, 0.7f), std::nullopt);
  EXPECT_EQ(ChooseDrawSize(1.0f, 0.6f), std::nullopt);
  EXPECT_EQ(ChooseDrawSize(1.0f, 0.5f), 3);
  EXPECT_EQ(ChooseDrawSize(1.0f, 0.2f), 2);
  EXPECT_EQ(ChooseDrawSize(1.0f, 0.05f), 1);
  EXPECT_EQ(ChooseDrawSize(1.0f, 0.01f), 0);
  EXPECT_EQ(ChooseDrawSize(0.0f, 0.5f), 4);  // exactly on target: the largest event size
}

// A panorama whose columns tell their own x (red) and rows their y (green, modulo 256).
QImage CoordinateImage(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x % 256, y % 256, x / 256));
  return img;
}
int XAt(const QImage& img, int px, int py) {
  const QRgb c = img.pixel(px, py);
  return qRed(c) + 256 * qBlue(c);
}

TEST(LensPreview, TwiceTheFocalLengthShowsTheCentralHalf) {
  PanoramaFrame f;
  f.W = 1000;
  f.H = 600;
  f.focalLength = 50;
  f.topY = 300;
  const QImage pano = CoordinateImage(f.W, f.H);
  const LensPreview p = RefreshLensPreview(pano, f, 100);
  // l = 2: source width 500 from x = 250
  EXPECT_EQ(XAt(p.preview, 0, 100), 250);
  EXPECT_NEAR(XAt(p.preview, 314, 100), 748, 2);
  // e = 666, t = 333, sy = 166 - f where f = 33 -> 133 (below topY - 10)
  EXPECT_EQ(qGreen(p.preview.pixel(10, 0)), 133);
}

TEST(LensPreview, FrameStartNeverBelowTenAboveTheSummitTop) {
  PanoramaFrame f;
  f.W = 1000;
  f.H = 600;
  f.focalLength = 50;
  f.topY = 100;
  const LensPreview p = RefreshLensPreview(CoordinateImage(f.W, f.H), f, 100);
  EXPECT_EQ(qGreen(p.preview.pixel(10, 0)), 90);
}

TEST(LensPreview, FrameTallerThanThePanoramaIsLetterboxed) {
  PanoramaFrame f;
  f.W = 1200;
  f.H = 300;  // e = 800, t = 727 > H at l = 1.1
  f.focalLength = 100;
  f.topY = 50;
  const LensPreview p = RefreshLensPreview(CoordinateImage(f.W, f.H), f, 110);
  const double k = 1.1 * 315 / 1200;
  const int destY = static_cast<int>((727 - 300) / 2.0 * k);
  EXPECT_EQ(p.preview.pixel(100, destY - 1), qRgb(255, 255, 255));
  EXPECT_EQ(qGreen(p.preview.pixel(100, destY)), 0);
}

TEST(LensPreview, HalfTheFocalLengthShowsTheWholePanoramaCentred) {
  PanoramaFrame f;
  f.W = 1000;
  f.H = 600;
  f.focalLength = 100;
  const LensPreview p = RefreshLensPreview(CoordinateImage(f.W, f.H), f, 50);
  // m = 157.5 -> 157 wide at x = 79; r = 94.5 -> 94 high at y = 58
  EXPECT_EQ(p.preview.pixel(78, 100), qRgb(255, 255, 255));
  EXPECT_EQ(XAt(p.preview, 79, 100), 0);
  EXPECT_NEAR(XAt(p.preview, 79 + 156, 100), 994, 7);
  EXPECT_EQ(p.preview.pixel(79 + 157, 100), qRgb(255, 255, 255));
  EXPECT_EQ(qGreen(p.preview.pixel(100, 58)), 0);
  EXPECT_EQ(p.preview.pixel(100, 57), qRgb(255, 255, 255));
  EXPECT_EQ(p.mapCopy.pixel(100, 58), p.preview.pixel(100, 58));
}

TEST(Present, OverlayIsOredOnlyWhenALayerIsShown) {
  QImage pano(4, 2, QImage::Format_RGB32);
  pano.fill(qRgb(0x10, 0x20, 0x30));
  QImage overlay(4, 2, QImage::Format_RGB32);
  overlay.fill(qRgb(0, 0, 0));
  overlay.setPixel(1, 1, qRgb(255, 255, 255));
  overlay.setPixel(2, 1, qRgb(0x01, 0x02, 0x04));
  QImage canvas;
  PresentPanorama(canvas, pano, overlay, EventOverlayMode::kSunPath, true, false);
  EXPECT_EQ(canvas.pixel(0, 0), qRgb(0x10, 0x20, 0x30));
  EXPECT_EQ(canvas.pixel(1, 1), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.pixel(2, 1), qRgb(0x11, 0x22, 0x34));
  PresentPanorama(canvas, pano, overlay, EventOverlayMode::kSunPath, false, false);
  EXPECT_EQ(canvas.pixel(1, 1), qRgb(0x10, 0x20, 0x30));
  PresentPanorama(canvas, pano, overlay, EventOverlayMode::kNone, true, true);
  EXPECT_EQ(canvas.pixel(1, 1), qRgb(0x10, 0x20, 0x30));
}

// ---------------------------------------------------------------- triangles

QImage Blank(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 0));
  return img;
}
int CountNonBlack(const QImage& img) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) != qRgb(0, 0, 0);
  return n;
}

TEST(FillShadedTriangle, AnticlockwiseIsCulledClockwiseFilled) {
  QImage img = Blank(20, 20);
  const Rgb w{255, 255, 255};
  FillShadedTriangle(Canvas::Of(img), {0, 0, w}, {0, 10, w}, {10, 0, w});  // anticlockwise
  EXPECT_EQ(CountNonBlack(img), 0);
  FillShadedTriangle(Canvas::Of(img), {0, 0, w}, {10, 0, w}, {0, 10, w});
  EXPECT_EQ(CountNonBlack(img), 45);  // centres strictly left of the diagonal (a right edge)
  FillShadedTriangle(Canvas::Of(img), {3, 3, w}, {6, 6, w}, {9, 9, w});  // no area
  EXPECT_EQ(CountNonBlack(img), 45);
}

TEST(FillShadedTriangle, SharedEdgesNeitherOverlapNorLeaveGaps) {
  // A fan of triangles around an odd centre, drawn with an additive marker: every pixel of the
  // square is covered exactly once.
  const int n = 37;
  QImage img = Blank(n, n);
  const int cx = 17, cy = 11;
  const int pts[][2] = {{0, 0}, {13, 0}, {n, 0}, {n, 29}, {n, n}, {5, n}, {0, n}, {0, 7}};
  std::vector<int> hits(n * n, 0);
  for (int k = 0; k < 8; ++k) {
    const int* a = pts[k];
    const int* b = pts[(k + 1) % 8];
    img.fill(qRgb(0, 0, 0));
    FillShadedTriangle(Canvas::Of(img), {cx, cy, {255, 0, 0}}, {a[0], a[1], {255, 0, 0}},
                       {b[0], b[1], {255, 0, 0}});
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) hits[y * n + x] += img.pixel(x, y) != qRgb(0, 0, 0);
  }
  for (int i = 0; i < n * n; ++i) ASSERT_EQ(hits[i], 1) << "pixel " << i % n << "," << i / n;
}

TEST(FillShadedTriangle, ColourInterpolatedAtPixelCentres) {
  QImage img = Blank(256, 4);
  // Red rises from 0 at x = 0 to 256 at x = 256 along the rows.
  const Canvas c = Canvas::Of(img);
  FillShadedTriangle(c, {0, 0, {0, 0, 0}}, {256, 0, {255, 0, 0}}, {256, 256, {255, 0, 0}});
  const double slope = 255.0 / 256;  // the plane from the vertex colours
  EXPECT_EQ(qRed(img.pixel(255, 0)), static_cast<int>(255.5 * slope));
  EXPECT_EQ(qRed(img.pixel(128, 0)), static_cast<int>(128.5 * slope));
  // vertical gradient, the sky's construction
  QImage sky = Blank(10, 100);
  const Canvas s = Canvas::Of(sky);
  const Rgb top{177, 207, 235}, bottom{240, 250, 255};
  FillShadedTriangle(s, {0, 0, top}, {10, 0, top}, {0, 100, bottom});
  FillShadedTriangle(s, {10, 0, top}, {10, 100, bottom}, {0, 100, bottom});
  EXPECT_EQ(sky.pixel(0, 0), qRgb(177, 207, 235));
  EXPECT_EQ(sky.pixel(9, 99), qRgb(239, 249, 254));
  EXPECT_EQ(sky.pixel(3, 50), sky.pixel(8, 50));
  EXPECT_EQ(CountNonBlack(sky), 1000);
}

TEST(FillShadedTriangle, BandsDrawExactlyTheWholeImage) {
  QImage whole = Blank(64, 64), banded = Blank(64, 64);
  const ShadedVertex tri[][3] = {
      {{-20, 5, {10, 200, 30}}, {70, 20, {250, 0, 90}}, {5, 80, {0, 0, 255}}},
      {{30, -9, {1, 2, 3}}, {60, 40, {200, 100, 0}}, {10, 33, {9, 250, 9}}}};
  for (const auto& t : tri) FillShadedTriangle(Canvas::Of(whole), t[0], t[1], t[2]);
  const Canvas all = Canvas::Of(banded);
  for (int top = 0; top < 64; top += 13)
    for (const auto& t : tri) FillShadedTriangle(all.Band(top, top + 13), t[0], t[1], t[2]);
  EXPECT_EQ(whole, banded);
}

// ---------------------------------------------------------------- sky, quadrants, scale

TEST(Sky, ColoursAndBrightnessByDisplay) {
  const SkyColours day = ChooseSky(EventOverlayMode::kNone, 0, 0);
  EXPECT_EQ(day.top, (Rgb{177, 207, 235}));
  EXPECT_EQ(day.bottom, (Rgb{240, 250, 255}));
  const SkyColours evening = ChooseSky(EventOverlayMode::kSunPath, 0, 0);
  EXPECT_EQ(evening.top, (Rgb{230, 160, 90}));
  EXPECT_EQ(evening.bottom, (Rgb{255, 181, 84}));
  // pearl display: the sun 10° high in the west mixes day and evening half and half
  const SkyColours west10 = ChooseSky(EventOverlayMode::kMoonPath, 10, 250);
  EXPECT_EQ(west10.top, (Rgb{203, 183, 162}));
  EXPECT_FLOAT_EQ(west10.brightness, 0.7f);
  // in the east the other colour is the morning's
  const SkyColours east10 = ChooseSky(EventOverlayMode::kMoonPath, 10, 100);
  EXPECT_EQ(east10.top, (Rgb{147, 177, 205}));
  const SkyColours eastNight = ChooseSky(EventOverlayMode::kMoonPath, -20, 100);
  EXPECT_EQ(eastNight.top, (Rgb{117, 147, 175}));
  EXPECT_EQ(eastNight.bottom, (Rgb{180, 190, 195}));
  EXPECT_FLOAT_EQ(eastNight.brightness, 0.6f);
  EXPECT_EQ(ChooseSky(EventOverlayMode::kMoonPath, -20, 200).top, (Rgb{48, 48, 64}));
  // dusk: halfway between evening and night, b = 0.3
  const SkyColours dusk = ChooseSky(EventOverlayMode::kMoonPath, -5, 250);
  EXPECT_EQ(dusk.top, (Rgb{139, 104, 77}));
  EXPECT_NEAR(dusk.brightness, 0.3, 1e-6);
  EXPECT_EQ(ChooseSky(EventOverlayMode::kMoonPath, 25, 250).top, day.top);
}

TEST(Quadrant, BoundariesBelongToTheNextQuadrant) {
  EXPECT_EQ(ViewingQuadrant(44.999), Quadrant::kNorth);
  EXPECT_EQ(ViewingQuadrant(45), Quadrant::kEast);
  EXPECT_EQ(ViewingQuadrant(135), Quadrant::kSouth);
  EXPECT_EQ(ViewingQuadrant(225), Quadrant::kWest);
  EXPECT_EQ(ViewingQuadrant(315), Quadrant::kNorth);
  EXPECT_EQ(ViewingQuadrant(0), Quadrant::kNorth);
}

TEST(AzimuthScale, ThirtyDegreesNumberEveryDegreeThirtyOneOnlyFives) {
  PanoramaFrame f;
  f.summitAzimuth = 115;
  f.ppd = 10;
  f.Xc = 300;
  f.leftAzimuth = 100.4f;
  f.rightAzimuth = 129.6f;
  auto ticks = AzimuthScaleTicks(f, ScaleRounding::kTruncate);
  ASSERT_EQ(ticks.size(), 31u);  // span 30, k = 0..30
  EXPECT_EQ(ticks.front().azimuth, 100);
  EXPECT_EQ(ticks.front().x, 150);
  for (const ScaleTick& t : ticks) EXPECT_TRUE(t.numbered) << t.azimuth;
  f.rightAzimuth = 130.2f;
  ticks = AzimuthScaleTicks(f, ScaleRounding::kTruncate);
  for (const ScaleTick& t : ticks) EXPECT_EQ(t.numbered, t.azimuth % 5 == 0) << t.azimuth;
  // the detailed drawing rounds the edges: 100.6 .. 130.4 is 101 .. 130, span 29
  f.leftAzimuth = 100.6f;
  f.rightAzimuth = 130.4f;
  ticks = AzimuthScaleTicks(f, ScaleRounding::kNearest);
  ASSERT_EQ(ticks.size(), 30u);
  EXPECT_EQ(ticks.front().azimuth, 101);
  EXPECT_TRUE(ticks[1].numbered);
  // across north the degrees wrap to 0
  f.summitAzimuth = 0;
  f.leftAzimuth = 358.2f;
  f.rightAzimuth = 1.8f;
  ticks = AzimuthScaleTicks(f, ScaleRounding::kTruncate);
  ASSERT_EQ(ticks.size(), 5u);
  EXPECT_EQ(ticks[2].azimuth, 0);
  EXPECT_EQ(ticks[2].x, 300);
  EXPECT_EQ(ticks[1].x, 290);
}

// ---------------------------------------------------------------- the redraw, on the real grid

const SummitGrid& RealGrid() {
  static const SummitGrid g = LoadSummitGrid(EmbeddedResource("zorvht"));
  return g;
}

PanoramaInputs InputsAt(float lat, float lon, float elev,
                        EventOverlayMode mode = EventOverlayMode::kNone) {
  Pick p;
  p.latitude = lat;
  p.longitude = lon;
  p.elevation = elev;
  p.name = "横浜ランドマークタワー";
  p.reading = "よこはまらんどまーくたわー";
  p.remark = "横浜市西区みなとみらい２丁目";
  PanoramaInputs in;
  in.viewpoint = LoadCurrentViewpoint(p, false, "").viewpoint;
  in.grid = &RealGrid();
  in.mode = mode;
  in.clientWidth = 1200;
  in.clientHeight = 800;
  return in;
}
PanoramaInputs DefaultViewpoint(EventOverlayMode mode = EventOverlayMode::kNone) {
  return InputsAt(35.45472f, 139.63062f, 273, mode);
}

int BandTop(const PanoramaResult& r) {
  const int n = static_cast<int>(50 * r.frame.zoom);
  return static_cast<int>(r.frame.Yc - r.edgeTop * r.frame.ppd - n);
}

TEST(RedrawPanorama, DaylightSkyMountainAndScale) {
  ASSERT_FALSE(RealGrid().empty());
  const PanoramaResult r = RedrawPanorama(DefaultViewpoint());
  const PanoramaFrame& f = r.frame;
  ASSERT_EQ(r.panorama.size(), QSize(1200 - 489, 800 - 30));
  EXPECT_EQ(r.panorama.pixel(f.W - 3, 0), qRgb(177, 207, 235));
  // further down the sky follows the gradient towards (240, 250, 255)
  const int y = f.topY - 20;
  const double t = (y + 0.5) / f.H;
  EXPECT_NEAR(qRed(r.panorama.pixel(f.W - 3, y)), 177 + 63 * t, 1.0);
  EXPECT_NEAR(qBlue(r.panorama.pixel(f.W - 3, y)), 235 + 20 * t, 1.0);
  // under the summit the mountain's shading: green and blue 35 and 70 above red (each channel
  // truncated on its own), never the sky
  const QRgb m = r.panorama.pixel(f.Xc, (f.topY + f.Yc) / 2);
  EXPECT_NEAR(qGreen(m) - qRed(m), 35, 1);
  EXPECT_NEAR(qBlue(m) - qRed(m), 70, 1);
  const QRgb above = r.panorama.pixel(f.Xc, f.topY - 3);
  EXPECT_NEAR(qGreen(above) - qRed(above), 30 - 20.0 * (f.topY - 2.5) / f.H, 1);
  // ticks of the azimuth scale
  for (const ScaleTick& tick : AzimuthScaleTicks(f, ScaleRounding::kTruncate)) {
    if (tick.x < 0 || tick.x >= f.W) continue;
    EXPECT_EQ(r.panorama.pixel(tick.x, f.H - 25), qRgb(0, 0, 0)) << tick.azimuth;
    EXPECT_EQ(r.panorama.pixel(tick.x, f.H - 28) == qRgb(0, 0, 0), tick.major) << tick.azimuth;
  }
  EXPECT_EQ(r.panorama.pixel(f.Xc + 3, f.H - 1), qRgb(255, 255, 255));
  EXPECT_TRUE(r.detailedArea);
  EXPECT_EQ(r.upDownPosition, f.focalLength);
  EXPECT_TRUE(r.buttons.button10 && r.buttons.button9 && !r.buttons.button11 && !r.buttons.button4);
  EXPECT_EQ(r.buttons.button45, true);
  EXPECT_EQ(r.buttons.button46, false);
}

TEST(RedrawPanorama, DiamondDisplayIsFlat) {
  const PanoramaResult r = RedrawPanorama(DefaultViewpoint(EventOverlayMode::kSunPath));
  const PanoramaFrame& f = r.frame;
  // the top row's centres lie half a row down the gradient: blue has just dropped below 90
  EXPECT_EQ(r.panorama.pixel(f.W - 3, 0), qRgb(230, 160, 89));
  EXPECT_EQ(r.panorama.pixel(f.Xc, (f.topY + f.Yc) / 2), qRgb(125, 83, 69));
  EXPECT_EQ(r.panorama.pixel(f.Xc - 40, f.Yc - 20), qRgb(125, 83, 69));
  const int n = static_cast<int>(50 * f.zoom);
  EXPECT_EQ(r.panorama.pixel(f.W / 2, BandTop(r) + n + 5), qRgb(128, 128, 128));
  EXPECT_FALSE(r.buttons.button10 || r.buttons.button9);
  EXPECT_TRUE(r.buttons.button11 && r.buttons.button4);
  EXPECT_FALSE(r.buttons.button45.has_value());
}

TEST(RedrawPanorama, CloudBandFadesOverFiftyTimesTheZoomRows) {
  for (int size : {5, 0}) {
    PanoramaInputs in = DefaultViewpoint(EventOverlayMode::kSunPath);
    in.drawSize = size;
    const PanoramaResult r = RedrawPanorama(in);
    const int n = static_cast<int>(50 * r.frame.zoom);
    if (size == 5) {
      EXPECT_EQ(n, 50);
    } else {
      EXPECT_GE(n, 3);  // 3 rows, more when the 90° limit raised the zoom
    }
    const int ytop = BandTop(r), x = r.frame.Xc;
    EXPECT_EQ(r.panorama.pixel(x, ytop + n), qRgb(128, 128, 128)) << size;
    EXPECT_EQ(r.panorama.pixel(x, ytop), qRgb(125, 83, 69)) << size;  // not blended yet
    // half way down the fade the grey has about half covered the mountain's green 83
    const int g = qGreen(r.panorama.pixel(x, ytop + n / 2));
    EXPECT_GT(g, 95) << size;
    EXPECT_LT(g, 120) << size;
  }
}

TEST(RedrawPanorama, PearlDisplayAtNightDimsTheMountain) {
  // 2026/01/01 00:00 JST: the sun is far below the horizon, b = 0.6
  PanoramaInputs in = DefaultViewpoint(EventOverlayMode::kMoonPath);
  in.pearlInstant = EncodeDate(2026, 1, 1);
  const PanoramaResult day = RedrawPanorama(DefaultViewpoint());
  const PanoramaResult night = RedrawPanorama(in);
  EXPECT_FLOAT_EQ(night.sky.brightness, 0.6f);
  const int y = (day.frame.topY + day.frame.Yc) / 2;
  const QRgb d = day.panorama.pixel(day.frame.Xc, y);
  const QRgb nt = night.panorama.pixel(night.frame.Xc, y);
  EXPECT_NEAR(qBlue(nt), qBlue(d) * 0.6, 1.0);
  // b < 0.7 fills the cloud band with grey trunc(192 · 0.6) = 115
  const int n = static_cast<int>(50 * night.frame.zoom);
  EXPECT_EQ(night.panorama.pixel(night.frame.W / 2, BandTop(night) + n + 5), qRgb(115, 115, 115));
  EXPECT_EQ(night.buttons.button46, true);
}

TEST(RedrawPanorama, OutsideTheDetailedArea) {
  EXPECT_FALSE(InDetailedArea(34.4, 139.0));
  EXPECT_TRUE(InDetailedArea(34.51, 138.01));
  EXPECT_FALSE(InDetailedArea(35.0, 141.0));
  EXPECT_FALSE(RedrawPanorama(InputsAt(34.4f, 139.0f, 10)).detailedArea);
}

TEST(RedrawPanorama, InformationTextAndLabel) {
  const PanoramaResult r = RedrawPanorama(DefaultViewpoint());
  ASSERT_EQ(r.informationLines.size(), 5u);
  EXPECT_EQ(r.informationLines[0], "横浜ランドマークタワー   (よこはまらんどまーくたわー)");
  EXPECT_EQ(r.informationLines[1], "( 横浜市西区みなとみらい２丁目 )");
  EXPECT_EQ(r.informationLines[2], "緯度= 35.454719  / 経度= 139.630615  / 標高= 273m");
  EXPECT_EQ(r.informationLines[3], "Zorv山までの距離= 82Km / 方位= 263.2 度");
  EXPECT_EQ(r.informationLines[4],
            "（参考）レンズ焦点距離= " + std::to_string(r.frame.focalLength) + "mm");
  EXPECT_EQ(r.informationLabel,
            "( よこはまらんどまーくたわー )\r\n( 横浜市西区みなとみらい２丁目 )\r\n" +
                r.informationLines[2] + "\r\n" + r.informationLines[3]);
  // a short remark is left out
  PanoramaInputs in = DefaultViewpoint();
  in.viewpoint.remark = "港の塔";
  const PanoramaResult s = RedrawPanorama(in);
  EXPECT_EQ(s.informationLines.size(), 4u);
  EXPECT_EQ(s.informationLabel.rfind("( よこはまらんどまーくたわー )\r\n\r\n緯度= ", 0), 0u);
}

// ---------------------------------------------------------------- labels and the foreground

// A mountain on the straight line from the viewpoint towards the summit, at a fraction of the way.
MountainLabel OnTheWay(const Viewpoint& v, double fraction, float height, const char* name,
                       int cls = 0, double sideways = 0) {
  MountainLabel m;
  m.name = name;
  m.height = height;
  m.latitude = static_cast<float>(v.latitude + fraction * (SummitReference.latitude - v.latitude));
  m.longitude = static_cast<float>(v.longitude +
                                   fraction * (SummitReference.longitude - v.longitude) + sideways);
  m.labelClass = cls;
  return m;
}

TEST(Labels, ParseKeepsReadableLines) {
  const auto m = ParseMountainLabels(
      {"丹沢山,たんざわさん,1567,35.4743,139.1627,200", "壊れた行,x,高い,35,139,0", "short,1,2"});
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].name, "丹沢山");
  EXPECT_FLOAT_EQ(m[0].height, 1567);
  EXPECT_EQ(m[0].labelClass, 200);
}

TEST(Labels, CandidatesFarthestFirstAndTheNearLimit) {
  PanoramaInputs in = DefaultViewpoint();
  const PanoramaResult r = RedrawPanorama(in);
  const Viewpoint& v = in.viewpoint;
  const double ds = r.sight.summitDistanceKm;
  const std::vector<MountainLabel> ms = {
      OnTheWay(v, 0.1 / ds, 300, "0.1km"), OnTheWay(v, 0.5 / ds, 300, "0.5km"),
      OnTheWay(v, 0.4, 900, "mid"), OnTheWay(v, 0.6, 900, "far"),
      OnTheWay(v, 0.5, 900, "aside", 0, 3.0)};  // 3° of longitude off the line: out of view
  const LabelList l = BuildLabelList(ms, v.observer(), r.sight, r.frame);
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[0].name, "far");
  EXPECT_EQ(l[1].name, "mid");
  EXPECT_EQ(l[2].name, "0.5km");
  // near the summit's line of sight (the straight line in degrees bends off the great circle)
  EXPECT_NEAR(l[0].x, r.frame.Xc, 30);
  EXPECT_GT(l[0].yFoot, l[0].y);
}

TEST(Labels, ForegroundConesHideWhatIsBehindThem) {
  PanoramaInputs in = DefaultViewpoint();
  const Viewpoint& v = in.viewpoint;
  const double ds = 82.1;
  std::vector<MountainLabel> ms = {
      OnTheWay(v, 0.5 / ds, 300, "close"),          // under 1 km: no cone, no marker
      OnTheWay(v, 0.25, 1500, "near cone"),         // a big cone at 20 km
      OnTheWay(v, 0.5, 700, "behind"),              // lower on the screen than the cone's top
      OnTheWay(v, 0.45, 3000, "skyline"),           // above everything in front of it
      OnTheWay(v, 0.95, 2000, "near the summit")};  // within 10 km of the summit: no cone
  in.mountains = &ms;
  in.foreground = true;
  const PanoramaResult r = RedrawPanorama(in);
  std::vector<std::string> names;
  for (const LabelEntry& l : r.labels) names.push_back(l.name);
  EXPECT_EQ(names, (std::vector<std::string>{"skyline", "near cone"}));
  EXPECT_FLOAT_EQ(r.hmax, 3000);
  EXPECT_TRUE(r.detailedStyleGroupVisible);
  // the surviving marker pixels were painted over again
  for (const LabelEntry& l : r.labels) EXPECT_NE(r.panorama.pixel(l.x, l.y), qRgb(255, 0, 0));
  // the cone's haze covers the ground in front of it
  const LabelEntry& cone = r.labels[1];
  EXPECT_EQ(r.panorama.pixel(3, cone.yFoot + 2), qRgb(192, 225, 255));
}

TEST(Labels, SeaHorizonFromSeaLevelOutsideTheDetailedArea) {
  PanoramaInputs in = InputsAt(34.45f, 138.95f, 0);
  const Viewpoint& v = in.viewpoint;
  std::vector<MountainLabel> ms = {OnTheWay(v, 0.4, 900, "island")};
  in.mountains = &ms;
  in.foreground = true;
  const PanoramaResult r = RedrawPanorama(in);
  const SimpleForegroundResult& fg = r.foregroundDetail;
  // the eye is still 1.5 m high: the horizon lies 4.4 km away, slightly below the level line
  EXPECT_NEAR(fg.horizonDistanceKm, 4.37, 0.01);
  EXPECT_NEAR(fg.horizonDip, -2.12 * std::sqrt(1.5) / 60, 1e-6);
  ASSERT_TRUE(fg.horizonDrawn);
  EXPECT_EQ(r.panorama.pixel(5, fg.horizonY), qRgb(255, 0, 0));
  EXPECT_GT(fg.horizonY, r.frame.Yc);
  // inside the detailed area the same list draws no horizon
  PanoramaInputs inside = DefaultViewpoint();
  std::vector<MountainLabel> ms2 = {OnTheWay(inside.viewpoint, 0.4, 900, "hill")};
  inside.mountains = &ms2;
  inside.foreground = true;
  EXPECT_FALSE(RedrawPanorama(inside).foregroundDetail.horizonDrawn);
}

int CountColour(const QImage& img, const QRect& r, QRgb c) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += img.pixel(x, y) == c;
  return n;
}

TEST(Labels, ButtonCyclesAndPinnedNames) {
  LabelButtonOutcome o = PressLabelButton(LabelDisplayState::kOff, true);
  EXPECT_EQ(o.state, LabelDisplayState::kFamous);
  EXPECT_TRUE(o.drawLabels);
  o = PressLabelButton(o.state, true);
  EXPECT_EQ(o.state, LabelDisplayState::kAll);
  o = PressLabelButton(o.state, true);
  EXPECT_EQ(o.state, LabelDisplayState::kOff);
  EXPECT_TRUE(o.askToClearPinned);
  EXPECT_FALSE(o.drawLabels);
  EXPECT_FALSE(PressLabelButton(LabelDisplayState::kAll, false).askToClearPinned);

  QImage canvas(200, 200, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  std::vector<PinnedLabel> pinned = {{"大山", 50, 40, 300}};
  ResolvePinnedQuestion(false, pinned, canvas);
  EXPECT_EQ(pinned.size(), 1u);
  EXPECT_EQ(canvas.pixel(50, 45), qRgb(255, 0, 0));  // the red line below the peak
  EXPECT_GT(CountColour(canvas, QRect(44, 60, 12, 24), qRgb(0, 128, 0)), 100);  // class 300
  ResolvePinnedQuestion(true, pinned, canvas);
  EXPECT_TRUE(pinned.empty());
  // a style change clears them too; without the foreground no detailed drawing follows
  const StylePlan p = ApplyDrawingStyle(StyleChoice::kWatercolour, false);
  EXPECT_TRUE(p.clearPinned);
  EXPECT_FALSE(p.detailed.has_value());
  EXPECT_FALSE(p.labelButtonVisible);
  const StylePlan q = ApplyDrawingStyle(StyleChoice::kInk, true);
  EXPECT_EQ(q.detailed, DrawingStyle::kInk);
  EXPECT_EQ(q.beepsBeforeDetailed + q.beepsAfter, 2);
  EXPECT_EQ(ApplyDrawingStyle(StyleChoice::kSimple, true).beepsAfter, 0);
}

TEST(Labels, FamousLabelsOnTheirClassColour) {
  QImage canvas(300, 300, QImage::Format_RGB32);
  canvas.fill(Qt::black);
  LabelList labels(2);
  labels[0] = {"無名峰", 900, 60, 50, 100, 10, 35, 139, 5};
  labels[1] = {"大山", 1252, 150, 50, 100, 10, 35, 139, 100};
  DrawLabels(canvas, labels, LabelDisplayState::kFamous, {});
  const QRect plain(54, 70, 12, 36), famous(144, 70, 12, 24);
  EXPECT_EQ(CountColour(canvas, plain, qRgb(0, 0, 0)), 12 * 36);    // not famous: not drawn
  EXPECT_GT(CountColour(canvas, famous, qRgb(255, 0, 0)), 100);     // red background of class 100
  EXPECT_GT(CountColour(canvas, famous, qRgb(255, 255, 255)), 10);  // white text
  DrawLabels(canvas, labels, LabelDisplayState::kAll, {});
  EXPECT_GT(CountColour(canvas, plain, qRgb(255, 255, 255)), 150);  // now black on white
  EXPECT_GT(CountColour(canvas, plain, qRgb(0, 0, 0)), 10);
  EXPECT_EQ(canvas.pixel(60, 55), qRgb(255, 0, 0));  // its red line
}

// ---------------------------------------------------------------- buttons

TEST(HideButtons, ReturnToThePlainPanorama) {
  AppState s;
  s.eventOverlayMode = EventOverlayMode::kMoonPath;
  s.sunShown = s.moonShown = true;
  s.altitudeCorrectionOn = true;
  s.viewpoint.baseElevation = 100;
  s.viewpoint.elevation = 150;
  HideOutcome o = PressHideButton(HideButton::kButton48, s);
  EXPECT_EQ(s.eventOverlayMode, EventOverlayMode::kNone);
  EXPECT_FALSE(s.sunShown || s.moonShown || s.altitudeCorrectionOn);
  EXPECT_FLOAT_EQ(s.viewpoint.elevation, 100);
  EXPECT_EQ(o.redraw, HideOutcome::Redraw::kRedrawPanorama);
  EXPECT_TRUE(o.clearAltitudeItems);
  EXPECT_EQ(o.enable.front(), (std::pair<std::string, bool>{"Button44", true}));
  s.pickSelector = PickSelector::kMap;
  o = PressHideButton(HideButton::kButton11, s);
  EXPECT_EQ(s.pickSelector, PickSelector::kCatalogue);
  EXPECT_EQ(s.viewpoint.name, s.cataloguePick.name);
  EXPECT_EQ(o.hide.size(), 5u);
}

// ---------------------------------------------------------------- pictures

TEST(Pictures, DecodesTheCloudPictureAndRejectsGarbage) {
  const QImage kumo = DecodeJpeg(EmbeddedResource("kumo"));
  EXPECT_EQ(kumo.size(), QSize(3371, 217));
  const uint8_t junk[] = {0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3};
  EXPECT_TRUE(DecodeJpeg(junk).isNull());
  EXPECT_TRUE(DecodeJpeg({}).isNull());
}

// ---------------------------------------------------------------- the detailed terrain

TEST(TerrainColour, StylesDisplaysAndSurfaces) {
  TerrainContext c;
  c.sight.summitDistanceKm = 40;
  c.hmax = 2000;
  // near terrain of the photo-like style, no slope: the near colour
  EXPECT_EQ(TerrainSampleColour(c, 0, 500, 0, 0), (Rgb{15, 48, 32}));
  EXPECT_EQ(TerrainSampleColour(c, 40, 500, 0, 0), (Rgb{120, 155, 190}));
  EXPECT_EQ(TerrainSampleColour(c, 20, 500, 1, 10), (Rgb{110, 146, 146}));  // class 1 and slope
  EXPECT_EQ(TerrainSampleColour(c, 20, 500, 3, 10), (Rgb{140, 150, 150}));
  EXPECT_EQ(TerrainSampleColour(c, 20, 500, 8, 0), (Rgb{192, 192, 192}));
  // water and sea take the sky colour in daylight and darken at night
  EXPECT_EQ(TerrainSampleColour(c, 20, 500, 5, 0), kTerrainSkyColour);
  EXPECT_EQ(TerrainSampleColour(c, 20, -1, 0, 0), kTerrainSkyColour);
  c.mode = EventOverlayMode::kMoonPath;
  c.brightness = 0.6f;
  EXPECT_EQ(TerrainSampleColour(c, 20, -1, 0, 0), (Rgb{0, 40, 60}));
  EXPECT_EQ(TerrainSampleColour(c, 20, 500, 5, 0), (Rgb{50, 80, 120}));
  EXPECT_EQ(TerrainSampleColour(c, 40, 500, 0, 0), (Rgb{72, 93, 114}));
  // the sun display: dark brown by distance, and channels never wrap below 0
  c.mode = EventOverlayMode::kSunPath;
  c.brightness = 1;
  EXPECT_EQ(TerrainSampleColour(c, 40, 500, 0, 0), (Rgb{64, 48, 48}));
  EXPECT_EQ(TerrainSampleColour(c, 40, 500, 0, -50), (Rgb{14, 0, 0}));
  // watercolour lifts every channel by 100
  c.mode = EventOverlayMode::kNone;
  c.style = DrawingStyle::kWatercolour;
  EXPECT_EQ(TerrainSampleColour(c, 0, 500, 0, 0), (Rgb{115, 148, 132}));
  // ink wash: grey by distance and height; its own water colour
  c.style = DrawingStyle::kInk;
  EXPECT_EQ(TerrainSampleColour(c, 40, 0, 0, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(TerrainSampleColour(c, 0, 2000, 0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(TerrainSampleColour(c, 0, 2000, 5, 0), (Rgb{121, 150, 180}));
  EXPECT_EQ(TerrainSampleColour(c, 40, -1, 0, 0), (Rgb{255, 255, 255}));  // never past white
}

std::vector<std::pair<int, int>> CellOrder(double as, int vr, int vc) {
  std::vector<std::pair<int, int>> cells;
  ForEachTerrainCell(as, vr, vc, [&](int r, int s) { cells.push_back({r, s}); });
  return cells;
}

TEST(TerrainOrder, FarCellsFirstAndSplitAtTheViewpoint) {
  using P = std::pair<int, int>;
  auto c = CellOrder(10, 0, 0);  // looking north-north-east: rows outer north first, east first
  ASSERT_EQ(c.size(), 201u * 201u);
  EXPECT_EQ(c[0], P(1, 201));
  EXPECT_EQ(c[1], P(1, 200));
  EXPECT_EQ(c[201], P(2, 201));
  c = CellOrder(100, 0, 0);  // columns outer from the east, rows from the south
  EXPECT_EQ(c[0], P(201, 201));
  EXPECT_EQ(c[1], P(200, 201));
  c = CellOrder(200, 0, 0);
  EXPECT_EQ(c[0], P(201, 1));
  EXPECT_EQ(c[1], P(201, 2));
  c = CellOrder(300, 0, 0);
  EXPECT_EQ(c[0], P(1, 1));
  EXPECT_EQ(c[1], P(2, 1));
  // the viewpoint in row 100 of a tile drawn by columns: rows 1..99, then 201 down to 100
  c = CellOrder(300, 100, 50);
  EXPECT_EQ(c[98], P(99, 1));
  EXPECT_EQ(c[99], P(201, 1));
  EXPECT_EQ(c[200], P(100, 1));
  // with rows outer the columns split at the viewpoint's column
  c = CellOrder(10, 100, 50);
  EXPECT_EQ(c[0], P(1, 1));
  EXPECT_EQ(c[48], P(1, 49));
  EXPECT_EQ(c[49], P(1, 201));
  EXPECT_EQ(c[200], P(1, 50));
}

TEST(TerrainTriangle, WatercolourShiftsFrontFacesAndOutlinesBackFaces) {
  QImage a(20, 20, QImage::Format_RGB32), b(20, 20, QImage::Format_RGB32);
  a.fill(Qt::white);
  b.fill(Qt::white);
  const Rgb g{0, 200, 0};
  FillTerrainTriangle(Canvas::Of(a), DrawingStyle::kPhoto, {2, 2, g}, {12, 2, g}, {2, 12, g});
  FillTerrainTriangle(Canvas::Of(b), DrawingStyle::kWatercolour, {2, 2, g}, {12, 2, g}, {2, 12, g});
  EXPECT_EQ(a.pixel(2, 2), qRgb(0, 200, 0));
  EXPECT_EQ(b.pixel(2, 2), qRgb(255, 255, 255));
  EXPECT_EQ(b.pixel(2, 3), qRgb(0, 200, 0));
  // the back face: nothing in photo style, its open outline 1 -> 2 -> 3 in black in watercolour
  a.fill(Qt::white);
  b.fill(Qt::white);
  FillTerrainTriangle(Canvas::Of(a), DrawingStyle::kPhoto, {2, 2, g}, {2, 12, g}, {12, 2, g});
  FillTerrainTriangle(Canvas::Of(b), DrawingStyle::kWatercolour, {2, 2, g}, {2, 12, g}, {12, 2, g});
  EXPECT_EQ(CountNonBlack(a), 400);
  EXPECT_EQ(b.pixel(2, 7), qRgb(0, 0, 0));        // edge 1 -> 2
  EXPECT_EQ(b.pixel(7, 7), qRgb(0, 0, 0));        // edge 2 -> 3
  EXPECT_EQ(b.pixel(7, 2), qRgb(255, 255, 255));  // the closing edge 3 -> 1 is not drawn
}

const std::string kMeshFolder = std::string(VELKARO_BIN_DIR) + "/DATA/DATA1";

TEST(TerrainPanorama, SameImageOnOneOrTwoThreadsAndLabelVisibility) {
  PanoramaInputs in = InputsAt(35.42f, 138.87f, 985);  // Lake Yamanaka's shore
  in.clientWidth = 1000;
  in.clientHeight = 600;
  const PanoramaResult base = RedrawPanorama(in);
  const Viewpoint& v = in.viewpoint;
  const double ds = base.sight.summitDistanceKm;
  // one label on the mountain's flank facing us, at the ground's own height, and one hidden
  // behind the mountain
  MountainLabel front = OnTheWay(v, 0.5, 0, "in front");
  TileCache cache(kMeshFolder);
  front.height = static_cast<float>(TerrainElevationAt(cache, front.latitude, front.longitude));
  ASSERT_GT(front.height, 1000);
  const std::vector<MountainLabel> ms = {front, OnTheWay(v, 1 + 8 / ds, 1500, "behind")};
  TerrainContext ctx;
  ctx.viewpoint = v;
  ctx.sight = base.sight;
  ctx.frame = base.frame;
  ctx.style = DrawingStyle::kPhoto;
  QImage one = base.panorama.copy(), two = base.panorama.copy();
  ctx.threads = 1;
  int progressCalls = 0;
  const TerrainResult r1 = RenderTerrainPanorama(
      one, ctx, ms, kMeshFolder,
      [&](int i, int n) {
        ++progressCalls;
        EXPECT_LE(i, n);
      },
      1000);
  ctx.threads = 2;
  const TerrainResult r2 = RenderTerrainPanorama(two, ctx, ms, kMeshFolder, nullptr, 1000);
  ASSERT_GT(r1.tilesDrawn, 0);
  EXPECT_EQ(progressCalls, r1.tilesDrawn);
  EXPECT_EQ(one, two);
  EXPECT_NE(one, base.panorama);
  ASSERT_EQ(r1.labels.size(), 1u);
  EXPECT_EQ(r1.labels[0].name, "in front");
  // its marker pixel took the colour of the pixel above it
  EXPECT_EQ(one.pixel(r1.labels[0].x, r1.labels[0].y - 1),
            one.pixel(r1.labels[0].x, r1.labels[0].y - 2));
  // the summit's own pixel is terrain now, not sky
  EXPECT_NE(one.pixel(base.frame.Xc, base.frame.Yc), qRgb(192, 225, 255));

  const QImage bar = DrawProgressBar(1, 4);
  EXPECT_EQ(bar.size(), QSize(164, 16));
  EXPECT_EQ(bar.pixel(40, 8), qRgb(0, 0, 255));
  EXPECT_EQ(bar.pixel(41, 8), qRgb(255, 255, 255));

  bool busy = true;
  EXPECT_FALSE(
      DrawDetailedView(busy, false, one, ctx, ms, kMeshFolder, nullptr, true, false, 1000).drawn);
  busy = false;
  EXPECT_FALSE(
      DrawDetailedView(busy, true, one, ctx, ms, kMeshFolder, nullptr, true, false, 1000).drawn);
  const DetailedViewOutcome d =
      DrawDetailedView(busy, false, one, ctx, ms, kMeshFolder, nullptr, true, true, 1000);
  EXPECT_TRUE(d.drawn && d.beep && d.enableDetailedButtons);
  EXPECT_EQ(d.presentations, 2);
  EXPECT_FALSE(busy);
}

}  // namespace
}  // namespace velkaro
