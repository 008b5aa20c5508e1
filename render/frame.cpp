#include "render/frame.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/constants.h"
#include "core/numeric.h"

namespace velkaro {

double RelativeAzimuth(double azimuth, double summitAzimuth) {
  double rel = azimuth - summitAzimuth;
  if (rel > 180) rel -= 360;
  if (rel < -180) rel += 360;
  return rel;
}

int ProjectX(const PanoramaFrame& f, double azimuth) {
  return TruncInt(RelativeAzimuth(azimuth, f.summitAzimuth) * f.ppd + f.Xc);
}
int ProjectY(const PanoramaFrame& f, double elevation) {
  return TruncInt(f.Yc - (elevation - f.e2600) * f.ppd);
}
int ProjectXNearest(const PanoramaFrame& f, double azimuth) {
  return NearestInt(RelativeAzimuth(azimuth, f.summitAzimuth) * f.ppd + f.Xc);
}
int ProjectYNearest(const PanoramaFrame& f, double elevation) {
  return NearestInt(f.Yc - (elevation - f.e2600) * f.ppd);
}

int FocalLengthFor(float hfov) {
  const int focal = 5 * TruncInt(18.0 / std::tan(hfov * kPi / 180.0 / 2.0) / 5.0);
  return focal == 0 ? 100 : focal;
}

PanoramaFrame ComputeFrame(int clientWidth, int clientHeight, float zoom, const SummitSight& sight,
                           const GridExtremes& ex) {
  PanoramaFrame f;
  f.summitAzimuth = sight.summitAzimuth;
  f.e2600 = sight.e2600;
  f.W = clientWidth - kMainPanelWidth;
  f.H = clientHeight - kPanoramaHeightMargin;
  f.zoom = zoom;
  f.Xc = TruncInt(f.W / 2.0);
  f.Yc = TruncInt(0.42 * f.H);
  if (f.zoom > 1) f.Yc = TruncInt((0.1 * f.zoom + 0.42) * f.H);
  f.spread = ex.maxRelAz - ex.minRelAz;
  f.hfov = f.spread / f.zoom;
  if (f.hfov > 90) {
    f.hfov = 90;
    f.zoom = f.spread / 90;
  }
  f.leftAzimuth = static_cast<float>(sight.summitAzimuth - f.hfov / 2.0);
  if (f.leftAzimuth < 0) f.leftAzimuth += 360;
  f.rightAzimuth = static_cast<float>(sight.summitAzimuth + f.hfov / 2.0);
  if (f.rightAzimuth > 360) f.rightAzimuth -= 360;
  f.ppd = f.W * f.zoom / f.spread;
  f.savedPpd = f.ppd;
  f.focalLength = FocalLengthFor(f.hfov);
  f.highestElevation = sight.e2600 + ex.maxRelEl;
  f.topY = TruncInt(f.Yc - ex.maxRelEl * f.ppd);
  f.scaleBaseline = f.H - 28;
  return f;
}

std::optional<int> ChooseDrawSize(float offset, float toleranceDeg) {
  const float b = toleranceDeg / offset;
  if (b >= 0.8f) return 4;
  if (b >= 0.6f) return std::nullopt;
  if (b >= 0.3f) return 3;
  if (b >= 0.1f) return 2;
  if (b >= 0.03f) return 1;
  return 0;
}

void CopyPanoramaToWindow(QImage& canvas, const QImage& panorama) {
  if (canvas.size() != panorama.size() || canvas.format() != QImage::Format_RGB32) {
    canvas = panorama.copy();
    return;
  }
  for (int y = 0; y < panorama.height(); ++y) {
    std::copy_n(reinterpret_cast<const uint32_t*>(panorama.constScanLine(y)), panorama.width(),
                reinterpret_cast<uint32_t*>(canvas.scanLine(y)));
  }
}

void PresentPanorama(QImage& canvas, const QImage& panorama, const QImage& overlay,
                     EventOverlayMode mode, bool sunShown, bool moonShown) {
  CopyPanoramaToWindow(canvas, panorama);
  if (mode == EventOverlayMode::kNone || !(sunShown || moonShown) || overlay.isNull()) return;
  const int w = std::min(canvas.width(), overlay.width());
  const int h = std::min(canvas.height(), overlay.height());
  for (int y = 0; y < h; ++y) {
    const auto* src = reinterpret_cast<const uint32_t*>(overlay.constScanLine(y));
    auto* dst = reinterpret_cast<uint32_t*>(canvas.scanLine(y));
    for (int x = 0; x < w; ++x) dst[x] |= src[x];
  }
}

void StretchNoAverage(const QImage& src, int sx, int sy, int sw, int sh, QImage& dst, int dx,
                      int dy, int dw, int dh) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  // The source column of every destination column, once.
  // The source column of every destination column inside both images, once.
  const int srcW = src.width(), srcH = src.height(), dstW = dst.width(), dstH = dst.height();
  std::vector<int> column(static_cast<size_t>(dw));
  for (int i = 0; i < dw; ++i) {
    const int fx = sx + static_cast<int>(static_cast<int64_t>(i) * sw / dw);
    const int tx = dx + i;
    column[i] = (tx < 0 || tx >= dstW || fx < 0 || fx >= srcW) ? -1 : fx;
  }
  for (int j = 0; j < dh; ++j) {
    const int ty = dy + j;
    const int fy = sy + static_cast<int>(static_cast<int64_t>(j) * sh / dh);
    if (ty < 0 || ty >= dstH || fy < 0 || fy >= srcH) continue;
    const auto* in = reinterpret_cast<const uint32_t*>(src.constScanLine(fy));
    auto* out = reinterpret_cast<uint32_t*>(dst.scanLine(ty));
    for (int i = 0; i < dw; ++i)
      if (column[i] >= 0) out[dx + i] = in[column[i]];
  }
}

