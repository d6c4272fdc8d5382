// The grid conversion and the tablet calibration as a host calls them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "support/engine_library.h"

namespace {

constexpr double kLat0 = 4.599047222, kLon0 = 74.08091666666667;

struct Geo {
  cx::testing::EngineLibrary lib;
  decltype(&init_converter) init = CX_BIND(lib, init_converter);
  decltype(&convert_latlon) forward = CX_BIND(lib, convert_latlon);
  decltype(&newton) inverse = CX_BIND(lib, newton);
  decltype(&gdigcal) calibrate = CX_BIND(lib, gdigcal);
  decltype(&a_mundo) to_world = CX_BIND(lib, a_mundo);
  decltype(&a_digit) to_tablet = CX_BIND(lib, a_digit);
  bool bound() const { return init && forward && inverse && calibrate && to_world && to_tablet; }
};

TEST(GeoHost, ForwardSeries) {
  Geo g;
  ASSERT_TRUE(g.bound());
  // Grid values worked out once by hand from the series (tan, pow and
  // pi/180 written out); the origins themselves map exactly.
  const struct {
    int16_t origin;
    double lat, lon, easting, northing, tolerance;
  } cases[] = {{0, kLat0, kLon0, 1e6, 1e6, 0},
               {5, kLat0, kLon0, 1e6, 1e6, 0},
               {1, kLat0, 77.08091666666667, 1e6, 1e6, 0},
               {0, kLat0, kLon0 + 1, 889026.5702, 1000077.6565, 5e-4},  // 1 degree west: -111 km
               {0, 6.25, 75.5, 842939.0755, 1182788.4928, 5e-4},
               {0, 2.5, 72.25, 1203666.8054, 768034.3765, 5e-4},
               {0, 10.0, 77.0, 679809.7611, 1598811.8265, 5e-4}};
  for (const auto& c : cases) {
    g.init(c.origin);
    double e = 0, n = 0;
    g.forward(c.lat, c.lon, &e, &n);
    EXPECT_NEAR(e, c.easting, c.tolerance) << c.origin << ": " << c.lat << " " << c.lon;
    EXPECT_NEAR(n, c.northing, c.tolerance) << c.origin << ": " << c.lat << " " << c.lon;
  }
}

TEST(GeoHost, OriginTargetAndMinutes) {
  Geo g;
  ASSERT_TRUE(g.bound());
  g.init(2);
  CX_BIND(g.lib, set_origin)(6, 15, 0, 75, 34, 30);
  CX_BIND(g.lib, set_target)(500000, 800000);
  double e = 0, n = 0, e2 = 0, n2 = 0;
  g.forward(6.25, 75.575, &e, &n);
  EXPECT_NEAR(e, 500000.0, 1e-9);
  EXPECT_NEAR(n, 800000.0, 1e-9);
  CX_BIND(g.lib, convlatlon)(7, 30, 36, 76, 0, 18, &e, &n);
  g.forward(7.51, 76.005, &e2, &n2);
  EXPECT_NEAR(e, e2, 1e-6);
  EXPECT_NEAR(n, n2, 1e-6);
}

TEST(GeoHost, NewtonInvertsTheSeries) {
  Geo g;
  ASSERT_TRUE(g.bound());
  g.init(0);
  double lat = 0, lon = 0;
  EXPECT_EQ(g.inverse(1e6, 1e6, &lat, &lon), 1);
  EXPECT_EQ(lat, kLat0);
  EXPECT_EQ(lon, kLon0);
  EXPECT_EQ(g.inverse(std::nan(""), 1e6, &lat, &lon), 25);  // no position: not met
  // On the origin's meridian or parallel the guess shares a coordinate with
  // the origin, which then cannot serve as the previous point.
  for (const auto& [e, n] : {std::pair{1e6, 1.25e6}, std::pair{8e5, 1e6}}) {
    EXPECT_LT(g.inverse(e, n, &lat, &lon), 25);
    double back_e = 0, back_n = 0;
    g.forward(lat, lon, &back_e, &back_n);
    EXPECT_LE(std::fabs(back_e - e) + std::fabs(back_n - n), 1e-6) << e << " " << n;
  }
  std::mt19937 random(23);
  std::uniform_real_distribution<double> offset(-3.0, 3.0);
  std::vector<int> counts;
  for (int i = 0; i < 300; ++i) {
    const double la = kLat0 + offset(random), lo = kLon0 + offset(random);
    double e = 0, n = 0;
    g.forward(la, lo, &e, &n);
    counts.push_back(g.inverse(e, n, &lat, &lon));
    EXPECT_LT(counts.back(), 25) << la << " " << lo;
    EXPECT_NEAR(lat, la, 1e-9);
    EXPECT_NEAR(lon, lo, 1e-9);
  }
  std::nth_element(counts.begin(), counts.begin() + 150, counts.end());
  EXPECT_LE(counts[150], 6);
}

int32_t CX_CALL count_message(void* user, int32_t, const char*, const char*, int32_t) {
  ++*static_cast<int*>(user);
  return CX_IDOK;
}

TEST(GeoHost, Calibration) {
  Geo g;
  ASSERT_TRUE(g.bound());
  // The manual's example, points at the origin of each side with a half
  // turn and a reduction, and an arbitrary pair.
  const struct {
    double xd[2], yd[2], xw[2], yw[2];
  } cases[] = {{{0, 10}, {0, 0}, {1000, 1000}, {2000, 2100}},
               {{0, -3}, {0, 4}, {0, 1.5}, {0, -2}},
               {{-4.25, 17.5}, {3.5, -22}, {482133.7, 481020.1}, {1203344.2, 1201998.6}}};
  // Two pairs fix a turn, a scale and a shift: each pair maps onto the
  // other both ways.
  for (const auto& c : cases) {
    g.calibrate(2, c.xd, c.yd, c.xw, c.yw);
    for (int i = 0; i < 2; ++i) {
      double x = 0, y = 0;
      g.to_world(c.xd[i], c.yd[i], &x, &y);
      EXPECT_NEAR(x, c.xw[i], 1e-9 * (1 + std::fabs(x)));
      EXPECT_NEAR(y, c.yw[i], 1e-9 * (1 + std::fabs(y)));
      g.to_tablet(c.xw[i], c.yw[i], &x, &y);
      EXPECT_NEAR(x, c.xd[i], 1e-8);
      EXPECT_NEAR(y, c.yd[i], 1e-8);
    }
  }
  g.calibrate(2, cases[0].xd, cases[0].yd, cases[0].xw, cases[0].yw);
  int shown = 0;
  CX_BIND(g.lib, cx_set_message_callback)(count_message, &shown);
  // Wrong counts change nothing; coinciding points are refused with a message.
  const double same[2] = {3, 3}, other[2] = {0, 7};
  g.calibrate(1, other, other, same, other);
  g.calibrate(3, other, other, same, other);
  EXPECT_EQ(shown, 0);
  g.calibrate(2, same, same, other, other);
  g.calibrate(2, other, other, same, same);
  EXPECT_EQ(shown, 2);
  CX_BIND(g.lib, cx_set_message_callback)(nullptr, nullptr);
  double x = 0, y = 0;
  g.to_world(10, 0, &x, &y);
  EXPECT_NEAR(x, 1000, 1e-9);
  EXPECT_NEAR(y, 2100, 1e-9);
  g.to_tablet(1000, 2050, &x, &y);
  EXPECT_NEAR(x, 5, 1e-12);
  EXPECT_NEAR(y, 0, 1e-12);
}

}  // namespace
