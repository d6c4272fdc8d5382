// The geodetic and tablet exports of cartex32.dll as a 32-bit host calls
// them: each removes its own arguments (six doubles for convlatlon), and the
// results of the x87 build agree with the ones the other builds give.
#include <windows.h>

#include <cmath>

#include "check.h"
#include "engine_dll.h"
#include "stack_probe.h"

namespace {

using cxw::EngineDll;
using cxw::Slots;

CASE(Geodesy, ExportsRemoveTheirOwnArguments) {
  EngineDll dll;
  REQUIRE(dll.module() != nullptr);
  double a = 0, b = 0, xd[2] = {0, 10}, yd[2] = {0, 0}, xw[2] = {1000, 1000}, yw[2] = {2000, 2100};
  BALANCED(dll, init_converter, Slots() << 3);
  BALANCED(dll, set_origin, Slots() << 4.0 << 35.0 << 56.57 << 74.0 << 4.0 << 51.3);
  BALANCED(dll, set_target, Slots() << 1000000.0 << 1000000.0);
  BALANCED(dll, convert_latlon, Slots() << 5.0 << 75.0 << &a << &b);
  BALANCED(dll, convlatlon, Slots() << 5.0 << 0.0 << 0.0 << 75.0 << 0.0 << 0.0 << &a << &b);
  BALANCED(dll, newton, Slots() << 990000.0 << 1010000.0 << &a << &b);
  BALANCED(dll, gdigcal, Slots() << 2 << xd << yd << xw << yw);
  BALANCED(dll, a_mundo, Slots() << 1.0 << 2.0 << &a << &b);
  BALANCED(dll, a_digit, Slots() << 1.0 << 2.0 << &a << &b);
}

CASE(Geodesy, ConvertsAndCalibrates) {
  EngineDll dll;
  REQUIRE(dll.module() != nullptr);
  auto* init = CX_BIND(dll, init_converter);
  auto* forward = CX_BIND(dll, convert_latlon);
  auto* inverse = CX_BIND(dll, newton);
  REQUIRE(init && forward && inverse);
  init(5);
  double e = 0, n = 0, lat = 0, lon = 0;
  forward(4.599047222, 74.08091666666667, &e, &n);
  CHECK_EQ(e, 1000000.0);
  CHECK_EQ(n, 1000000.0);
  CHECK_EQ(inverse(1000000.0, 1000000.0, &lat, &lon), 1);
  CHECK_EQ(lat, 4.599047222);
  forward(6.25, 75.5, &e, &n);
  CHECK(std::fabs(e - 842939.0755) < 5e-4);
  CHECK(std::fabs(n - 1182788.4928) < 5e-4);
  CHECK(inverse(e, n, &lat, &lon) < 25);
  CHECK(std::fabs(lat - 6.25) < 1e-9 && std::fabs(lon - 75.5) < 1e-9);

  double xd[2] = {0, 10}, yd[2] = {0, 0}, xw[2] = {1000, 1000}, yw[2] = {2000, 2100};
  CX_BIND(dll, gdigcal)(2, xd, yd, xw, yw);
  CX_BIND(dll, a_digit)(1000, 2050, &e, &n);
  CHECK(std::fabs(e - 5) < 1e-12 && std::fabs(n) < 1e-12);
}

}  // namespace
