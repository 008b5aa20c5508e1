#include "maps/view_map.h"

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/datum.h"
#include "core/numeric.h"

namespace velkaro {

ViewMapPixel ViewMapPixelOf(double tokyoLatitude, double tokyoLongitude) {
  const double fx = Trunc((tokyoLongitude - kViewMapWest) * kViewMapPixelsPerLon);
  const double fy = Trunc((kViewMapNorth - tokyoLatitude) * kViewMapPixelsPerLat);
  ViewMapPixel p;
  // A point a hair west of 138° truncates to 0 as well; only the covered square is inside.
  p.inside = tokyoLongitude >= kViewMapWest && tokyoLatitude <= kViewMapNorth &&
             fx < kViewMapWidth && fy < kViewMapHeight;
  if (std::isfinite(fx) && std::isfinite(fy)) {
    p.x = static_cast<int>(std::clamp(fx, -1e9, 1e9));
    p.y = static_cast<int>(std::clamp(fy, -1e9, 1e9));
  } else {
    p.inside = false;
  }
  return p;
}

TokyoPoint ViewMapPixelCentre(int x, int y) {
  return {kViewMapNorth - (y + 0.5) / kViewMapPixelsPerLat,
          kViewMapWest + (x + 0.5) / kViewMapPixelsPerLon};
}

Rgb ViewMapImage::ColourAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return {};
  const uint8_t index = indices[static_cast<size_t>(y) * width + x];
  return index < palette.size() ? palette[index] : Rgb{};
}

// --- GIF -----------------------------------------------------------------------------------

namespace {

struct ByteReader {
  std::span<const uint8_t> bytes;
  size_t position = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* out, int count) {
  auto* reader = static_cast<ByteReader*>(gif->UserData);
  const size_t available = reader->bytes.size() - reader->position;
  const size_t n = std::min(available, static_cast<size_t>(std::max(count, 0)));
  std::memcpy(out, reader->bytes.data() + reader->position, n);
  reader->position += n;
  return static_cast<int>(n);
}

int WriteBytes(GifFileType* gif, const GifByteType* data, int count) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + count);
  return count;
}

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

std::string GifError(const char* what, int code) {
  const char* text = GifErrorString(code);
  return std::string(what) + ": " + (text ? text : "unknown giflib error");
}

struct DecoderCloser {
  void operator()(GifFileType* gif) const {
    int ignored = 0;
    DGifCloseFile(gif, &ignored);
  }
};

// Reads one image's rows into `image`, de-interlacing when the image is stored interlaced.
bool ReadImageRows(GifFileType* gif, ViewMapImage& image, std::string* error) {
  const GifImageDesc& desc = gif->Image;
  if (desc.Left != 0 || desc.Top != 0 || desc.Width != gif->SWidth || desc.Height != gif->SHeight) {
    SetError(error, "the GIF's image does not cover its whole screen");
    return false;
  }
  image.width = desc.Width;
  image.height = desc.Height;
  image.indices.assign(static_cast<size_t>(image.width) * image.height, 0);
  const auto readRow = [&](int y) {
    return DGifGetLine(gif, image.indices.data() + static_cast<size_t>(y) * image.width,
                       image.width) == GIF_OK;
  };
  if (desc.Interlace) {
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (int y = kStart[pass]; y < image.height; y += kStep[pass]) {
        if (!readRow(y)) {
          SetError(error, GifError("GIF rows", gif->Error));
          return false;
        }
      }
    }
  } else {
    for (int y = 0; y < image.height; ++y) {
      if (!readRow(y)) {
        SetError(error, GifError("GIF rows", gif->Error));
        return false;
      }
    }
  }
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!map || map->ColorCount <= 0 || !map->Colors) {
    SetError(error, "the GIF has no colour table");
    return false;
  }
  image.palette.clear();
  for (int i = 0; i < std::min(map->ColorCount, 256); ++i) {
    image.palette.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
  }
  return true;
}

}  // namespace

std::optional<ViewMapImage> DecodeViewMapGif(std::span<const uint8_t> bytes, std::string* error) {
  ByteReader reader{bytes, 0};
  int code = 0;
  std::unique_ptr<GifFileType, DecoderCloser> gif(DGifOpen(&reader, ReadBytes, &code));
  if (!gif) {
    SetError(error, GifError("GIF header", code));
    return std::nullopt;
  }
  if (gif->SWidth <= 0 || gif->SHeight <= 0 ||
      static_cast<long long>(gif->SWidth) * gif->SHeight > 64LL * 1024 * 1024) {
    SetError(error, "the GIF's size is not usable");
    return std::nullopt;
  }
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) != GIF_OK) {
      SetError(error, GifError("GIF record", gif->Error));
      return std::nullopt;
    }
    if (record == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif.get()) != GIF_OK) {
        SetError(error, GifError("GIF image", gif->Error));
        return std::nullopt;
      }
      ViewMapImage image;
      if (!ReadImageRows(gif.get(), image, error)) return std::nullopt;
      return image;
    }
    if (record == EXTENSION_RECORD_TYPE) {
      int extCode = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &extCode, &block) != GIF_OK) {
        SetError(error, GifError("GIF extension", gif->Error));
        return std::nullopt;
      }
      while (block) {
        if (DGifGetExtensionNext(gif.get(), &block) != GIF_OK) {
          SetError(error, GifError("GIF extension", gif->Error));
          return std::nullopt;
        }
      }
      continue;
    }
    SetError(error, "the GIF holds no image");
    return std::nullopt;
  }
}

