// A host's devices through the library's additions, bound by name: made,
// drawn on through the kernel, copied, saved as PNG (read back here with
// libpng) and released; bad handles, sizes and paths refused with a
// message.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/engine_library.h"
#include "support/kept_messages.h"
#include "support/temp_base.h"

namespace {

using cx::testing::EngineLibrary;
using cx::testing::keep_message;
using cx::testing::TempBase;

// Reads an 8-bit RGB PNG into bytes red, green, blue, 0 per pixel.
bool read_png(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgbx) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGBA;
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  rgbx.assign(PNG_IMAGE_SIZE(image), 0);
  if (!png_image_finish_read(&image, nullptr, rgbx.data(), 0, nullptr)) return false;
  for (std::size_t i = 3; i < rgbx.size(); i += 4) rgbx[i] = 0;  // opaque alpha read as 255
  return true;
}

// The device's pixels as rows of '.' (white) and '#' (black).
std::vector<std::string> picture(const std::vector<uint8_t>& rgbx, int width, int height) {
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &rgbx[(std::size_t(y) * width + x) * 4];
      row += p[0] == 255 && p[1] == 255 && p[2] == 255 ? '.' : p[0] == 0 ? '#' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(DeviceHost, DrawCopySaveAndRelease) {
  EngineLibrary lib;
  ASSERT_TRUE(lib.loaded());
  TempBase base;
  auto* create = CX_BIND(lib, crear_dispositivo);
  auto* save = CX_BIND(lib, guardar_png);
  auto* copy = CX_BIND(lib, copiar_pixeles);
  auto* release = CX_BIND(lib, liberar_dispositivo);
  auto* bind = CX_BIND(lib, gabrest);
  auto* colour = CX_BIND(lib, gdcolor);
  auto* width = CX_BIND(lib, gdlinanch);
  auto* type = CX_BIND(lib, gdlintip);
  auto* line = CX_BIND(lib, glinea);
  auto* pixel = CX_BIND(lib, gapunto);
  auto* set_callback = CX_BIND(lib, cx_set_message_callback);
  ASSERT_TRUE(create && save && copy && release && bind && colour && width && type && line &&
              pixel && set_callback);
  std::vector<std::string> shown;
  set_callback(keep_message, &shown);

  const int32_t hdc = create(30, 5);
  ASSERT_GT(hdc, 0);
  bind(0, 0, 30, 5, hdc);
  colour(15);
  width(3);
  type(3);
  // Dashes 6 long every 12, each widened by its round caps to 9 on the
  // middle row: gaps of 3 (the 3-pixel caps are round, so the rows above
  // and below are a pixel shorter at each end).
  line(2, 2, 28, 2);
  const std::vector<std::string> expected = {
      "..............................", "..............................",
      "..#######.....#######.....###.", ".#########...#########...#####",
      "..#######.....#######.....###.",
  };
  std::vector<uint8_t> copied(30 * 5 * 4, 0xEE);
  ASSERT_EQ(copy(hdc, copied.data()), 0);
  EXPECT_EQ(picture(copied, 30, 5), expected);
  EXPECT_EQ(pixel(1, 3, hdc), 0x000000);
  EXPECT_EQ(pixel(1, 2, hdc), 0xFFFFFF);
  EXPECT_EQ(pixel(0, 0, hdc), 0xFFFFFF);
  EXPECT_EQ(pixel(30, 0, hdc), -1);

  ASSERT_EQ(save(hdc, "dashes.png"), 0);
  int w = 0, h = 0;
  std::vector<uint8_t> saved;
  ASSERT_TRUE(read_png("dashes.png", w, h, saved));
  EXPECT_EQ(w, 30);
  EXPECT_EQ(h, 5);
  EXPECT_EQ(saved, copied);
  EXPECT_TRUE(shown.empty());

  // Refusals: each says why, and nothing is left behind.
  EXPECT_EQ(save(hdc, "no_such_folder/x.png"), -1);
  EXPECT_FALSE(std::filesystem::exists("no_such_folder/x.png"));
  EXPECT_EQ(save(hdc, ""), -1);
  EXPECT_EQ(copy(hdc, nullptr), -1);
  EXPECT_EQ(create(0, 5), 0);
  EXPECT_EQ(create(5, 40000), 0);
  EXPECT_EQ(create(20000, 20000), 0);  // each side allowed, but too many pixels
  EXPECT_EQ(release(hdc), 0);
  EXPECT_EQ(release(hdc), -1);
  EXPECT_EQ(save(hdc, "late.png"), -1);
  EXPECT_EQ(copy(hdc, copied.data()), -1);
  EXPECT_EQ(pixel(1, 2, hdc), -1);
  EXPECT_EQ(shown.size(), 9u);
  // A new device gets a new handle: the released one stays unknown.
  const int32_t next = create(2, 2);
  EXPECT_GT(next, hdc);
  EXPECT_EQ(release(next), 0);
  set_callback(nullptr, nullptr);
}

}  // namespace
