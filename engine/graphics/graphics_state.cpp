// The graphics state and the world-to-device transform of its windows.
#include "graphics/graphics_state.h"

#include <cmath>
#include <limits>
#include <utility>

#include "graphics/palette.h"
#include "platform/device_table.h"

namespace cx {

namespace {
EstadoGrafico make_state() {
  EstadoGrafico s;
  paleta_inicial(s.palette);
  return s;
}
EstadoGrafico state = make_state();

VentanaTransf& window_at(int w) {
  return state.windows[ventana_valida(w)];
}

int32_t saturate(double v) {
  if (std::isnan(v)) return 0;
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  return v <= lo   ? std::numeric_limits<int32_t>::min()
         : v >= hi ? std::numeric_limits<int32_t>::max()
                   : static_cast<int32_t>(v);
}

void calcule_transf(VentanaTransf& v) {
  v.sx = v.wx2 != v.wx1 ? (v.vx2 - v.vx1) / (v.wx2 - v.wx1) : 1.0;
  v.sy = v.wy2 != v.wy1 ? (v.vy2 - v.vy1) / (v.wy2 - v.wy1) : 1.0;
  if (v.sy < v.sx)
    v.sx = v.sy;
  else
    v.sy = v.sx;
  v.ox = v.vx1 - v.sx * v.wx1;
  v.oy = v.vy1 - v.sy * v.wy1;
  if (state.y_up) {
    v.sy = -v.sy;
    v.oy = state.y1 - v.oy;
  }
}
}  // namespace

EstadoGrafico& estado_grafico() {
  return state;
}

Device* dispositivo_actual() {
  return state.device ? dispositivo(state.device) : nullptr;
}

int ventana_valida(int window) {
  return (window >= 0 && window < 4) ? window : 0;
}

int32_t gxdev_de(double x) {
  return saturate(state.sx * x + state.ox);
}

int32_t gydev_de(double y) {
  return saturate(state.sy * y + state.oy);
}

void defina_recorte(int window, int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
  VentanaTransf& v = window_at(window);
  v.cx1 = state.cx1 = x1;
  v.cy1 = state.cy1 = y1;
  v.cx2 = state.cx2 = x2;
  v.cy2 = state.cy2 = y2;
  if (Device* d = dispositivo_actual()) d->set_clip({x1, state.y1 - y2, x2, state.y1 - y1});
}

void valores_graficos_iniciales() {
  for (VentanaTransf& w : state.windows) w = VentanaTransf{};
  state.aspect = 1.0;
  state.y_up = 1;
  state.current = 0;
  state.sx = state.sy = state.ox = state.oy = 0;
  state.cx1 = state.cy1 = state.cx2 = state.cy2 = 0;
}

void defina_mundo(int window, double x1, double y1, double x2, double y2) {
  VentanaTransf& v = window_at(window);
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  v.wx1 = x1;
  v.wy1 = y1;
  v.wx2 = x2;
  v.wy2 = y2;
  state.aspect = 1.0;
  state.current = static_cast<int16_t>(&v - state.windows);
}

void defina_vista(int window, int16_t vx1, int16_t vy1, int16_t vx2, int16_t vy2) {
  VentanaTransf& v = window_at(window);
  v.vx1 = vx1;
  v.vy1 = vy1;
  v.vx2 = vx2;
  v.vy2 = vy2;
  v.cx1 = vx1;
  v.cy1 = vy1;
  v.cx2 = vx2;
  v.cy2 = vy2;
  state.current = static_cast<int16_t>(&v - state.windows);
}

int seleccione_transf(int window) {
  VentanaTransf& v = window_at(window);
  calcule_transf(v);
  state.sx = v.sx;
  state.sy = v.sy;
  state.ox = v.ox;
  state.oy = v.oy;
  state.cx1 = v.cx1;
  state.cy1 = v.cy1;
  state.cx2 = v.cx2;
  state.cy2 = v.cy2;
  state.aspect = 1.0;
  state.current = static_cast<int16_t>(&v - state.windows);
  return state.current;
}

}  // namespace cx
