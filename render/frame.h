#pragma once

#include <QImage>
#include <array>
#include <optional>

#include "core/app_state.h"
#include "core/sight_line.h"

namespace velkaro {

// Width of the main panel to the right of the panorama; the panorama takes the rest of the client
// width, and 30 rows less than the client height.
inline constexpr int kMainPanelWidth = 489;
inline constexpr int kPanoramaHeightMargin = 30;

// The eight draw sizes, left to right (RadioButton10 .. RadioButton17); 1.0 is the default.
inline constexpr std::array<float, 8> kDrawSizeZoom = {0.06f, 0.2f, 0.3f, 0.5f,
                                                       0.7f,  1.0f, 1.4f, 2.0f};
inline constexpr int kDefaultDrawSize = 5;

// Where the summit grid's projection reached: extremes of the relative azimuths and the largest
// relative elevation (initial values as the projection starts).
struct GridExtremes {
  float maxRelAz = -200;
  float minRelAz = 400;
  float maxRelEl = -20;
};

// The single linear rule that places every direction on the panorama: azimuth to the right,
// elevation upwards, ppd pixels per degree on both axes, the summit's 2600 m point on (Xc, Yc).
struct PanoramaFrame {
  int W = 0;
  int H = 0;
  float zoom = 1.0f;  // may be raised by the 90° field limit
  int Xc = 0;
  int Yc = 0;
  float spread = 0;  // angular width of the mountain
  float hfov = 0;
  float leftAzimuth = 0;
  float rightAzimuth = 0;
  float ppd = 0;
  float savedPpd = 0;   // drawings that change ppd for a while restore it from here
  int focalLength = 0;  // mm, multiple of 5
  int topY = 0;         // y of the highest point of the summit grid
  int scaleBaseline = 0;
  // The summit sight the frame is anchored on.
  double summitAzimuth = 0;
  double e2600 = 0;
  // e2600 plus the grid's largest relative elevation: the mountain's highest elevation angle.
  double highestElevation = 0;
};

// Azimuth relative to the summit's, brought into [-180, 180].
double RelativeAzimuth(double azimuth, double summitAzimuth);

// Projection of an azimuth and an elevation angle (degrees), truncating towards zero.
int ProjectX(const PanoramaFrame& frame, double azimuth);
int ProjectY(const PanoramaFrame& frame, double elevation);
// The same with the nearest integer (halves to even), as the label list places its peaks.
int ProjectXNearest(const PanoramaFrame& frame, double azimuth);
int ProjectYNearest(const PanoramaFrame& frame, double elevation);

// The frame of one redraw: from the window's client size, the selected draw size's zoom, the
// summit sight and the projected grid's extremes.
PanoramaFrame ComputeFrame(int clientWidth, int clientHeight, float zoom, const SummitSight& sight,
                           const GridExtremes& extremes);

// Focal length (mm, multiple of 5) whose 36 mm wide frame spans hfov; 0 becomes 100.
int FocalLengthFor(float hfov);

// The draw size an event display selects for an azimuth offset (degrees), from the tolerance angle
// of the last redraw: an index into kDrawSizeZoom, or nothing when the size stays as it is.
std::optional<int> ChooseDrawSize(float offset, float toleranceDeg);

// The window canvas gets the panorama at (0, 0); PresentPanorama then ORs the overlay (white on
// black) onto it when an overlay is on and its sun or moon layer is shown. A canvas of another
// size is replaced by one of the panorama's size.
void CopyPanoramaToWindow(QImage& canvas, const QImage& panorama);
void PresentPanorama(QImage& canvas, const QImage& panorama, const QImage& overlay,
                     EventOverlayMode mode, bool sunShown, bool moonShown);

// The 315 x 210 lens preview (Image2) and the map screen's small copy (Image5).
inline constexpr int kLensPreviewWidth = 315;
inline constexpr int kLensPreviewHeight = 210;
struct LensPreview {
  QImage preview;
  QImage mapCopy;
};
// lensFocal is UpDown1's position; nothing when it cannot be read (1000 is used then).
LensPreview RefreshLensPreview(const QImage& panorama, const PanoramaFrame& frame,
                               std::optional<int> lensFocal);

// Copies the source rectangle into the destination rectangle, dropping or repeating rows and
// columns without averaging. Parts outside either image are left alone.
void StretchNoAverage(const QImage& src, int sx, int sy, int sw, int sh, QImage& dst, int dx,
                      int dy, int dw, int dh);

}  // namespace velkaro
