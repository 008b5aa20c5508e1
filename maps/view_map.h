#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velkaro {

// The view map picture: an equirectangular map on the Tokyo datum, 1600 pixels per degree of
// longitude from 138° E and 2400 per degree of latitude from 36° 05′ N down to 34° 35′ N. A pixel
// stands for its centre, which is also the position of a terrain tile sample.
inline constexpr int kViewMapWidth = 4800;
inline constexpr int kViewMapHeight = 3600;
inline constexpr double kViewMapWest = 138.0;
inline constexpr double kViewMapNorth = 36.083333333333333;  // 36° 05′
inline constexpr double kViewMapPixelsPerLon = 1600.0;
inline constexpr double kViewMapPixelsPerLat = 2400.0;

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colours of the picture. A visible place carries its visibility value G in the green channel.
inline constexpr Rgb kHiddenLandColour{255, 0, 0};
inline constexpr Rgb kHiddenWaterColour{128, 0, 255};
inline constexpr Rgb kSummitAreaColour{255, 255, 255};
inline Rgb SeenLandColour(int g) {
  const auto v = static_cast<uint8_t>(g);
  return {v, v, v};
}
inline Rgb SeenWaterColour(int g) {
  return {0, static_cast<uint8_t>(g), 255};
}

// --- Georeference --------------------------------------------------------------------------

struct ViewMapPixel {
  int x = 0;
  int y = 0;
  bool inside = false;  // false when the point lies outside the picture
};
// The pixel holding a Tokyo-datum point: x = trunc((λ − 138) × 1600), y = trunc((36°05′ − φ) ×
// 2400).
ViewMapPixel ViewMapPixelOf(double tokyoLatitude, double tokyoLongitude);

struct TokyoPoint {
  double latitude = 0;
  double longitude = 0;
};
// The Tokyo-datum centre of a pixel.
TokyoPoint ViewMapPixelCentre(int x, int y);

// --- The picture in memory -----------------------------------------------------------------

// One palette index per pixel, rows top to bottom, and the palette they index.
struct ViewMapImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;
  std::vector<Rgb> palette;  // at most 256 colours

  // Pixels outside the picture, and indices beyond the palette, read as black.
  Rgb ColourAt(int x, int y) const;
};

// Decodes the first image of a GIF into an index buffer and its palette (the image's own colour
// table, else the global one). nullopt with `error` set for anything that is not a readable GIF.
std::optional<ViewMapImage> DecodeViewMapGif(std::span<const uint8_t> bytes,
                                             std::string* error = nullptr);
// Writes a non-interlaced 8-bit GIF of the picture with its exact palette (padded with black to a
// power of two). nullopt with `error` set when giflib fails or the picture is malformed.
std::optional<std::vector<uint8_t>> EncodeViewMapGif(const ViewMapImage& image,
                                                     std::string* error = nullptr);

// The embedded view map, decoded on first use. The bytes must outlive the object (an embedded
// resource lives as long as the program). Owned by its user and passed explicitly.
class ViewMap {
 public:
  explicit ViewMap(std::span<const uint8_t> gifBytes) : bytes_(gifBytes) {}
  explicit ViewMap(ViewMapImage image);

  // nullptr when the bytes are not a picture of the view map's size.
  const ViewMapImage* image();
  const std::string& error() const { return error_; }

 private:
  std::span<const uint8_t> bytes_;
  bool decoded_ = false;
  std::optional<ViewMapImage> image_;
  std::string error_;
};

// The visibility value (green channel, 0..255) of the pixel under a world-datum point: converted
// with the approximate inverse datum conversion, then located as ViewMapPixelOf does. Points
// outside the picture, or a picture that cannot be read, give 0.
int VisibilityValueAt(ViewMap& map, double latitude, double longitude);

// --- The map window of the map screen ------------------------------------------------------

// Box pixels per degree at zoom 1: 2400 of latitude, 2400 × cos 35.19° of longitude.
inline constexpr double kBoxLatitudeScale = 2400.0;
inline constexpr double kBoxLongitudeScale = 2400.0 * 0.817260648428;

// What one drawing of the view map box shows, for a Tokyo-datum centre, a w × h box and zoom z.
struct ViewMapWindow {
  double centreLatitude = 0;  // Tokyo datum
  double centreLongitude = 0;
  double zoom = 1;
  int centreX = 0;  // trunc(w/2) + 1
  int centreY = 0;  // trunc(h/2) + 1
  double top = 0;
  double bottom = 0;
  double left = 0;
  double right = 0;
  // The rectangle of the picture stretched over the whole box.
  int sourceX = 0;
  int sourceY = 0;
  int sourceWidth = 0;
  int sourceHeight = 0;
};
ViewMapWindow ComputeViewMapWindow(double tokyoLatitude, double tokyoLongitude, int boxWidth,
                                   int boxHeight, double zoom);

// The place under box pixel (X, Y) for a map centred on (centreLatitude, centreLongitude):
// φ = (cy − Y)/ky/z + φc, λ = (X − cx)/kx/z + λc, in the datum of the centre.
TokyoPoint PlaceAtBoxPixel(double centreLatitude, double centreLongitude, int centreX, int centreY,
                           double zoom, int x, int y);

struct BoxPixel {
  int x = 0;
  int y = 0;
};
// Where a Tokyo-datum place is marked in the box: py = trunc((φc − φ) × ky × z + 0.5) + cy,
// px = trunc((λ − λc) × kx × z + 0.5) + cx.
BoxPixel BoxPixelOfPlace(const ViewMapWindow& window, double tokyoLatitude, double tokyoLongitude);

// The magnifier's gauge: the olive bar's height over the 50-pixel mountain picture for a value G.
int VisibilityBarHeight(int g);

// The zoom steps of the buttons ("+" ×1.5 up to 10, "-" ÷1.5 down to 0.3) and of the wheel
// (×1.2 up to 10, ÷1.2 down to 0.4).
double ZoomInByButton(double zoom);
double ZoomOutByButton(double zoom);
double ZoomInByWheel(double zoom);
double ZoomOutByWheel(double zoom);

}  // namespace velkaro
