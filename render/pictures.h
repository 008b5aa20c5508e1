#pragma once

#include <QImage>
#include <cstdint>
#include <span>

namespace velkaro {

// A JPEG (baseline or progressive, greyscale or colour) decoded with libjpeg into a Format_RGB32
// image; a null image when the bytes are not a readable JPEG.
QImage DecodeJpeg(std::span<const uint8_t> bytes);

// The cloud picture (for the cloud band) and the moon list picture (for the moon panels), decoded
// once at start-up.
struct Pictures {
  QImage kumo;
  QImage moonlist;
};
Pictures LoadPictures(std::span<const uint8_t> kumoJpeg, std::span<const uint8_t> moonlistJpeg);

}  // namespace velkaro
