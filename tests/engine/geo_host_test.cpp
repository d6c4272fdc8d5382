// The geodetic conversion and the tablet calibration as a host calls them:
// the grid series at known points, its inverse over random points, and the
// two-point calibration with its degenerate cases.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "support/engine_library.h"

namespace {

using cx::testing::EngineLibrary;

constexpr double kLat0 = 4.599047222, kLon0 = 74.08091666666667;

struct Geo {
  EngineLibrary lib;
  decltype(&init_converter) init = CX_BIND(lib, init_converter);
  decltype(&set_origin) origin = CX_BIND(lib, set_origin);
  decltype(&set_target) target = CX_BIND(lib, set_target);
  decltype(&convert_latlon) forward = CX_BIND(lib, convert_latlon);
  decltype(&convlatlon) forward_dms = CX_BIND(lib, convlatlon);
  decltype(&newton) inverse = CX_BIND(lib, newton);
  decltype(&gdigcal) calibrate = CX_BIND(lib, gdigcal);
  decltype(&a_mundo) to_world = CX_BIND(lib, a_mundo);
  decltype(&a_digit) to_tablet = CX_BIND(lib, a_digit);
  decltype(&cx_set_message_callback) set_callback = CX_BIND(lib, cx_set_message_callback);

  bool bound() const {
    return init && origin && target && forward && forward_dms && inverse && calibrate && to_world &&
           to_tablet && set_callback;
  }
  std::pair<double, double> grid(double lat, double lon) {
    double e = 0, n = 0;
    forward(lat, lon, &e, &n);
    return {e, n};
  }
};

TEST(GeoHost, OriginNumbersSelectTheCentralMeridian) {
  Geo g;
  ASSERT_TRUE(g.bound());
  // The origin maps exactly onto the false easting and northing, and only
  // there: a meridian other than the selected one is off the grid origin.
  const struct {
    int16_t origin;
    double meridian;
  } cases[] = {{0, kLon0}, {5, kLon0}, {-1, kLon0}, {1, 77.08091666666667}, {3, 80.08091666666667}};
  for (const auto& c : cases) {
    g.init(c.origin);
    const auto [e, n] = g.grid(kLat0, c.meridian);
    EXPECT_EQ(e, 1000000.0) << "origin " << c.origin;
    EXPECT_EQ(n, 1000000.0) << "origin " << c.origin;
    EXPECT_GT(std::fabs(g.grid(kLat0, c.meridian + 3.0).first - 1000000.0), 300000.0);
  }
}

TEST(GeoHost, ForwardSeriesMatchesValuesWorkedOutByHand) {
  Geo g;
  ASSERT_TRUE(g.bound());
  g.init(0);
  // Worked once from the series with tan, pow and pi/180 written out.
  const struct {
    double lat, lon, easting, northing;
  } cases[] = {{6.25, 75.5, 842939.0755, 1182788.4928},
               {2.5, 72.25, 1203666.8054, 768034.3765},
               {10.0, 77.0, 679809.7611, 1598811.8265}};
  for (const auto& c : cases) {
    const auto [e, n] = g.grid(c.lat, c.lon);
    EXPECT_NEAR(e, c.easting, 5e-4) << c.lat << " " << c.lon;
    EXPECT_NEAR(n, c.northing, 5e-4) << c.lat << " " << c.lon;
  }
}

TEST(GeoHost, LongitudesGrowWestward) {
  Geo g;
  ASSERT_TRUE(g.bound());
  g.init(0);
  const auto [west_e, west_n] = g.grid(kLat0, kLon0 + 1.0);
  const auto [east_e, east_n] = g.grid(kLat0, kLon0 - 1.0);
  EXPECT_NEAR(1000000.0 - west_e, 111000.0, 1000.0);
  // The meridian is an axis of symmetry; parallels curve toward the pole.
  EXPECT_NEAR(east_e - 1000000.0, 1000000.0 - west_e, 1e-6);
  EXPECT_NEAR(east_n, west_n, 1e-6);
  EXPECT_GT(west_n, 1000000.0);
}

TEST(GeoHost, OriginAndTargetCanBeMoved) {
  Geo g;
  ASSERT_TRUE(g.bound());
  g.init(2);
  g.origin(6, 15, 0, 75, 34, 30);  // 6.25 N, 75.575 W
  g.target(500000, 800000);
  double e = 0, n = 0;
  g.forward_dms(6, 15, 0, 75, 34, 30, &e, &n);
  EXPECT_NEAR(e, 500000.0, 1e-9);
  EXPECT_NEAR(n, 800000.0, 1e-9);
  // Minutes and seconds are sixtieths and 3600ths of a degree.
  double e2 = 0, n2 = 0;
  g.forward_dms(7, 30, 36, 76, 0, 18, &e, &n);
  g.forward(7.51, 76.005, &e2, &n2);
  EXPECT_NEAR(e, e2, 1e-6);
  EXPECT_NEAR(n, n2, 1e-6);
  double lat = 0, lon = 0;
  EXPECT_LT(g.inverse(e, n, &lat, &lon), 25);
  EXPECT_NEAR(lat, 7.51, 1e-9);
  EXPECT_NEAR(lon, 76.005, 1e-9);
}

TEST(GeoHost, NewtonOfTheGridOriginIsTheOriginInOneConversion) {
  Geo g;
  ASSERT_TRUE(g.bound());
  g.init(0);
  double lat = 0, lon = 0;
  EXPECT_EQ(g.inverse(1000000.0, 1000000.0, &lat, &lon), 1);
  EXPECT_EQ(lat, kLat0);
  EXPECT_EQ(lon, kLon0);
  // On the central meridian the longitude has nothing to solve: the guess
  // is kept while the latitude converges.
  EXPECT_LT(g.inverse(1000000.0, 1250000.0, &lat, &lon), 25);
  EXPECT_EQ(lon, kLon0);
  EXPECT_NEAR(g.grid(lat, lon).second, 1250000.0, 1e-6);
}

TEST(GeoHost, NewtonInvertsTheSeriesAroundTheOrigin) {
  Geo g;
  ASSERT_TRUE(g.bound());
  g.init(0);
  std::mt19937 random(23);
  std::uniform_real_distribution<double> offset(-3.0, 3.0);
  std::vector<int> conversions;
  for (int i = 0; i < 500; ++i) {
    const double lat = kLat0 + offset(random), lon = kLon0 + offset(random);
    const auto [e, n] = g.grid(lat, lon);
    double back_lat = 0, back_lon = 0;
    const int16_t count = g.inverse(e, n, &back_lat, &back_lon);
    ASSERT_LT(count, 25) << lat << " " << lon;
    const auto [be, bn] = g.grid(back_lat, back_lon);
    EXPECT_LE(std::fabs(be - e) + std::fabs(bn - n), 1e-6) << lat << " " << lon;
    EXPECT_NEAR(back_lat, lat, 1e-9);
    EXPECT_NEAR(back_lon, lon, 1e-9);
    conversions.push_back(count);
  }
  std::nth_element(conversions.begin(), conversions.begin() + 250, conversions.end());
  EXPECT_LE(conversions[250], 6);
}

TEST(GeoHost, NewtonSaysSoWhenItFindsNoPosition) {
  Geo g;
  ASSERT_TRUE(g.bound());
  g.init(0);
  double lat = 0, lon = 0;
  EXPECT_EQ(g.inverse(std::nan(""), 1000000.0, &lat, &lon), 25);
  EXPECT_EQ(g.inverse(1000000.0, 1000000.0, nullptr, nullptr), 1);
}

struct Shown {
  std::vector<std::string> texts;
};

int32_t CX_CALL record(void* user, int32_t, const char*, const char* text, int32_t) {
  static_cast<Shown*>(user)->texts.push_back(text);
  return CX_IDOK;
}

struct Calibration {
  double xd[2], yd[2], xw[2], yw[2];
};

// The example of the manual, then a calibration with a point at the origin
// of each side, a half turn and a reduction, and an arbitrary one.
const Calibration kCalibrations[] = {
    {{0, 10}, {0, 0}, {1000, 1000}, {2000, 2100}},
    {{0, -3}, {0, 4}, {0, 8}, {0, -6}},
    {{12.5, 40}, {7, 7}, {-300, -355}, {900, 900}},
    {{-4.25, 17.5}, {3.5, -22}, {482133.7, 481020.1}, {1203344.2, 1201998.6}},
};

TEST(GeoHost, CalibrationMapsEachPairOntoTheOtherAndInverts) {
  Geo g;
  ASSERT_TRUE(g.bound());
  for (const Calibration& c : kCalibrations) {
    g.calibrate(2, c.xd, c.yd, c.xw, c.yw);
    const double scale = std::hypot(c.xw[1] - c.xw[0], c.yw[1] - c.yw[0]) /
                         std::hypot(c.xd[1] - c.xd[0], c.yd[1] - c.yd[0]);
    const double world_tol = 1e-9 * (1 + std::fabs(c.xw[0]) + std::fabs(c.yw[0]));
    for (int i = 0; i < 2; ++i) {
      double x = 0, y = 0;
      g.to_world(c.xd[i], c.yd[i], &x, &y);
      EXPECT_NEAR(x, c.xw[i], world_tol) << c.xw[0];
      EXPECT_NEAR(y, c.yw[i], world_tol) << c.xw[0];
      g.to_tablet(c.xw[i], c.yw[i], &x, &y);
      EXPECT_NEAR(x, c.xd[i], world_tol / scale) << c.xw[0];
      EXPECT_NEAR(y, c.yd[i], world_tol / scale) << c.xw[0];
    }
    // A similarity: distances scale by k, and the maps undo each other.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> tablet(-50, 50);
    for (int i = 0; i < 50; ++i) {
      const double px = tablet(random), py = tablet(random), qx = tablet(random),
                   qy = tablet(random);
      double pwx = 0, pwy = 0, qwx = 0, qwy = 0, bx = 0, by = 0;
      g.to_world(px, py, &pwx, &pwy);
      g.to_world(qx, qy, &qwx, &qwy);
      EXPECT_NEAR(std::hypot(qwx - pwx, qwy - pwy), scale * std::hypot(qx - px, qy - py),
                  world_tol);
      g.to_tablet(pwx, pwy, &bx, &by);
      EXPECT_NEAR(bx, px, world_tol / scale);
      EXPECT_NEAR(by, py, world_tol / scale);
    }
  }
}

TEST(GeoHost, CalibrationExampleOfTheManual) {
  Geo g;
  ASSERT_TRUE(g.bound());
  const Calibration& c = kCalibrations[0];
  g.calibrate(2, c.xd, c.yd, c.xw, c.yw);
  double x = 0, y = 0;
  g.to_world(10, 0, &x, &y);
  EXPECT_NEAR(x, 1000, 1e-9);
  EXPECT_NEAR(y, 2100, 1e-9);
  g.to_tablet(1000, 2050, &x, &y);
  EXPECT_NEAR(x, 5, 1e-12);
  EXPECT_NEAR(y, 0, 1e-12);
}

TEST(GeoHost, DegenerateCalibrationsKeepTheOneInForce) {
  Geo g;
  ASSERT_TRUE(g.bound());
  const Calibration& good = kCalibrations[0];
  g.calibrate(2, good.xd, good.yd, good.xw, good.yw);
  Shown shown;
  g.set_callback(record, &shown);
  const double same_x[2] = {3, 3}, same_y[2] = {4, 4}, other_x[2] = {0, 7}, other_y[2] = {1, 9};
  const struct {
    int16_t count;
    const double *xd, *yd, *xw, *yw;
    bool told;
  } cases[] = {
      {1, other_x, other_y, other_x, other_y, false},
      {3, other_x, other_y, other_x, other_y, false},
      {2, nullptr, other_y, other_x, other_y, false},
      {2, same_x, same_y, other_x, other_y, true},  // the tablet points coincide
      {2, other_x, other_y, same_x, same_y, true},  // the world points coincide
  };
  for (const auto& c : cases) {
    shown.texts.clear();
    g.calibrate(c.count, c.xd, c.yd, c.xw, c.yw);
    double x = 0, y = 0;
    g.to_world(10, 0, &x, &y);
    EXPECT_NEAR(x, 1000, 1e-9) << c.count << " " << c.told;
    EXPECT_NEAR(y, 2100, 1e-9) << c.count << " " << c.told;
    g.to_tablet(1000, 2050, &x, &y);
    EXPECT_NEAR(x, 5, 1e-9);
    EXPECT_TRUE(std::isfinite(y));
    ASSERT_EQ(shown.texts.size(), c.told ? 1u : 0u);
    if (c.told) {
      EXPECT_NE(shown.texts[0].find("se conserva la calibracion anterior"), std::string::npos);
    }
  }
  g.set_callback(nullptr, nullptr);
}

}  // namespace
