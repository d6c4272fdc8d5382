// ginicie: the stroke font from the data folder and the icons of the base,
// read field by field; and curves drawn as runs of short lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "graphics/drawing.h"
#include "graphics/vector_tables.h"
#include "platform/raster_device.h"
#include "support/graphics_support.h"
#include "support/temp_base.h"

namespace cx {
namespace {

using testing::BoundRecorder;
using testing::TempBase;

void put16(std::vector<unsigned char>& b, std::size_t at, int value) {
  b[at] = static_cast<unsigned char>(value & 0xFF);
  b[at + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

TEST(GraphicsSetup, GinicieLoadsTheFontAndIconsAndClips) {
  TempBase base;
  std::vector<unsigned char> font(128 * 82, 0);
  put16(font, 'A' * 82, 3);
  put16(font, 'A' * 82 + 2 + 2 * 2, -7);  // x of point 2
  put16(font, 'A' * 82 + 42, 9);          // y of point 0
  put16(font, 'B' * 82, 300);             // too many points: 20
  put16(font, 'C' * 82, -1);              // negative: 0
  TempBase::write("tabtvec.dat", font);
  std::vector<unsigned char> icons(3 * 531, 0);
  unsigned char* icon2 = icons.data() + 2 * 531;
  std::copy_n("CRUZ", 5, icon2);
  icon2[30] = 1;                                  // outline B filled
  put16(icons, 2 * 531 + 127, 99);                // outline A: too many points, 49
  put16(icons, 2 * 531 + 129, 500 + 12);          // its first x, stored + 500
  put16(icons, 2 * 531 + 229 + 2 * 48, 500 - 3);  // its last y
  TempBase::write("TABICO.DAT", icons);
  setenv("CARTEX32_DATA_DIR", base.path().c_str(), 1);

  BoundRecorder r(300, 200);
  EXPECT_EQ(ginicie(0), 0);
  unsetenv("CARTEX32_DATA_DIR");
  const TablasVectoriales& t = tablas_vectoriales();
  EXPECT_EQ(t.font['A'].count, 3);
  EXPECT_EQ(t.font['A'].x[2], -7);
  EXPECT_EQ(t.font['A'].y[0], 9);
  EXPECT_EQ(t.font['B'].count, 20);
  EXPECT_EQ(t.font['C'].count, 0);
  ASSERT_EQ(t.icons.size(), 2u);  // records 1 and 2; record 0 is the header
  EXPECT_STREQ(t.icons[1].name, "CRUZ");
  EXPECT_FALSE(t.icons[1].a.filled);
  EXPECT_TRUE(t.icons[1].b.filled);
  EXPECT_EQ(t.icons[1].a.count, 49);
  EXPECT_EQ(t.icons[1].a.x[0], 12);
  EXPECT_EQ(t.icons[1].a.y[48], -3);
  EXPECT_EQ(r.device().clip_box(), (DeviceRect{0, 0, 100, 100}));
  EXPECT_EQ(r.device().pen().colour, 0xFF0000u);

  EXPECT_EQ(gfinalice(0), 0);
  EXPECT_TRUE(t.icons.empty());
  EXPECT_EQ(r.device().clip_box(), (DeviceRect{0, 0, 300, 200}));

  // Missing files leave the tables empty, silently.
  std::remove("tabtvec.dat");
  std::remove("TABICO.DAT");
  setenv("CARTEX32_DATA_DIR", base.path().c_str(), 1);
  ginicie(0);
  unsetenv("CARTEX32_DATA_DIR");
  EXPECT_EQ(t.font['A'].count, 0);
  EXPECT_TRUE(t.icons.empty());
}

TEST(GraphicsSetup, CurvesAreRunsOfLinesThroughThePoints) {
  BoundRecorder r(400, 400);
  struct Case {
    const char* what;
    std::vector<double> xs, ys;
    std::size_t lines;
  };
  const std::vector<Case> cases = {
      {"long segments: ten pieces each", {0, 100, 200}, {0, 100, 0}, 20},
      {"two points: one line", {0, 5}, {0, 0}, 1},
      {"3 to 10 units: four pieces", {0, 5, 10}, {0, 0, 0}, 8},
      {"under 3 units: one line", {0, 2, 4}, {0, 0, 0}, 2},
      {"one point: a pixel", {7}, {7}, 1},
  };
  for (const Case& c : cases) {
    r.calls().clear();
    curva(c.xs.data(), c.ys.data(), static_cast<int>(c.xs.size()));
    ASSERT_EQ(r.calls().size(), c.lines) << c.what;
    if (c.xs.size() < 2) continue;
    // The pieces join, starting at the first point and ending at the last,
    // through every point between.
    const auto device = [](double x, double y) { return DevicePoint{gxdev(x), gydev(y)}; };
    EXPECT_EQ(r.calls().front().points.front(), device(c.xs[0], c.ys[0])) << c.what;
    EXPECT_EQ(r.calls().back().points.back(), device(c.xs.back(), c.ys.back())) << c.what;
    std::size_t through = 0;
    for (std::size_t i = 0; i + 1 < r.calls().size(); ++i) {
      EXPECT_EQ(r.calls()[i].points.back(), r.calls()[i + 1].points.front()) << c.what;
      if (r.calls()[i].points.back() == device(c.xs[1], c.ys[1])) ++through;
    }
    if (c.xs.size() > 2) {
      EXPECT_GE(through, 1u) << c.what;
    }
  }
}

// Far-away, infinite and undefined coordinates, wide pens and every line
// type: the kernel draws in bounded time and never outside the clip region.
TEST(GraphicsSetup, ExtremeCoordinatesStayInsideTheClipRegion) {
  auto owned = std::make_unique<RasterDevice>(40, 30);
  const RasterDevice& device = *owned;
  const int32_t hdc = registre_dispositivo(std::move(owned));
  gabrest(0, 0, 40, 30, hdc);
  gdrecorte(0, 5, 5, 30, 20);  // columns 5..29, rows 10..24
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {-1e300, -3e9,  -70000, -1,    0,   7.5,  20,
                           35,     70000, 3e9,    1e300, inf, -inf, std::nan("")};
  std::mt19937 rng(1);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(values) - 1);
  for (int i = 0; i < 400; ++i) {
    gdlinanch(static_cast<int16_t>(1 + i % 9));
    gdlintip(static_cast<int16_t>(i % 10));
    gdcolor(i % 16 == 0 ? 1 : i % 16);
    gdeor(static_cast<int16_t>(i % 3 == 0));
    double xs[6], ys[6];
    for (int k = 0; k < 6; ++k) {
      xs[k] = values[pick(rng)];
      ys[k] = values[pick(rng)];
    }
    gplinea(xs, ys, 6);
    curva(xs, ys, 6);
    gcirculo(xs[0], ys[0], std::abs(xs[1]));
    gelipse(xs[0], ys[0], 0, 0, xs[2], ys[2]);
    gcaja(xs[3], ys[3], xs[4], ys[4]);
    gpunto(xs[5], ys[5]);
    marque_punto(xs[1], ys[2]);
    gcursor(xs[4], ys[0]);
  }
  gdeor(0);
  int drawn = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      const Colorref p = device.pixels()[std::size_t(y) * 40 + x];
      if (x >= 5 && x < 30 && y >= 10 && y < 25)
        drawn += p != 0xFFFFFF;
      else
        ASSERT_EQ(p, 0xFFFFFFu) << x << "," << y;
    }
  }
  EXPECT_GT(drawn, 0);
  liberar_dispositivo(hdc);
}

}  // namespace
}  // namespace cx
