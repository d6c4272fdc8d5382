// PNG saving through libpng.
#include <png.h>

#include <cstdio>
#include <vector>

#include "platform/png_writer.h"

namespace cx {

namespace {

struct WriteState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~WriteState() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

bool write_rows(std::FILE* file, const uint32_t* pixels, int32_t width, int32_t height) {
  WriteState s;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!s.png) return false;
  s.info = png_create_info_struct(s.png);
  if (!s.info) return false;
  std::vector<png_byte> row(std::size_t(width) * 3);
  // libpng reports its failures by longjmp; nothing with a destructor is
  // created between here and the end of the writing.
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_init_io(s.png, file);
  png_set_IHDR(s.png, s.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s.png, s.info);
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* p = pixels + std::size_t(y) * width;
    for (int32_t x = 0; x < width; ++x) {
      row[3 * x] = p[x] & 0xFF;
      row[3 * x + 1] = (p[x] >> 8) & 0xFF;
      row[3 * x + 2] = (p[x] >> 16) & 0xFF;
    }
    png_write_row(s.png, row.data());
  }
  png_write_end(s.png, nullptr);
  return true;
}

}  // namespace

bool write_png(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height) {
  if (!pixels || width <= 0 || height <= 0) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = write_rows(file, pixels, width, height);
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  std::remove(path.c_str());
  return false;
}

bool png_supported() {
  return true;
}

}  // namespace cx
