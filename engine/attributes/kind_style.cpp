// scolor, slinea and stexto: the kind record's drawing values handed to the
// graphics kernel.
#include "attributes/kind_style.h"

#include <algorithm>

#include "graphics/graphics_state.h"
#include "session/session.h"

namespace cx::atr {

namespace {

int estilo = 0;
DibujoRotulos rotulos;

}  // namespace

bool ponga_color(int kind) {
  const cx_kind* k = registro_tipo(kind, "scolor");
  if (!k) return false;
  gdcolor(k->colour);
  gdachang(k->hatch);
  gdachpaso(k->hatch_step);
  return true;
}

bool ponga_linea(int kind) {
  const cx_kind* k = registro_tipo(kind, "slinea");
  if (!k) return false;
  gdlintip(k->line_type);
  gdlinanch(std::min<int16_t>(k->line_width, 7));
  return true;
}

bool ponga_texto(int kind) {
  const cx_kind* k = registro_tipo(kind, "stexto");
  if (!k) return false;
  estilo = k->text_style;
  EstadoGrafico& g = estado_grafico();
  const int tenths = k->text_scale[0] | (k->text_scale[1] << 8);
  int size = k->text_size;
  if (size == 0 && tenths != 0) {
    g.text_scale = tenths * 256 / 10;  // 1/256 units
    return true;
  }
  if (size == 0) {
    const Sesion& s = sesion();
    if (k->layer < s.layers.size()) size = s.layers[k->layer].attributes[2];
  }
  g.text_size = static_cast<int16_t>(size ? size : 1);
  return true;
}

int estilo_texto() {
  return estilo;
}

void fije_dibujo_rotulos(const DibujoRotulos& drawing) {
  rotulos = drawing;
}

void dibuje_rotulo(double x, double y, double angle, const char* text) {
  if (rotulos.dibuje && text && *text) rotulos.dibuje(x, y, angle, text);
}

double altura_texto() {
  if (rotulos.altura) return rotulos.altura();
  const EstadoGrafico& g = estado_grafico();
  return g.base_size * g.text_size;
}

}  // namespace cx::atr

CX_EXPORT(int16_t) scolor(const int16_t* object) {
  if (cx::punteros_nulos("scolor", {object})) return -1;
  return cx::atr::ponga_color(*object) ? 0 : -1;
}

CX_EXPORT(int16_t) slinea(const int16_t* object) {
  if (cx::punteros_nulos("slinea", {object})) return -1;
  return cx::atr::ponga_linea(*object) ? 0 : -1;
}

CX_EXPORT(int16_t) stexto(const int16_t* object) {
  if (cx::punteros_nulos("stexto", {object})) return -1;
  return cx::atr::ponga_texto(*object) ? 0 : -1;
}
