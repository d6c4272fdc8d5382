// Hatching: the spans of random polygons, self-crossing ones and several
// rings together, against an even-odd oracle; the crossing capacity and
// allocation failures; and what reaches the device for a few shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "frame/memory.h"
#include "graphics/graphics_state.h"
#include "graphics/hatching.h"
#include "support/graphics_support.h"
#include "support/recording_sink.h"

namespace cx {
namespace {

using testing::BoundRecorder;
using testing::RecordingSink;

struct Ring {
  std::vector<double> x, y;
};

std::vector<Anillo> view(const std::vector<Ring>& rings) {
  std::vector<Anillo> out;
  for (const Ring& r : rings) out.push_back({r.x.data(), r.y.data(), static_cast<int>(r.x.size())});
  return out;
}

// Even-odd inside test of (x, y + epsilon) in the turned frame, by an
// upward ray: a line through a vertex or along an edge takes the side just
// above it, as the scan lines do.
bool inside(const std::vector<Ring>& rings, double s, double c, double x, double y) {
  bool in = false;
  for (const Ring& r : rings)
    for (std::size_t i = 0; i < r.x.size(); ++i) {
      const std::size_t j = (i + 1) % r.x.size();
      const double xa = c * r.x[i] - s * r.y[i], ya = c * r.y[i] + s * r.x[i];
      const double xb = c * r.x[j] - s * r.y[j], yb = c * r.y[j] + s * r.x[j];
      if ((xa <= x) == (xb <= x)) continue;
      if (ya + (x - xa) * (yb - ya) / (xb - xa) > y) in = !in;
    }
  return in;
}

TEST(Hatching, SpansAreTheEvenOddInsideOfRandomRings) {
  EstadoGrafico& g = estado_grafico();
  g.sx = 1;
  g.sy = -1;
  std::mt19937 random(26);
  std::uniform_int_distribution<int> coord(0, 40), points(3, 9), rings(1, 3);
  std::uniform_real_distribution<double> real(0, 40);
  const int16_t angles[] = {0, 0, 30, 45, 90, 135, -60};
  for (int trial = 0; trial < 300; ++trial) {
    gdachang(angles[trial % 7]);
    gdachpaso(static_cast<int16_t>(1 + trial % 3));
    // At angle 0, integer vertices on the integer lines, edges along them
    // included; turned, vertices anywhere (a turned integer grid would put
    // edges along the lines only to within rounding).
    const bool exact = g.hatch_angle == 0;
    std::vector<Ring> shape(static_cast<std::size_t>(rings(random)));
    for (Ring& r : shape)
      for (int i = points(random); i > 0; --i) {
        r.x.push_back(exact ? coord(random) : real(random));
        r.y.push_back(exact ? coord(random) : real(random));
      }
    const std::vector<Anillo> a = view(shape);
    std::vector<TramoAchurado> spans;
    ASSERT_EQ(tramos_de_achurado(a.data(), static_cast<int>(a.size()), nullptr, &spans),
              Achurado::hecho);
    const double s = g.hatch_angle == 0 ? 0 : g.hatch_sin, c = g.hatch_angle == 0 ? 1 : g.hatch_cos;
    // Along each line, samples off the vertices are inside exactly when a
    // span covers them.
    double y0 = HUGE_VAL;
    for (const Ring& r : shape)
      for (std::size_t i = 0; i < r.x.size(); ++i) y0 = std::min(y0, c * r.y[i] + s * r.x[i]);
    for (int32_t k = 0; k * g.hatch_step <= 60; ++k) {
      const double y = y0 + k * g.hatch_step;
      for (double x = -60.013; x < 60; x += 0.317) {
        bool covered = false, near_end = false;
        for (const TramoAchurado& t : spans) {
          if (t.k != k) continue;
          EXPECT_DOUBLE_EQ(t.y, y);
          EXPECT_LE(t.x1, t.x2);
          covered |= x > t.x1 && x < t.x2;
          near_end |= std::fabs(x - t.x1) < 1e-3 || std::fabs(x - t.x2) < 1e-3;
        }
        if (!near_end) {
          ASSERT_EQ(covered, inside(shape, s, c, x, y))
              << "trial " << trial << " line " << k << " x " << x;
        }
      }
    }
  }
  gdachang(0);
  gdachpaso(1);
}

TEST(Hatching, TooManyCrossingsOrNoMemoryStopWithAMessageAndNoSpans) {
  EstadoGrafico& g = estado_grafico();
  g.sx = 1;
  g.sy = -1;
  g.ox = g.oy = 0;
  gdachang(0);
  gdachpaso(1);
  // A comb of 100 teeth 700 lines tall: 200 crossings a line, 140,000 in all.
  Ring comb;
  for (int t = 0; t < 100; ++t) {
    comb.x.insert(comb.x.end(), {t * 10.0, t * 10.0 + 5, t * 10.0 + 5, t * 10.0 + 10});
    comb.y.insert(comb.y.end(), {0, 0, 700, 700});
  }
  comb.x.push_back(1000);
  comb.y.push_back(-10);
  comb.x.push_back(0);
  comb.y.push_back(-10);
  const std::vector<Ring> shape{comb};
  const std::vector<Anillo> a = view(shape);
  std::vector<TramoAchurado> spans{{1, 2, 3, 4}};
  {
    RecordingSink sink;
    EXPECT_EQ(tramos_de_achurado(a.data(), 1, nullptr, &spans), Achurado::fallo);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"ERROR achurado: mem"});
    EXPECT_TRUE(spans.empty());
  }
  // Within the view only a tenth of the lines is cut, and that fits.
  const int32_t view_rows[4] = {0, -60, 1000, 0};
  EXPECT_EQ(tramos_de_achurado(a.data(), 1, view_rows, &spans), Achurado::hecho);
  EXPECT_FALSE(spans.empty());
  {
    RecordingSink sink;
    const Allocator previous = set_allocator([](std::size_t size) -> void* {
      return size == kNodosPorBloque * 8 ? nullptr : std::malloc(size);
    });
    EXPECT_EQ(tramos_de_achurado(a.data(), 1, view_rows, &spans), Achurado::fallo);
    set_allocator(previous);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Error en malloc de SCAN_ARENA..."});
    EXPECT_TRUE(spans.empty());
  }
}

