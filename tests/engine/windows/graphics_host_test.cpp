// The graphics exports of cartex32.dll as a 32-bit host calls them: each
// removes its own arguments (doubles take two slots, Integers one), and a
// device made through the DLL is drawn on and read back. This build has no
// PNG support: guardar_png refuses with a message.
#include <windows.h>

#include <string>
#include <vector>

#include "check.h"
#include "engine_dll.h"
#include "stack_probe.h"

namespace {

using cxw::EngineDll;
using cxw::Slots;

int32_t CX_CALL count_message(void* user, int32_t, const char*, const char*, int32_t) {
  ++*static_cast<int*>(user);
  return CX_IDOK;
}

CASE(Graphics, ExportsRemoveTheirOwnArguments) {
  EngineDll dll;
  REQUIRE(dll.module() != nullptr);
  const int32_t hdc = CX_BIND(dll, crear_dispositivo)(64, 48);
  REQUIRE(hdc > 0);
  double d = 0, xs[3] = {1, 20, 40}, ys[3] = {1, 30, 2};
  int16_t a = 0, b = 0, c = 0, e = 0;
  BALANCED(dll, gabrest, Slots() << 0 << 0 << 64 << 48 << hdc);
  BALANCED(dll, vb_sethdcxy, Slots() << hdc << 0 << 0 << 64 << 48);
  BALANCED(dll, gdmundo, Slots() << 1 << 0.0 << 0.0 << 100.0 << 50.0);
  BALANCED(dll, gamundo, Slots() << 1 << &d << &d << &d << &d);
  BALANCED(dll, gdvista, Slots() << 1 << 0 << 0 << 64 << 48);
  BALANCED(dll, gavista, Slots() << 1 << &a << &b << &c << &e);
  BALANCED(dll, gdrecorte, Slots() << 1 << 0 << 0 << 64 << 48);
  BALANCED(dll, gdescala, Slots() << 1.0 << 1.0);
  BALANCED(dll, gaescala, Slots() << &d << &d);
  BALANCED(dll, gxdev, Slots() << 3.5);
  BALANCED(dll, grota, Slots() << 1.0 << 2.0 << 0.5 << 0.5 << &d << &d);
  BALANCED(dll, grota_i, Slots() << 10 << 20 << 1000 << 2000 << &a << &b);
  BALANCED(dll, int_rota, Slots() << 10 << 20 << 0.5 << &a << &b);
  BALANCED(dll, calc_ang, Slots() << 0.0 << 0.0 << 1.0 << 1.0 << &d);
  BALANCED(dll, set_win_cliparea, Slots() << 1 << 2 << 3 << 4);
  BALANCED(dll, gdcolor, Slots() << 300);
  BALANCED(dll, gsetcolor, Slots() << 200 << 0x123456);
  BALANCED(dll, getRGB, Slots() << 0x123456 << &a << &b << &c);
  BALANCED(dll, gdlintip, Slots() << 3);
  BALANCED(dll, gdlinanch, Slots() << 3);
  BALANCED(dll, gplinea, Slots() << xs << ys << 3);
  BALANCED(dll, glinea, Slots() << 1.0 << 2.0 << 30.0 << 40.0);
  BALANCED(dll, glineaint, Slots() << 1 << 2 << 30 << 40);
  BALANCED(dll, gapunto, Slots() << 1 << 1 << hdc);
  BALANCED(dll, gcaja, Slots() << 1.0 << 2.0 << 30.0 << 40.0);
  BALANCED(dll, gcirculo, Slots() << 10.0 << 10.0 << 5.0);
  BALANCED(dll, gelipse, Slots() << 10.0 << 10.0 << 0.0 << 0.0 << 5.0 << 3.0);
  BALANCED(dll, garco3, Slots() << 0.0 << 0.0 << 1.0 << 1.0 << 2.0 << 0.0);
  e = 0;
  BALANCED(dll, distancia_poli, Slots() << xs << ys << 3 << 5.0 << 5.0 << &d << &e);
  CHECK_EQ(CX_BIND(dll, liberar_dispositivo)(hdc), 0);
}

CASE(Graphics, DrawsOnItsOwnDevice) {
  EngineDll dll;
  REQUIRE(dll.module() != nullptr);
  int shown = 0;
  CX_BIND(dll, cx_set_message_callback)(count_message, &shown);
  const int32_t hdc = CX_BIND(dll, crear_dispositivo)(8, 4);
  REQUIRE(hdc > 0);
  CX_BIND(dll, gabrest)(0, 0, 8, 4, hdc);
  CX_BIND(dll, gdcolor)(12);
  CX_BIND(dll, gdlinanch)(1);
  CX_BIND(dll, glinea)(1, 2, 6, 2);  // row 4 - 2 = 2, pixels 1..5
  std::vector<uint8_t> rgbx(8 * 4 * 4);
  CHECK_EQ(CX_BIND(dll, copiar_pixeles)(hdc, rgbx.data()), 0);
  std::string row;
  for (int x = 0; x < 8; ++x) row += rgbx[(2 * 8 + x) * 4 + 2] == 0 ? 'r' : '.';
  CHECK_EQ(row, std::string(".rrrrr.."));
  CHECK_EQ(CX_BIND(dll, gapunto)(1, 2, hdc), 0x0000FF);
  CHECK_EQ(CX_BIND(dll, guardar_png)(hdc, "never.png"), -1);
  CHECK_EQ(shown, 1);
  CHECK(GetFileAttributesA("never.png") == INVALID_FILE_ATTRIBUTES);
  CHECK_EQ(CX_BIND(dll, liberar_dispositivo)(hdc), 0);
  CX_BIND(dll, cx_set_message_callback)(nullptr, nullptr);
}

}  // namespace
