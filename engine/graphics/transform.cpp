// The exports of the four windows: world rectangles, viewports, clip
// rectangles, the current transform and the conversions.
#include "cartex32.h"
#include "graphics/graphics_state.h"

using cx::estado_grafico;

namespace {

int16_t truncated16(double v) {
  return static_cast<int16_t>(static_cast<int32_t>(v));
}

cx::VentanaTransf& window(int16_t w) {
  return estado_grafico().windows[cx::ventana_valida(w)];
}

}  // namespace

CX_EXPORT(int16_t) gaaspect(double* aspect) {
  if (aspect) *aspect = estado_grafico().aspect;
  return 1;
}

CX_EXPORT(int16_t) gdtransf(int16_t w) {
  return static_cast<int16_t>(cx::seleccione_transf(w));
}

CX_EXPORT(int16_t) gatransf(void) {
  return estado_grafico().current;
}

CX_EXPORT(int16_t) gdrecorte(int16_t w, int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
  cx::defina_recorte(w, x1, y1, x2, y2);
  return 1;
}

CX_EXPORT(int16_t) garecorte(int16_t w, int16_t* x1, int16_t* y1, int16_t* x2, int16_t* y2) {
  const cx::VentanaTransf& v = window(w);
  if (x1) *x1 = v.cx1;
  if (y1) *y1 = v.cy1;
  if (x2) *x2 = v.cx2;
  if (y2) *y2 = v.cy2;
  return 1;
}

CX_EXPORT(int16_t) gdvista(int16_t w, int16_t vx1, int16_t vy1, int16_t vx2, int16_t vy2) {
  cx::EstadoGrafico& g = estado_grafico();
  cx::VentanaTransf& v = window(w);
  v.vx1 = vx1;
  v.vy1 = vy1;
  v.vx2 = vx2;
  v.vy2 = vy2;
  cx::defina_recorte(w, truncated16(vx1 * g.aspect), vy1, truncated16(vx2 * g.aspect), vy2);
  if (v.wx2 == v.wx1 || v.wy2 == v.wy1) {
    v.wx1 = vx1;
    v.wy1 = vy1;
    v.wx2 = vx2;
    v.wy2 = vy2;
  }
  cx::seleccione_transf(w);
  return 1;
}

CX_EXPORT(int16_t) gavista(int16_t w, int16_t* vx1, int16_t* vy1, int16_t* vx2, int16_t* vy2) {
  const cx::VentanaTransf& v = window(w);
  if (vx1) *vx1 = v.vx1;
  if (vy1) *vy1 = v.vy1;
  if (vx2) *vx2 = v.vx2;
  if (vy2) *vy2 = v.vy2;
  return 0;
}

CX_EXPORT(int16_t) gdmundo(int16_t w, double x1, double y1, double x2, double y2) {
  const cx::EstadoGrafico& g = estado_grafico();
  cx::defina_mundo(w, x1, y1, x2, y2);
  const cx::VentanaTransf& v = window(w);
  if (v.vx1 == v.vx2 || v.vy1 == v.vy2) gdvista(w, g.x0, g.y0, g.x1, g.y1);
  cx::seleccione_transf(w);
  return 0;
}

CX_EXPORT(int16_t) gamundo(int16_t w, double* x1, double* y1, double* x2, double* y2) {
  const cx::VentanaTransf& v = window(w);
  if (x1) *x1 = v.wx1;
  if (y1) *y1 = v.wy1;
  if (x2) *x2 = v.wx2;
  if (y2) *y2 = v.wy2;
  return 0;
}

CX_EXPORT(int16_t) gdescala(double sx, double sy) {
  cx::EstadoGrafico& g = estado_grafico();
  cx::VentanaTransf& v = window(g.current);
  g.sx = v.sx = g.aspect * sx;
  g.sy = v.sy = sy;
  g.ox = v.ox = v.vx1 - g.sx * v.wx1;
  g.oy = v.oy = v.vy1 - g.sy * v.wy1;
  if (g.y_up == 0) {
    g.oy = v.oy = g.y1 - g.oy;
    g.sy = v.sy = -g.sy;
  }
  return 1;
}

CX_EXPORT(void) gaescala(double* sx, double* sy) {
  const cx::EstadoGrafico& g = estado_grafico();
  if (sx) *sx = g.sx / g.aspect;
  if (sy) *sy = g.y_up == 0 ? -g.sy : g.sy;
}

CX_EXPORT(int16_t) gdrotary(int16_t flag) {
  cx::EstadoGrafico& g = estado_grafico();
  const int16_t previous = g.y_up;
  g.y_up = flag;
  if (flag != previous) cx::seleccione_transf(g.current);
  return previous;
}

CX_EXPORT(int16_t) garotary(void) {
  return estado_grafico().y_up;
}

CX_EXPORT(int32_t) gxdev(double x) {
  return cx::gxdev_de(x);
}

CX_EXPORT(int32_t) gydev(double y) {
  return cx::gydev_de(y);
}

CX_EXPORT(void) set_win_cliparea(int32_t, int32_t, int32_t, int32_t) {}
