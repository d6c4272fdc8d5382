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

using Image = std::vector<uint32_t>;

int32_t CX_CALL count_message(void* count, int32_t, const char*, const char*, int32_t) {
  ++*static_cast<int*>(count);
  return CX_IDOK;
}

struct Rasters {
  cx::testing::TempBase dir;
  cx::testing::EngineLibrary lib;
  decltype(&crear_dispositivo) make = CX_BIND(lib, crear_dispositivo);
  decltype(&distancias_raster) distances = CX_BIND(lib, distancias_raster);
  decltype(&gapunto) pixel = CX_BIND(lib, gapunto);
  decltype(&gdcolor) colour = CX_BIND(lib, gdcolor);
  decltype(&gsetcolor) set_colour = CX_BIND(lib, gsetcolor);
  decltype(&gdpunto) plot = CX_BIND(lib, gdpunto);
  decltype(&liberar_dispositivo) release = CX_BIND(lib, liberar_dispositivo);
  int messages = 0;

  Rasters() { CX_BIND(lib, cx_set_message_callback)(count_message, &messages); }
  ~Rasters() { CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr); }

  // The engine's distances (scale 1) of a row-major image, drawn pixel by
  // pixel; empty when the transform fails.
  Image field(const Image& image, int w, int h) {
    const int32_t src = make(w, h), dst = make(w, h);
    CX_BIND(lib, vb_sethdcxy)(src, 0, 0, static_cast<int16_t>(w), static_cast<int16_t>(h));
    for (int i = 0; i < w * h; ++i) {
      if (image[i] == 0xFFFFFF) continue;  // a device starts white
      colour(0);                           // the pen takes index 1's colour when selected again
      set_colour(1, static_cast<int32_t>(image[i]));
      colour(1);
      plot(static_cast<int16_t>(i % w), static_cast<int16_t>(i / w));
    }
    Image out;
    if (distances(src, dst, static_cast<int16_t>(w), static_cast<int16_t>(h), 1.0) == -1)
      for (int i = 0; i < w * h; ++i)
        out.push_back(static_cast<uint32_t>(pixel(static_cast<int16_t>(i % w), i / w, dst)));
    release(src);
    release(dst);
    return out;
  }
};

// truncate(sqrt(10 d^2)) of the nearest feature by exhaustive search; the
// row above the image counts as features, as the transform defines.
std::vector<int> exact_field(const Image& image, int w, int h) {
  std::vector<int> features, out(w * h);
  for (int i = 0; i < w * h; ++i)
    if (image[i] < 0xFFFCFF) features.push_back(i);
  for (int i = 0; i < w * h; ++i) {
    const int64_t x = i % w, y = i / w;
    int64_t best = (y + 1) * (y + 1);
    for (int f : features)
      best = std::min(best, (x - f % w) * (x - f % w) + (y - f / w) * (y - f / w));
    out[i] = static_cast<int>(std::sqrt(10.0 * static_cast<double>(best)));
  }
  return out;
}

TEST(RasterDistances, AgreeWithTheExactTransformOnRandomImages) {
  Rasters r;
  std::mt19937 random(2514);
  // Features of darker colours (0xFFFCFE the lightest); background white or
  // near-white from 0xFFFCFF up.
  const uint32_t colours[] = {0xFFFFFF, 0xFFFCFF, 0xFFFEFF, 0x000000, 0x123456, 0xFFFCFE};
  struct Tally {
    long pixels = 0, differing = 0;
    int worst = 0;
    double share() const { return 100.0 * double(differing) / double(pixels); }
  } inner, edge;  // column 0 takes its offset from the right only: counted apart
  for (int n = 0; n < 153; ++n) {
    const bool large = n >= 150;  // mostly small images, and three of 300 x 300
    const int w = large ? 300 : 2 + int(random() % 50), h = large ? 300 : 1 + int(random() % 50);
    const double density = std::pow(10.0, -0.5 - 2.5 * (random() % 1000) / 1000.0);
    Image image(w * h);
    for (auto& c : image) {
      const bool feature = random() % 10000 < density * 10000;
      c = colours[(feature ? 3 : 0) + random() % 3];
    }
    const Image got = r.field(image, w, h);
    ASSERT_EQ(got.size(), image.size()) << "image " << n;
    const std::vector<int> exact = exact_field(image, w, h);
    for (int i = 0; i < w * h; ++i) {
      if (i % w == w - 1) {
        EXPECT_EQ(got[i], image[i]) << "the last column keeps its colours: image " << n;
        continue;
      }
      const int d = static_cast<int>(got[i]), e = exact[i];
      ASSERT_GE(d, e) << "never nearer than the nearest: image " << n << " pixel " << i;
      Tally& t = i % w == 0 ? edge : inner;
      ++t.pixels;
      t.differing += d != e;
      t.worst = std::max(t.worst, d - e);
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

TEST(RasterDistances, EdgesAndRefusals) {
  Rasters r;
  // No feature, tall enough that the starting offsets square past 32 bits:
  // every pixel measures to the row above, column 0 to its right
  // neighbour's feature there.
  const int w = 5, h = 3300;
  const Image got = r.field(Image(w * h, 0xFFFFFF), w, h);
  ASSERT_EQ(got.size(), std::size_t{w * h});
  int wrong = 0;
  for (int i = 0; i < w * h; ++i) {
    const double x = i % w, rows = i / w + 1;
    const double expected = x == w - 1 ? 0xFFFFFF : std::sqrt(10 * ((x == 0) + rows * rows));
    wrong += got[i] != static_cast<uint32_t>(expected);
  }
  EXPECT_EQ(wrong, 0);
  // Width 2: column 0 from its distance, column 1 as it came.
  EXPECT_EQ(r.field({0xFFFFFF, 0x00FF00, 0xFFFFFF, 0xFFFFFF}, 2, 2),
            (Image{3, 0x00FF00, 4, 0xFFFFFF}));
  EXPECT_EQ(r.messages, 0);

  // 8191 columns fit a row record, 8192 do not; unknown devices, empty
  // sizes. The output may be its own source.
  const int32_t wide = r.make(8192, 2), small = r.make(4, 4);
  const struct {
    int32_t src, dst;
    int16_t width, height;
    int32_t result;
  } cases[] = {{wide, wide, 8192, 2, 0}, {small, small, 0, 4, 0}, {small, small, 4, 0, 0},
               {small, 999, 4, 4, 0},    {999, small, 4, 4, 0},   {wide, wide, 8191, 2, -1}};
  for (const auto& c : cases) {
    const int before = r.messages;
    EXPECT_EQ(r.distances(c.src, c.dst, c.width, c.height, 2.0), c.result) << c.width;
    EXPECT_EQ(r.messages, before + (c.result == 0)) << c.width;
  }
  EXPECT_EQ(r.pixel(5, 1, wide), 2 * 6);  // two rows below the features above, doubled
  EXPECT_EQ(r.dir.entries(), 0);          // no row file is left behind
}

}  // namespace
