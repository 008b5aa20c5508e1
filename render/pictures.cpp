#include "render/pictures.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace velkaro {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnError(j_common_ptr info) {
  auto* e = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(e->jump, 1);
}
void Silent(j_common_ptr) {}

}  // namespace

QImage DecodeJpeg(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return {};
  jpeg_decompress_struct info{};
  ErrorManager err{};
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnError;
  err.base.output_message = Silent;
  // What is changed after setjmp lives on the heap behind a volatile pointer, so a longjmp back
  // here finds it intact.
  struct Work {
    QImage image;
    std::vector<uint8_t> row;
  };
  Work* volatile work = new Work;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    delete work;
    return {};
  }
  QImage* image = &work->image;
  std::vector<uint8_t>& row = work->row;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
  *image = QImage(w, h, QImage::Format_RGB32);
  row.resize(static_cast<size_t>(w) * 3);
  while (info.output_scanline < info.output_height) {
    const int y = static_cast<int>(info.output_scanline);
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    auto* out = reinterpret_cast<uint32_t*>(image->scanLine(y));
    for (int x = 0; x < w; ++x)
      out[x] = 0xFF000000u | (uint32_t{row[3 * x]} << 16) | (uint32_t{row[3 * x + 1]} << 8) |
               row[3 * x + 2];
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  QImage result = work->image;
  delete work;
  return result;
}

Pictures LoadPictures(std::span<const uint8_t> kumoJpeg, std::span<const uint8_t> moonlistJpeg) {
  return {DecodeJpeg(kumoJpeg), DecodeJpeg(moonlistJpeg)};
}

}  // namespace velkaro
