// The legend of the thematic classes (showconv): a box at the legend
// placement, or the right fifth of the view while none is set, with one
// row per class, its sample and its label.
//
// The sample follows the class's fifth attribute: 0 a box hatched at the
// angle and step of attributes b and c, 1 a line of type b and width c,
// 2 icon d; attribute a is the colour. The sample is a quarter of the row's
// width right of the margin.
#include <algorithm>
#include <cstring>

#include "cartex32.h"
#include "expr/thematic.h"
#include "frame/messages.h"
#include "graphics/graphics_state.h"
#include "session/session.h"

namespace cx {

EstadoTematico& estado_tematico() {
  static EstadoTematico state;
  return state;
}

std::string etiqueta_de_clase(int i, int n) {
  const cx_legend_slot* slots = sesion().legend;
  const cx_legend_slot& slot = slots[i];
  std::string label(slot.label, strnlen(slot.label, sizeof slot.label));
  while (!label.empty() && label.back() == ' ') label.pop_back();
  if (!label.empty()) return label;
  if (i == 0)
    formatee("HASTA %-9.2lf", slots[1].value);
  else if (i == n - 1)
    formatee("MAS DE %-9.2lf", slots[n - 1].value);
  else
    formatee("%-9.2lfA %-9.2lf", slots[i].value, slots[i + 1].value);
  return texto_mensaje;
}

namespace {

// The settings the legend changes, given back when it is done.
struct Ajustes {
  EstadoGrafico& g = estado_grafico();
  int32_t colour = gacolor();
  int16_t line_type = g.line_type, line_width = g.line_width;
  int16_t hatch_step = g.hatch_step, black_text = g.black_text;
  double hatch_angle = g.hatch_angle, hatch_sin = g.hatch_sin, hatch_cos = g.hatch_cos;
  ~Ajustes() {
    gdcolor(colour);
    gdlintip(line_type);
    gdlinanch(line_width);
    g.hatch_angle = hatch_angle;
    g.hatch_sin = hatch_sin;
    g.hatch_cos = hatch_cos;
    g.hatch_step = hatch_step;
    g.black_text = black_text;
  }
};

void muestra(const cx_legend_slot& slot, double x1, double y1, double x2, double y2) {
  switch (slot.e) {
    case kMuestraLinea:
      gdlintip(slot.b);
      gdlinanch(std::clamp<int16_t>(slot.c, 1, 7));
      glinea(x1, (y1 + y2) / 2, x2, (y1 + y2) / 2);
      gdlintip(1);
      gdlinanch(1);
      break;
    case kMuestraIcono:
      gicono(slot.d, (x1 + x2) / 2, (y1 + y2) / 2);
      break;
    default: {
      gdachang(slot.b);
      gdachpaso(slot.c);
      double xs[6] = {x1, x2, x2, x1, x1}, ys[6] = {y1, y1, y2, y2, y1};
      gachurado(5, xs, ys);
      grectang(x1, y1, x2, y2);
    }
  }
}

}  // namespace

}  // namespace cx

CX_EXPORT(int16_t) showconv(int16_t count, int16_t mono) {
  using namespace cx;
  if (count <= 0) return 0;
  const int n = std::min<int>(count, kClases);
  estado_tematico().class_count = static_cast<int16_t>(n);
  Sesion& s = sesion();
  double* box = s.legend_xy;
  const Ventana& view = s.window;
  if (box[0] == box[2]) {
    box[2] = view.xmax;
    box[0] = box[2] - 0.2 * (view.xmax - view.xmin);
  }
  if (box[1] == box[3]) {
    box[1] = view.ymin;
    box[3] = box[1] + (view.ymax - view.ymin) * n * 0.05;
  }
  if (box[0] > box[2]) std::swap(box[0], box[2]);
  if (box[1] > box[3]) std::swap(box[1], box[3]);
  const double x1 = box[0], y1 = box[1], x2 = box[2], y2 = box[3];

  const Ajustes saved;
  EstadoGrafico& g = saved.g;
  gborre(x1, y1, x2, y2);
  gdcolor(mono ? 0 : 15);
  gdlintip(1);
  gdlinanch(1);
  grectang(x1, y1, x2, y2);
  if (mono) g.black_text = 0;

  const double u = (y2 - y1) / (n + 1);
  const double v = x1 + (x2 - x1) / 30;
  g.text_sizes[1] = std::min((x2 - v) / 15, 0.8 * u);
  gdtextam(1);
  gdtexang(0);
  const double width = 0.25 * (x2 - v);
  for (int i = 0; i < n; ++i) {
    const double y = g.y_up ? y2 - u * (i + 1) : y1 + u * (i + 1);
    const cx_legend_slot& slot = s.legend[i];
    gdcolor(mono ? 0 : slot.a);
    muestra(slot, v, y, v + 0.8 * width, y + 0.6 * u);
    gdcolor(mono ? 0 : 15);
    gtexto(v + width, y + 0.2 * u, etiqueta_de_clase(i, n).c_str());
  }
  return static_cast<int16_t>(n);
}
