// Host window, stop request and the active flag, with their exports.
#include "frame/host.h"

#include "cartex32.h"

namespace cx {

namespace {
int32_t window = 0;
int16_t stop = 0;
int16_t active = 0;
}  // namespace

int32_t host_window() {
  return window;
}
int16_t stop_request() {
  return stop;
}
void set_stop_request(int16_t value) {
  stop = value;
}

}  // namespace cx

CX_EXPORT(int16_t) set_Hwnd(int32_t window) {
  cx::window = window;
  return -1;
}

CX_EXPORT(void) terminar(int32_t) {
  cx::stop = 0;
}

CX_EXPORT(int16_t) activar_cartex(int32_t) {
  cx::active = -1;
  return -1;
}

CX_EXPORT(int16_t) desactivar_cartex(int32_t) {
  cx::active = 0;
  return 0;
}

CX_EXPORT(int16_t) cartex_activo(int32_t) {
  return cx::active;
}
