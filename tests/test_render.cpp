#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>

#include "render/frame.h"
#include "render/raster.h"

namespace velkaro {
namespace {

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
  EXPECT_EQ(ProjectX(f, 5), 250);     // 15° right, across north
  EXPECT_EQ(ProjectX(f, 349.95), 99);  // -0.5 px truncates towards zero
  EXPECT_EQ(ProjectY(f, 1.25), 47);   // 47.5 -> 47
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
  const ShadedVertex tri[][3] = {{{-20, 5, {10, 200, 30}}, {70, 20, {250, 0, 90}}, {5, 80, {0, 0, 255}}},
                                 {{30, -9, {1, 2, 3}}, {60, 40, {200, 100, 0}}, {10, 33, {9, 250, 9}}}};
  for (const auto& t : tri) FillShadedTriangle(Canvas::Of(whole), t[0], t[1], t[2]);
  const Canvas all = Canvas::Of(banded);
  for (int top = 0; top < 64; top += 13)
    for (const auto& t : tri) FillShadedTriangle(all.Band(top, top + 13), t[0], t[1], t[2]);
  EXPECT_EQ(whole, banded);
}

}  // namespace
}  // namespace velkaro