std::optional<std::vector<uint8_t>> EncodeViewMapGif(const ViewMapImage& image,
                                                     std::string* error) {
  if (image.width <= 0 || image.height <= 0 || image.width > 65535 || image.height > 65535 ||
      image.indices.size() != static_cast<size_t>(image.width) * image.height ||
      image.palette.empty() || image.palette.size() > 256) {
    SetError(error, "the picture to encode is malformed");
    return std::nullopt;
  }
  int bits = 1;
  while ((1u << bits) < image.palette.size()) ++bits;
  std::vector<GifColorType> colours(1u << bits, GifColorType{0, 0, 0});
  for (size_t i = 0; i < image.palette.size(); ++i) {
    colours[i] = {image.palette[i].r, image.palette[i].g, image.palette[i].b};
  }
  ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
  if (!map) {
    SetError(error, "out of memory for the GIF colour table");
    return std::nullopt;
  }
  std::vector<uint8_t> out;
  int code = 0;
  GifFileType* gif = EGifOpen(&out, WriteBytes, &code);
  if (!gif) {
    GifFreeMapObject(map);
    SetError(error, GifError("GIF writer", code));
    return std::nullopt;
  }
  bool ok = EGifPutScreenDesc(gif, image.width, image.height, bits, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> row(image.width);
  for (int y = 0; ok && y < image.height; ++y) {
    const uint8_t* src = image.indices.data() + static_cast<size_t>(y) * image.width;
    for (int x = 0; x < image.width; ++x) {
      ok = ok && src[x] < image.palette.size();
      row[x] = src[x];
    }
    ok = ok && EGifPutLine(gif, row.data(), image.width) == GIF_OK;
  }
  const int writeError = gif->Error;
  GifFreeMapObject(map);
  int closeCode = 0;
  const bool closed = EGifCloseFile(gif, &closeCode) == GIF_OK;
  if (!ok) {
    SetError(error, writeError ? GifError("GIF writer", writeError)
                               : std::string("a pixel indexes beyond the palette"));
    return std::nullopt;
  }
  if (!closed) {
    SetError(error, GifError("GIF writer", closeCode));
    return std::nullopt;
  }
  return out;
}

// --- The embedded map ----------------------------------------------------------------------

ViewMap::ViewMap(ViewMapImage image) : decoded_(true), image_(std::move(image)) {}

const ViewMapImage* ViewMap::image() {
  if (!decoded_) {
    decoded_ = true;
    image_ = DecodeViewMapGif(bytes_, &error_);
    if (image_ && (image_->width != kViewMapWidth || image_->height != kViewMapHeight)) {
      error_ = "the view map picture is " + std::to_string(image_->width) + " × " +
               std::to_string(image_->height) + " pixels";
      image_.reset();
    }
  }
  return image_ ? &*image_ : nullptr;
}

int VisibilityValueAt(ViewMap& map, double latitude, double longitude) {
  const ViewMapImage* image = map.image();
  if (!image) return 0;
  const TokyoFromWorld tokyo = WorldToTokyo(latitude, longitude);
  const ViewMapPixel p = ViewMapPixelOf(tokyo.tokyoLatitude, tokyo.tokyoLongitude);
  if (!p.inside) return 0;
  return image->ColourAt(p.x, p.y).g;
}

// --- The map window ------------------------------------------------------------------------

ViewMapWindow ComputeViewMapWindow(double tokyoLatitude, double tokyoLongitude, int boxWidth,
                                   int boxHeight, double zoom) {
  ViewMapWindow w;
  w.centreLatitude = tokyoLatitude;
  w.centreLongitude = tokyoLongitude;
  w.zoom = zoom;
  w.centreX = boxWidth / 2 + 1;
  w.centreY = boxHeight / 2 + 1;
  const double halfH = (boxHeight / 2.0) / kBoxLatitudeScale / zoom;
  const double halfW = (boxWidth / 2.0) / kBoxLongitudeScale / zoom;
  w.top = tokyoLatitude + halfH;
  w.bottom = tokyoLatitude - halfH;
  w.left = tokyoLongitude - halfW;
  w.right = tokyoLongitude + halfW;
  w.sourceX = TruncInt((w.left - kViewMapWest) * kViewMapPixelsPerLon + 0.5);
  w.sourceY = TruncInt((kViewMapNorth - w.top) * kViewMapPixelsPerLat + 0.5);
  w.sourceWidth = TruncInt((w.right - w.left) * kViewMapPixelsPerLon);
  w.sourceHeight = TruncInt((w.top - w.bottom) * kViewMapPixelsPerLat);
  return w;
}

TokyoPoint PlaceAtBoxPixel(double centreLatitude, double centreLongitude, int centreX, int centreY,
                           double zoom, int x, int y) {
  return {(centreY - y) / kBoxLatitudeScale / zoom + centreLatitude,
          (x - centreX) / kBoxLongitudeScale / zoom + centreLongitude};
}

BoxPixel BoxPixelOfPlace(const ViewMapWindow& window, double tokyoLatitude, double tokyoLongitude) {
  return {
      TruncInt((tokyoLongitude - window.centreLongitude) * kBoxLongitudeScale * window.zoom + 0.5) +
          window.centreX,
      TruncInt((window.centreLatitude - tokyoLatitude) * kBoxLatitudeScale * window.zoom + 0.5) +
          window.centreY};
}

int VisibilityBarHeight(int g) {
  if (g == 0) return 50;
  return 34 - TruncInt((g - 128) / 128.0 * 34.0);
}

double ZoomInByButton(double zoom) {
  return std::min(zoom * 1.5, 10.0);
}
double ZoomOutByButton(double zoom) {
  return std::max(zoom / 1.5, 0.3);
}
double ZoomInByWheel(double zoom) {
  return std::min(zoom * 1.2, 10.0);
}
double ZoomOutByWheel(double zoom) {
  return std::max(zoom / 1.2, 0.4);
}

}  // namespace velkaro
