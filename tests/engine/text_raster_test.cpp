// Text on the raster device through the installed faces: where the letters
// fall and how wide they measure.
#include <gtest/gtest.h>

#include <algorithm>

#include "cartex32.h"
#include "graphics/text.h"
#include "platform/device_table.h"
#include "platform/raster_device.h"

namespace cx {
namespace {

// The bounding box of the pixels that are not white.
DeviceRect ink(const RasterDevice& d) {
  DeviceRect box{d.width(), d.height(), -1, -1};
  for (int32_t y = 0; y < d.height(); ++y)
    for (int32_t x = 0; x < d.width(); ++x)
      if (d.pixels()[std::size_t(y) * d.width() + x] != 0xFFFFFF) {
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
               std::max(box.bottom, y + 1)};
      }
  return box;
}

class BoundRaster {
 public:
  BoundRaster(int32_t width, int32_t height) {
    auto device = std::make_unique<RasterDevice>(width, height);
    device_ = device.get();
    handle_ = registre_dispositivo(std::move(device));
    gabrest(0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height), handle_);
    gdtxtvect(0);
    fuente_texto(0);
    gdcolor(15);
  }
  ~BoundRaster() { liberar_dispositivo(handle_); }
  RasterDevice& device() { return *device_; }

 private:
  RasterDevice* device_;
  int32_t handle_;
};

TEST(TextRaster, LettersHangInTheirCellAndMeasureByTheirAdvances) {
  if (!CARTEX32_HAS_FONTS) GTEST_SKIP() << "built without fonts";
  for (int16_t face = 0; face < 7; ++face) {
    BoundRaster r(300, 120);
    fuente_texto(face);
    gdtextam(6);  // 20 pixels: font height 24, the cell's top 7 above the point
    int16_t w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    gatext_extent("H", &w1, &h1);
    gatext_extent("HH", &w2, &h2);
    EXPECT_EQ(h1, 24) << kCarasTexto[face];
    EXPECT_GT(w1, 5) << kCarasTexto[face];
    EXPECT_EQ(w2, 2 * w1) << kCarasTexto[face];
    EXPECT_EQ(gtexto(20, 60, "HH"), 24);
    const DeviceRect box = ink(r.device());
    EXPECT_GE(box.left, 20) << kCarasTexto[face];
    EXPECT_LE(box.right, 20 + w2 + 1) << kCarasTexto[face];
    EXPECT_GE(box.top, 60 - 7) << kCarasTexto[face];
    EXPECT_LE(box.bottom, 60 - 7 + 24) << kCarasTexto[face];
    // The capitals fill most of the cell's upper part: their baseline is
    // some 3/4 of the height down.
    EXPECT_GE(box.bottom - box.top, 12) << kCarasTexto[face];
  }
}

}  // namespace
}  // namespace cx
