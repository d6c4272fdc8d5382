// The distance field between two devices, against a brute-force nearest
// feature search over random images, as a host calls it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "support/engine_library.h"
#include "support/temp_base.h"

namespace {

using cx::testing::TempBase;

int32_t CX_CALL count_message(void* count, int32_t, const char*, const char*, int32_t) {
  ++*static_cast<int*>(count);
  return CX_IDOK;
}

struct Rasters {
  cx::testing::EngineLibrary lib;
  decltype(&crear_dispositivo) make = CX_BIND(lib, crear_dispositivo);
  decltype(&liberar_dispositivo) release = CX_BIND(lib, liberar_dispositivo);
  decltype(&init_distancias_raster) init = CX_BIND(lib, init_distancias_raster);
  decltype(&distancias_raster) distances = CX_BIND(lib, distancias_raster);
  decltype(&vb_sethdcxy) bind = CX_BIND(lib, vb_sethdcxy);
  decltype(&gdpunto) plot = CX_BIND(lib, gdpunto);
  decltype(&gsetcolor) set_colour = CX_BIND(lib, gsetcolor);
  decltype(&gdcolor) colour = CX_BIND(lib, gdcolor);
  decltype(&gapunto) pixel = CX_BIND(lib, gapunto);
  int messages = 0;

  Rasters() {
    CX_BIND(lib, cx_set_message_callback)(count_message, &messages);
    if (init) init(0);
  }
  ~Rasters() { CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr); }
  bool bound() const {
    return make && release && init && distances && bind && plot && set_colour && colour && pixel;
  }