LensPreview RefreshLensPreview(const QImage& panorama, const PanoramaFrame& f,
                               std::optional<int> lensFocal) {
  LensPreview out;
  out.preview = QImage(kLensPreviewWidth, kLensPreviewHeight, QImage::Format_RGB32);
  out.preview.fill(Qt::white);
  out.mapCopy = out.preview.copy();
  if (f.W <= 0 || f.H <= 0) return out;
  const double L = lensFocal.value_or(1000);
  const int e = TruncInt(f.W * 24.0 / 36.0);
  const int fOff = TruncInt((e - f.H) / 2.0);
  const double F = f.focalLength == 0 ? 100 : f.focalLength;
  const double l = L / F;
  const double m = kLensPreviewWidth * l;
  const double r = f.H * m / f.W;
  const int wholeX = TruncInt((kLensPreviewWidth - TruncInt(m)) / 2.0);
  const int wholeY = TruncInt((kLensPreviewHeight - TruncInt(r)) / 2.0);
  if (l >= 1) {
    const int sw = TruncInt(f.W / l);
    const int t = TruncInt(e / l);
    const int sx = TruncInt((f.W - sw) / 2.0);
    int sy = TruncInt((e - t) / 2.0);
    if (t > f.H) {
      const double k = l * kLensPreviewWidth / f.W;
      const int destY = TruncInt((t - f.H) / 2.0 * k);
      const int destH = TruncInt(k * f.H);
      StretchNoAverage(panorama, sx, 0, sw, f.H, out.preview, 0, destY, kLensPreviewWidth, destH);
    } else {
      sy = std::min(sy - fOff, f.topY - 10);
      StretchNoAverage(panorama, sx, sy, sw, t, out.preview, 0, 0, kLensPreviewWidth,
                       kLensPreviewHeight);
    }
  } else {
    StretchNoAverage(panorama, 0, 0, f.W, f.H, out.preview, wholeX, wholeY, TruncInt(m),
                     TruncInt(r));
  }
  StretchNoAverage(panorama, 0, 0, f.W, f.H, out.mapCopy, wholeX, wholeY, TruncInt(m), TruncInt(r));
  return out;
}

}  // namespace velkaro
