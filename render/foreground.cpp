#include "render/foreground.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/numeric.h"
#include "render/raster.h"
#include "render/text_draw.h"

namespace velkaro {

bool InDetailedArea(double latitude, double longitude) {
  return 34.5 < latitude && latitude < 36.0833333333 && 138 < longitude && longitude < 141;
}

namespace {

constexpr uint32_t kMarkerRed = 0xFFFF0000u;

bool OnTheMountain(const LabelEntry& l) {
  return 35.3174 < l.latitude && l.latitude < 35.4061 && 138.677 < l.longitude &&
         l.longitude < 138.78157;
}

uint8_t Low8(int v) {
  return static_cast<uint8_t>(v & 0xFF);
}

Rgb PeakColour(double d, double ds, EventOverlayMode mode, float b) {
  if (mode == EventOverlayMode::kSunPath) {
    const double m = std::min(1.0, std::sqrt(d / ds)) * 0.7 + 0.3;
    return {Low8(NearestInt(79 * m)), Low8(NearestInt(63 * m)), Low8(NearestInt(63 * m))};
  }
  const double h = ds / 2;
  double c[3];
  if (d > h) {
    const double m = std::min(1.0, std::sqrt((d - h) / (ds - h)));
    const double far[3] = {120, 155, 190}, mid[3] = {60, 96, 96};
    for (int k = 0; k < 3; ++k) c[k] = Nearest(m * far[k] + (1 - m) * mid[k]);
  } else {
    const double m = std::max(0.0, d / h);
    const double mid[3] = {60, 96, 96}, nearC[3] = {15, 64, 32};
    for (int k = 0; k < 3; ++k) c[k] = Nearest(m * mid[k] + (1 - m) * nearC[k]);
  }
  if (mode == EventOverlayMode::kMoonPath && b < 1)
    for (double& v : c) v = Nearest(v * b);
  return {Low8(static_cast<int>(c[0])), Low8(static_cast<int>(c[1])), Low8(static_cast<int>(c[2]))};
}

Rgb FootColour(Rgb p, EventOverlayMode mode, float b) {
  if (mode == EventOverlayMode::kSunPath)
    return {Low8(TruncInt(1.5 * p.r)), Low8(TruncInt(1.5 * p.g)), Low8(TruncInt(1.5 * p.b))};
  if (mode == EventOverlayMode::kMoonPath && b < 1) {
    auto lift = [](uint8_t v) { return static_cast<uint8_t>(std::min(255, TruncInt(1.5 * v))); };
    return {lift(p.r), lift(p.g), lift(p.b)};
  }
  return {192, 225, 255};
}

}  // namespace

SimpleForegroundResult DrawSimpleForeground(QImage& panorama, const LabelList& labels,
                                            const Viewpoint& viewpoint, const SummitSight& sight,
                                            const PanoramaFrame& frame, EventOverlayMode mode,
                                            float brightness, int markerOffset) {
  SimpleForegroundResult out;
  const Canvas cv = Canvas::Of(panorama);
  const double ds = sight.summitDistanceKm;
  const int W = frame.W, H = frame.H;
  {
    QPainter painter(&panorama);
    for (const LabelEntry& l : labels) {
      const double d = l.distanceKm;
      if (!(1 <= d && d <= ds - 10 && d <= ds)) continue;
      if (!OnTheMountain(l)) {
        const Rgb p = PeakColour(d, ds, mode, brightness);
        const Rgb v = FootColour(p, mode, brightness);
        const int r = NearestInt(10 * std::min(1.0, (ds - d) / ds) + 3);
        const double o = r * 0.7071;
        const int xl = NearestInt(l.x - o), xr = NearestInt(l.x + o);
        const int ty = NearestInt(l.y + r * 0.2929);
        const int w = NearestInt(o + (l.yFoot - l.y));
        const QColor pc(p.r, p.g, p.b);
        painter.setPen(pc);
        painter.setBrush(pc);
        // a GDI-style ellipse: the bounding box's right and bottom edges are outside
        painter.drawEllipse(l.x - r, l.y, 2 * r - 1, 2 * r - 1);
        FillShadedTriangle(cv, {xl, ty, p}, {l.x + w, l.yFoot, v}, {l.x - w, l.yFoot, v});
        FillShadedTriangle(cv, {xr, ty, p}, {l.x + w, l.yFoot, v}, {l.x - w, l.yFoot, v});
        FillRect(cv, 0, l.yFoot, W, H, PackRgb(v));
      }
      cv.set(l.x, l.y - markerOffset, kMarkerRed);
    }

    if (!InDetailedArea(viewpoint.latitude, viewpoint.longitude) && !labels.empty()) {
      const double R = 6378.136f;
      const double eye = static_cast<double>(viewpoint.elevation) + kEyeHeight;
      const double f = eye / 1000 + R;
      out.horizonDistanceKm = static_cast<float>(std::sqrt(f * f - R * R));
      const LabelEntry& nearest = labels.back();
      if (out.horizonDistanceKm < nearest.distanceKm) {
        out.horizonDip = static_cast<float>(-2.12 * std::sqrt(eye) / 60);
        const int yH =
            std::max(100, NearestInt(frame.Yc - (out.horizonDip - sight.e2600) * frame.ppd));
        out.horizonY = yH;
        if (nearest.yFoot > yH) {
          out.horizonDrawn = true;
          painter.setPen(QColor(255, 0, 0));
          painter.drawLine(0, yH, W - 1, yH);
          painter.setFont(DrawingFont(12));
          const QString t1 = ToQString(kHorizonText1), t2 = ToQString(kHorizonText2);
          const QFontMetrics fm(painter.font());
          painter.drawText(W - 10 - fm.horizontalAdvance(t1), yH + 5 + fm.ascent(), t1);
          painter.drawText(W - 10 - fm.horizontalAdvance(t2), yH + 20 + fm.ascent(), t2);
        }
      }
    }
  }

  // A label stays when its marker is still red: nothing nearer was drawn over its peak.
  for (const LabelEntry& l : labels) {
    const int mx = l.x, my = l.y - markerOffset;
    if (!cv.contains(mx, my) || cv.row(my)[mx] != kMarkerRed) continue;
    cv.row(my)[mx] = cv.contains(mx, my - 1) ? cv.row(my - 1)[mx] : cv.row(my)[mx];
    out.labels.push_back(l);
    out.hmax = std::max(out.hmax, l.height);
  }
  return out;
}

}  // namespace velkaro