  // A device holding the image (row-major colours).
  int32_t device(const std::vector<uint32_t>& image, int w, int h) {
    const int32_t hdc = make(w, h);
    bind(hdc, 0, 0, static_cast<int16_t>(w), static_cast<int16_t>(h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t c = image[y * w + x];
        if (c == 0xFFFFFF) continue;  // a device starts white
        colour(0);                    // the pen takes index 1's colour when it is selected again
        set_colour(1, static_cast<int32_t>(c));
        colour(1);
        plot(static_cast<int16_t>(x), static_cast<int16_t>(y));
      }
    return hdc;
  }
  std::vector<uint32_t> read(int32_t hdc, int w, int h) {
    std::vector<uint32_t> out(w * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        out[y * w + x] =
            static_cast<uint32_t>(pixel(static_cast<int16_t>(x), static_cast<int16_t>(y), hdc));
    return out;
  }
  // The engine's distances of the image (scale 1), or an empty vector.
  std::vector<uint32_t> field(const std::vector<uint32_t>& image, int w, int h) {
    const int32_t src = device(image, w, h), dst = make(w, h);
    std::vector<uint32_t> out;
    if (distances(src, dst, static_cast<int16_t>(w), static_cast<int16_t>(h), 1.0) == -1)
      out = read(dst, w, h);
    release(src);
    release(dst);
    return out;
  }
};

bool feature(uint32_t c) {
  return c < 0xFFFCFF;
}

// truncate(sqrt(10 d^2)) for the nearest feature by exhaustive search; the
// row above the image counts as features, as the transform defines.
std::vector<int> exact_field(const std::vector<uint32_t>& image, int w, int h) {
  std::vector<int> fx, fy, out(w * h);
  for (int i = 0; i < w * h; ++i)
    if (feature(image[i])) {
      fx.push_back(i % w);
      fy.push_back(i / w);
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int64_t best = int64_t{y + 1} * (y + 1);
      for (std::size_t f = 0; f < fx.size(); ++f)
        best = std::min<int64_t>(
            best, int64_t{x - fx[f]} * (x - fx[f]) + int64_t{y - fy[f]} * (y - fy[f]));
      out[y * w + x] = static_cast<int>(std::sqrt(10.0 * static_cast<double>(best)));
    }
  return out;
}

TEST(RasterDistances, AgreeWithTheExactTransformOnRandomImages) {
  TempBase dir;
  Rasters r;
  ASSERT_TRUE(r.bound());
  std::mt19937 random(2514);
  // Features of any darker colour (0xFFFCFE the lightest); background white
  // or near-white from 0xFFFCFF up.
  const uint32_t backgrounds[] = {0xFFFFFF, 0xFFFCFF, 0xFFFEFF};
  const uint32_t features[] = {0x000000, 0x0000FF, 0x123456, 0xFFFCFE};
  struct Tally {
    long pixels = 0, differing = 0;
    int worst = 0;
    double share() const {
      return 100.0 * static_cast<double>(differing) / static_cast<double>(pixels);
    }
  } inner, edge;
  for (int image_number = 0; image_number < 153; ++image_number) {
    // Mostly small images, and a few of 300 x 300.
    const bool large = image_number >= 150;
    const int w = large ? 300 : 2 + static_cast<int>(random() % 50);
    const int h = large ? 300 : 1 + static_cast<int>(random() % 50);
    const double density = std::pow(10.0, -0.5 - 2.5 * (random() % 1000) / 1000.0);
    std::vector<uint32_t> image(w * h);
    for (auto& c : image)
      c = (random() % 100000) < density * 100000 ? features[random() % 4]
                                                 : backgrounds[random() % 3];
    const std::vector<uint32_t> got = r.field(image, w, h);
    ASSERT_EQ(got.size(), image.size()) << "image " << image_number;
    const std::vector<int> exact = exact_field(image, w, h);
    for (int y = 0; y < h; ++y) {
      // The last column keeps the source's colours.
      EXPECT_EQ(got[y * w + w - 1], image[y * w + w - 1]) << image_number << " row " << y;
      for (int x = 0; x < w - 1; ++x) {
        const int d = static_cast<int>(got[y * w + x]), e = exact[y * w + x];
        // Every offset found is a real one: never shorter than the nearest.
        ASSERT_GE(d, e) << "image " << image_number << " at " << x << "," << y;
        // Column 0 only looks to its right neighbour: counted apart.
        Tally& t = x == 0 ? edge : inner;
        ++t.pixels;
        if (d != e) ++t.differing;
        t.worst = std::max(t.worst, d - e);
      }
    }
  }
  std::printf(
      "distancias_raster against the exact transform: %ld of %ld pixels (%.3f%%) differ, "
      "by at most %d; in column 0, %ld of %ld (%.3f%%), by at most %d\n",
      inner.differing, inner.pixels, inner.share(), inner.worst, edge.differing, edge.pixels,
      edge.share(), edge.worst);
  EXPECT_LE(inner.share(), 1.0);
  EXPECT_LE(inner.worst, 4);  // one distance step (a diagonal one)
}

TEST(RasterDistances, EdgesOfTheImage) {
  TempBase dir;
  Rasters r;
  ASSERT_TRUE(r.bound());
  // No feature at all, tall enough that the offsets to the virtual feature
  // far up and left square past 32 bits: every pixel measures to the row
  // of features above the image, column 0 from its right neighbour's.
  const int w = 5, h = 3300;
  const std::vector<uint32_t> blank(w * h, 0xFFFFFF);
  const std::vector<uint32_t> got = r.field(blank, w, h);
  ASSERT_EQ(got.size(), blank.size());
  int wrong = 0;
  for (int y = 0; y < h; ++y) {
    const double rows = y + 1.0;
    wrong += got[y * w] != static_cast<uint32_t>(std::sqrt(10 * (1 + rows * rows)));
    for (int x = 1; x < w - 1; ++x)
      wrong += got[y * w + x] != static_cast<uint32_t>(std::sqrt(10 * rows * rows));
    wrong += got[y * w + w - 1] != 0xFFFFFF;
  }
  EXPECT_EQ(wrong, 0);

  // Width 2: column 0 from its distance, column 1 as it came.
  const std::vector<uint32_t> narrow = {0xFFFFFF, 0x00FF00, 0xFFFFFF, 0xFFFFFF};
  EXPECT_EQ(r.field(narrow, 2, 2), (std::vector<uint32_t>{3, 0x00FF00, 4, 0xFFFFFF}));
  EXPECT_EQ(r.messages, 0);
  EXPECT_EQ(dir.entries(), 0);  // the row files are gone
}

TEST(RasterDistances, RefusesWhatItCannotDo) {
  TempBase dir;
  Rasters r;
  ASSERT_TRUE(r.bound());
  const int32_t wide = r.make(8192, 2), other = r.make(4, 4);
  const struct {
    int32_t src, dst;
    int width, height;
  } refused[] = {{wide, wide, 8192, 2}, {other, other, 0, 4}, {other, other, 4, 0},
                 {other, 9999, 4, 4},   {9999, other, 4, 4},  {other, other, -3, 4}};
  for (const auto& c : refused) {
    const int before = r.messages;
    EXPECT_EQ(r.distances(c.src, c.dst, static_cast<int16_t>(c.width),
                          static_cast<int16_t>(c.height), 1.0),
              0)
        << c.width << " x " << c.height;
    EXPECT_EQ(r.messages, before + 1) << c.width << " x " << c.height;
  }
  // 8191 columns still fit a row record; the output may be its own source.
  EXPECT_EQ(r.distances(wide, wide, 8191, 2, 2.0), -1);
  EXPECT_EQ(r.pixel(5, 1, wide), 2 * 6);  // two rows below the virtual features, doubled
  EXPECT_EQ(r.pixel(8190, 0, wide), 0xFFFFFF);
  EXPECT_EQ(dir.entries(), 0);
  r.release(wide);
  r.release(other);
}

}  // namespace
