#include "tools/pictures/jpeg_io.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

namespace velkaro::pictures {
namespace {

// libjpeg reports fatal errors through error_exit, which by default ends the process; jump back
// to the caller instead.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

void Quiet(j_common_ptr, int) {}

// Kept free of C++ objects with destructors: longjmp must not skip any.
bool Compress(const RgbImage& image, int quality, unsigned char** out, unsigned long* size) {
  jpeg_compress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, size);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.dct_method = JDCT_ISLOW;
  for (int c = 0; c < info.num_components; ++c) {
    info.comp_info[c].h_samp_factor = 1;
    info.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(image.At(0, static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

bool Decompress(std::string_view bytes, RgbImage* image) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = Quiet;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  info.dct_method = JDCT_ISLOW;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || info.output_width == 0 || info.output_height == 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  image->width = static_cast<int>(info.output_width);
  image->height = static_cast<int>(info.output_height);
  image->rgb.assign(static_cast<size_t>(image->width) * image->height * 3, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image->At(0, static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::string EncodeJpeg(const RgbImage& image, int quality) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3) {
    return {};
  }
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = Compress(image, quality, &buffer, &size);
  std::string bytes;
  if (ok && buffer != nullptr) bytes.assign(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

std::optional<RgbImage> DecodeJpeg(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  RgbImage image;
  if (!Decompress(bytes, &image)) return std::nullopt;
  return image;
}

}  // namespace velkaro::pictures
