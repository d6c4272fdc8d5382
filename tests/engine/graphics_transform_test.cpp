// The windows and the world-to-device transform, the rotations, angles and
// sines, through the exports.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "graphics/geometry.h"
#include "graphics/graphics_state.h"
#include "support/graphics_support.h"

namespace cx {
namespace {

using testing::BoundRecorder;

TEST(GraphicsTransform, WorldToDevice) {
  BoundRecorder r(640, 480);
  struct Case {
    const char* what;
    double x, y;
    int32_t X, Y;
  };
  // After gabrest every window is the identity map in upward pixels.
  for (const Case& c : {Case{"origin", 0, 0, 0, 480}, Case{"top", 0, 480, 0, 0},
                        Case{"truncated toward zero, not down", -0.7, 480.7, 0, 0},
                        Case{"inside", 100.9, 100.2, 100, 379}}) {
    EXPECT_EQ(gxdev(c.x), c.X) << c.what;
    EXPECT_EQ(gydev(c.y), c.Y) << c.what;
  }
  // Far-away and undefined values saturate instead of wrapping.
  EXPECT_EQ(gxdev(1e300), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(gxdev(-1e300), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(gydev(-1e12), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(gxdev(std::nan("")), 0);

  // A 1000 x 500 world on the 640 x 480 viewport takes the smaller scale.
  gdmundo(0, 0, 0, 1000, 500);
  double sx, sy;
  gaescala(&sx, &sy);
  EXPECT_DOUBLE_EQ(sx, 0.64);
  EXPECT_DOUBLE_EQ(sy, -0.64);
  EXPECT_EQ(gydev(500), 480 - 320);
  EXPECT_EQ(gxdev(1000), 640);

  // Corners are ordered when stored.
  double w[4];
  gdmundo(2, 10, 20, 0, 0);
  gamundo(2, &w[0], &w[1], &w[2], &w[3]);
  EXPECT_EQ((std::vector<double>{w[0], w[1], w[2], w[3]}), (std::vector<double>{0, 0, 10, 20}));
  EXPECT_EQ(gatransf(), 2);
  // A window number outside 0..3 names window 0.
  EXPECT_EQ(gdtransf(7), 0);
  gamundo(-1, &w[0], &w[1], &w[2], &w[3]);
  EXPECT_EQ(w[2], 1000);
}

TEST(GraphicsTransform, DegenerateRectanglesTakeTheirPartner) {
  BoundRecorder r(200, 100);
  // A degenerate world becomes the viewport: world units are pixels.
  gdmundo(1, 5, 5, 5, 5);
  gdvista(1, 10, 10, 60, 40);
  EXPECT_EQ(gxdev(10), 10);
  EXPECT_EQ(gydev(40), 100 - 40);
  // A degenerate viewport becomes the device rectangle.
  gdvista(3, 7, 7, 7, 7);
  gdmundo(3, 0, 0, 20, 10);
  int16_t v[4];
  gavista(3, &v[0], &v[1], &v[2], &v[3]);
  EXPECT_EQ(v[2], 200);
  EXPECT_EQ(gxdev(20), 200);
}

TEST(GraphicsTransform, ClipRegionChangesAtOnceAndStaysThroughTransfers) {
  BoundRecorder r(200, 100);
  gdtransf(0);
  gdrecorte(1, 10, 20, 50, 60);
  // Upward values 20..60 are device rows 40..80.
  EXPECT_EQ(r.device().clip_box(), (DeviceRect{10, 40, 50, 80}));
  EXPECT_EQ(estado_grafico().cy2, 60);
  gdtransf(0);
  EXPECT_EQ(estado_grafico().cy2, 100);                            // window 0's numbers ...
  EXPECT_EQ(r.device().clip_box(), (DeviceRect{10, 40, 50, 80}));  // ... but the region stays
  int16_t c[4];
  EXPECT_EQ(garecorte(1, &c[0], &c[1], &c[2], &c[3]), 1);
  EXPECT_EQ(c[3], 60);
}

TEST(GraphicsTransform, ImposedScaleAndYDirection) {
  BoundRecorder r(100, 100);
  // With the flag at 1 the scale and offset are taken as they stand.
  gdescala(2, -2);
  EXPECT_EQ(gxdev(10), 20);
  EXPECT_EQ(gydev(10), -20);
  // Setting the flag it already has recomputes nothing: the imposed scale stays.
  EXPECT_EQ(gdrotary(1), 1);
  EXPECT_EQ(gxdev(10), 20);
  // Turning it off recomputes the window: y grows downward.
  EXPECT_EQ(gdrotary(0), 1);
  EXPECT_EQ(garotary(), 0);
  EXPECT_EQ(gydev(10), 10);
  gdescala(3, 3);  // with the flag 0 the given sy is turned for world y up
  double sx, sy;
  gaescala(&sx, &sy);
  EXPECT_EQ(sx, 3);
  EXPECT_EQ(sy, 3);
  EXPECT_EQ(gydev(10), 100 - 30);
  gdrotary(1);
}

TEST(GraphicsGeometry, AnglesOfEveryQuadrant) {
  constexpr double pi = 3.141592653589793;
  struct Case {
    double x2, y2, angle;
  };
  for (const Case& c : {Case{1, 0, 0}, Case{1, 1, pi / 4}, Case{0, 1, pi / 2},
                        Case{-1, 1, 3 * pi / 4}, Case{-1, 0, pi}, Case{-1, -1, 5 * pi / 4},
                        Case{0, -1, 3 * pi / 2}, Case{1, -1, 7 * pi / 4}, Case{0, 0, 3 * pi / 2}}) {
    EXPECT_NEAR(angulo_vector(0, 0, c.x2, c.y2), c.angle, 1e-12) << c.x2 << "," << c.y2;
  }
  double a = 0;
  EXPECT_EQ(calc_ang(0, 0, 1, 1, &a), 45);
  EXPECT_EQ(a, 0.7853981633974483);
  double d = 0;
  distancia_VB(1, 1, 4, 5, &d);
  EXPECT_EQ(d, 5);
}

TEST(GraphicsGeometry, SinesOfAnyAngle) {
  struct Case {
    int32_t tenths;
    double sine, cosine;
  };
  for (const Case& c : {Case{0, 0, 1}, Case{900, 1, 0}, Case{-900, -1, 0}, Case{2700, -1, 0},
                        Case{-3600, 0, 1}, Case{36900, 1, 0}, Case{-8100, -1, 0},
                        Case{32767, std::sin(32767 * 0.0017453292519943296),
                             std::cos(32767 * 0.0017453292519943296)}}) {
    EXPECT_NEAR(seno_decimas(c.tenths), c.sine, 1e-12) << c.tenths;
    EXPECT_NEAR(coseno_decimas(c.tenths), c.cosine, 1e-12) << c.tenths;
  }
}

TEST(GraphicsGeometry, FixedPointRotationMatchesTheDoubleOne) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> coord(-255, 255), tenths(0, 3599);
  for (int i = 0; i < 2000; ++i) {
    const int16_t x = static_cast<int16_t>(coord(rng)), y = static_cast<int16_t>(coord(rng));
    const int t = tenths(rng);
    const double s = seno_decimas(t), c = coseno_decimas(t);
    int16_t xi, yi, xa, ya;
    grota_i(x, y, static_cast<int32_t>(s * 8388608), static_cast<int32_t>(c * 8388608), &xi, &yi);
    double xd, yd;
    grota(x, y, s, c, &xd, &yd);
    // Each of the two shifted products rounds down by under one unit.
    EXPECT_NEAR(xi, xd, 2.0);
    EXPECT_NEAR(yi, yd, 2.0);
    int_rota(x, y, t * 0.0017453292519943296, &xa, &ya);
    EXPECT_NEAR(xa, xd, 1.0);
    EXPECT_NEAR(ya, yd, 1.0);
  }
  int16_t xs, ys;
  int_rota(30000, 30000, 0.7853981633974483, &xs, &ys);  // beyond 16 bits: saturated
  EXPECT_EQ(ys, 32767);
}

}  // namespace
}  // namespace cx
