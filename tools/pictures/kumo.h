#pragma once

#include "tools/pictures/rgb_image.h"

namespace velkaro::pictures {

// The cloud picture: a sea of clouds seen from afar, laid by the panorama over the mountain's
// foot. Its top rows are faded in over the mountain, so above the billows it holds a pale haze;
// its bottom rows approach the white that continues the band below the picture.
inline constexpr int kKumoWidth = 3371;
inline constexpr int kKumoHeight = 217;

RgbImage DrawKumo();

}  // namespace velkaro::pictures
