// The graphics state and the world-to-device transform of its windows.
#include "graphics/graphics_state.h"

#include <utility>

namespace cx {

namespace {
EstadoGrafico state;

VentanaTransf& window_at(int w) {
  return state.windows[(w >= 0 && w < 4) ? w : 0];
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
