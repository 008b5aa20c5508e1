#pragma once

#include <string>

namespace velkaro::pictures {

inline constexpr int kKumoQuality = 90;
inline constexpr int kMoonListQuality = 95;

// The two embedded pictures as JPEG bytes, the same bytes on every run.
std::string KumoJpeg();
std::string MoonListJpeg();

// Draws the pictures whose paths are not empty and writes each atomically. False with `error`
// set when a file cannot be written.
bool WritePictures(const std::string& kumoPath, const std::string& moonListPath,
                   std::string* error);

}  // namespace velkaro::pictures
