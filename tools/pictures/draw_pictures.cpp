#include "tools/pictures/draw_pictures.h"

#include "core/text.h"
#include "tools/pictures/jpeg_io.h"
#include "tools/pictures/kumo.h"
#include "tools/pictures/moonlist.h"

namespace velkaro::pictures {
namespace {

bool WriteOne(const std::string& path, const std::string& bytes, std::string* error) {
  if (bytes.empty()) {
    if (error) *error = "JPEG encoding failed for " + path;
    return false;
  }
  std::string why;
  if (!WriteFileAtomic(path, bytes, &why)) {
    if (error) *error = path + ": " + why;
    return false;
  }
  return true;
}

}  // namespace

std::string KumoJpeg() {
  return EncodeJpeg(DrawKumo(), kKumoQuality);
}

std::string MoonListJpeg() {
  return EncodeJpeg(DrawMoonList(), kMoonListQuality);
}

bool WritePictures(const std::string& kumoPath, const std::string& moonListPath,
                   std::string* error) {
  if (!kumoPath.empty() && !WriteOne(kumoPath, KumoJpeg(), error)) return false;
  if (!moonListPath.empty() && !WriteOne(moonListPath, MoonListJpeg(), error)) return false;
  return true;
}

}  // namespace velkaro::pictures
