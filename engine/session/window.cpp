// The world window and its history of five windows.
#include <algorithm>

#include "graphics/graphics_state.h"
#include "session/session.h"
#include "topology/redraw.h"

namespace cx {

namespace {

constexpr Ventana kWholeBase{0, 0, 2000000.0, 2000000.0};

void window_changed() {
  Sesion& s = sesion();
  s.params[9] = (s.window.xmax - s.window.xmin) * 0.5;
}

}  // namespace

void aplique_ventana(double x1, double y1, double x2, double y2) {
  const EstadoGrafico& g = estado_grafico();
  // height / width of the device; 1 while no device of any size is bound.
  const double width = g.x1 - g.x0, height = g.y1 - g.y0;
  const double ratio = (width > 0 && height > 0) ? height / width : 1.0;

  if (x1 > x2) std::swap(x1, x2);
  if (x2 - x1 < 1.0) x2 = x1 + 1;
  if (y1 > y2) std::swap(y1, y2);
  if (y2 - y1 < 1.0) y2 = y1 + 1;
  if ((y2 - y1) > (x2 - x1) * ratio)
    x2 = x1 + (y2 - y1) / ratio;
  else
    y2 = y1 + (x2 - x1) * ratio;

  Sesion& s = sesion();
  s.window = {x1, y1, x2, y2};
  defina_mundo(1, x1, y1, x2, y2);
  defina_vista(1, g.x0, g.y0, g.x1, g.y1);
  seleccione_transf(1);
  window_changed();
}

}  // namespace cx

using cx::sesion;

CX_EXPORT(void) get_video(double* xmin, double* ymin, double* xmax, double* ymax) {
  if (cx::punteros_nulos("get_video", {xmin, ymin, xmax, ymax})) return;
  const cx::Ventana& w = sesion().window;
  *xmin = w.xmin;
  *ymin = w.ymin;
  *xmax = w.xmax;
  *ymax = w.ymax;
}

CX_EXPORT(void) set_video(double x1, double y1, double x2, double y2) {
  cx::aplique_ventana(x1, y1, x2, y2);
}

CX_EXPORT(int16_t) initst(int32_t) {
  cx::Sesion& s = sesion();
  s.window = cx::kWholeBase;
  for (cx::Ventana& slot : s.history) slot = cx::kWholeBase;
  s.history_pos = 1;
  cx::window_changed();
  return 0;
}

CX_EXPORT(void) dmoven(int32_t) {
  cx::Sesion& s = sesion();
  if (!(s.window == s.history[s.history_pos])) {
    s.history_pos = (s.history_pos + 1) % cx::kHistory;
    s.history[s.history_pos] = s.window;
  }
  const cx::Ventana w = s.window;
  cx::aplique_ventana(w.xmin, w.ymin, w.xmax, w.ymax);
  cx::redespliegue();
}

CX_EXPORT(void) last_window(int32_t) {
  cx::Sesion& s = sesion();
  s.history_pos = s.history_pos == 0 ? cx::kHistory - 1 : s.history_pos - 1;
  s.window = s.history[s.history_pos];
  cx::window_changed();
}

CX_EXPORT(void) zoom_in(int32_t) {
  cx::Ventana& w = sesion().window;
  const double d = (w.xmax - w.xmin) / 8;
  w.xmin += d;
  w.ymin += d;
  w.xmax -= d;
  w.ymax -= d;
  cx::window_changed();
}

CX_EXPORT(void) zoom_out(int32_t) {
  cx::Ventana& w = sesion().window;
  const double d = (w.xmax - w.xmin) / 8;
  w.xmin = w.xmin - d > 0 ? w.xmin - d : 0;
  w.ymin = w.ymin - d > 0 ? w.ymin - d : 0;
  w.xmax += d;
  w.ymax += d;
  cx::window_changed();
}
