#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tools/pictures/rgb_image.h"

namespace velkaro::pictures {

// Baseline JPEG of an RGB image, full-resolution chroma (no subsampling) and the exact integer
// DCT, so the same image always gives the same bytes. Empty on failure.
std::string EncodeJpeg(const RgbImage& image, int quality);

// Decodes a JPEG into RGB; nullopt for anything that is not a readable JPEG.
std::optional<RgbImage> DecodeJpeg(std::string_view bytes);

}  // namespace velkaro::pictures
