// The grid and tablet exports of cartex32.dll as a 32-bit host calls them:
// each removes its own arguments (six doubles for convlatlon), and the x87
// build still maps the origin exactly and inverts the series.
#include <windows.h>

#include <cmath>

#include "check.h"
#include "engine_dll.h"
#include "stack_probe.h"

namespace {

using cxw::Slots;

CASE(Geodesy, ExportsRemoveTheirArgumentsAndConvert) {
  cxw::EngineDll dll;
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

  auto* forward = CX_BIND(dll, convert_latlon);
  auto* inverse = CX_BIND(dll, newton);
  REQUIRE(forward && inverse);
  CX_BIND(dll, init_converter)(0);
  forward(4.599047222, 74.08091666666667, &a, &b);
  CHECK_EQ(a, 1000000.0);
  CHECK_EQ(b, 1000000.0);
  forward(6.25, 75.5, &a, &b);
  CHECK(inverse(a, b, &a, &b) < 25);
  CHECK(std::fabs(a - 6.25) < 1e-9 && std::fabs(b - 75.5) < 1e-9);
}

}  // namespace