// The polylines drawn on a 100 x 100 device showing the world (0, 0) to
// (100, 100), one world unit a pixel.
class HatchDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    gdmundo(0, 0, 0, 100, 100);
    gdlintip(3);
    r.calls().clear();
  }
  void TearDown() override {
    gdachang(0);
    gdachpaso(1);
  }
  BoundRecorder r{100, 100};
};

TEST_F(HatchDrawing, SquaresLinesBowTieAndPolygonOutside) {
  EXPECT_EQ(gdachpaso(0), 1);
  EXPECT_EQ(gdachpaso(-4), 1);
  EXPECT_EQ(gdachpaso(2), 2);
  double x[5] = {0, 10, 10, 0, -1}, y[5] = {0, 0, 10, 10, -1};
  EXPECT_EQ(gachurado(4, x, y), 1);
  // Rows 100 - y for y = 0, 2, .., 8 (a line through the top edge is
  // outside: the side above it is), from x 0 to 10.
  std::vector<std::vector<DevicePoint>> rows;
  for (const RecordedCall& c : r.calls()) rows.push_back(c.points);
  const std::vector<std::vector<DevicePoint>> expected = {{{0, 100}, {10, 100}},
                                                          {{0, 98}, {10, 98}},
                                                          {{0, 96}, {10, 96}},
                                                          {{0, 94}, {10, 94}},
                                                          {{0, 92}, {10, 92}}};
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(x[4], 0);
  EXPECT_EQ(y[4], 0);
  EXPECT_EQ(galintip(), 3);

  r.calls().clear();
  gdachang(45);
  const double before[4] = {x[0], x[1], x[2], x[3]};
  EXPECT_EQ(gachurado(4, x, y), 1);
  EXPECT_TRUE(std::equal(before, before + 4, x));
  ASSERT_GT(r.calls().size(), 5u);
  for (const RecordedCall& c : r.calls()) {
    ASSERT_EQ(c.points.size(), 2u);
    const int dx = c.points[1].x - c.points[0].x, dy = c.points[1].y - c.points[0].y;
    // At -45 degrees in the world: down to the right, so rows grow with x.
    EXPECT_LE(std::abs(dx - dy), 1) << dx << "," << dy;
    for (const DevicePoint& p : c.points) {
      EXPECT_GE(p.x, -1);
      EXPECT_LE(p.x, 11);
      EXPECT_GE(p.y, 89);
      EXPECT_LE(p.y, 101);
    }
  }

  // A bow tie: both triangles hatched, each line in two spans that meet at
  // the crossing point.
  r.calls().clear();
  gdachang(0);
  gdachpaso(1);
  double bx[5] = {0, 20, 20, 0}, by[5] = {0, 10, 0, 10};
  EXPECT_EQ(gachurado(4, bx, by), 1);
  EXPECT_EQ(r.calls().size(), 20u);
  EXPECT_EQ(r.calls()[4].points, (std::vector<DevicePoint>{{0, 98}, {4, 98}}));
  EXPECT_EQ(r.calls()[5].points, (std::vector<DevicePoint>{{16, 98}, {20, 98}}));

  r.calls().clear();
  double ox[5] = {200, 300, 300}, oy[5] = {200, 200, 300};
  EXPECT_EQ(gachurado(3, ox, oy), 0);
  EXPECT_TRUE(r.calls().empty());
}

}  // namespace
}  // namespace cx
