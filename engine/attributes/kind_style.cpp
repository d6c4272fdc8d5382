// scolor, slinea and stexto: the kind record's drawing values handed to the
// graphics kernel, and the label drawing that goes through the text kernel.
#include "attributes/kind_style.h"

#include <algorithm>
#include <cmath>

#include "graphics/graphics_state.h"
#include "graphics/text.h"
#include "session/session.h"

namespace cx::atr {

namespace {

DibujoRotulos rotulos;

void texto_del_nucleo(double x, double y, double angle, const char* text) {
  const double degrees = std::isfinite(angle) ? std::fmod(angle, 360.0) : 0;
  texto_girado(x, y, static_cast<int32_t>(std::lround(degrees * 10)), text);
}

}  // namespace

void aplique_color(const cx_kind& k) {
  gdcolor(k.colour);
  gdachang(k.hatch);
  gdachpaso(k.hatch_step);
}

void aplique_linea(const cx_kind& k) {
  gdlintip(k.line_type);
  gdlinanch(std::min<int16_t>(k.line_width, 7));
}

void aplique_texto(const cx_kind& k) {
  const Sesion& s = sesion();
  const int layer_size = k.layer < s.layers.size() ? s.layers[k.layer].attributes[2] : 0;
  aplique_texto_de_clase(k.text_style, k.text_size, k.text_scale[0] | (k.text_scale[1] << 8),
                         layer_size);
}

bool ponga_color(int kind) {
  const cx_kind* k = registro_tipo(kind, "scolor");
  if (k) aplique_color(*k);
  return k != nullptr;
}

bool ponga_linea(int kind) {
  const cx_kind* k = registro_tipo(kind, "slinea");
  if (k) aplique_linea(*k);
  return k != nullptr;
}

bool ponga_texto(int kind) {
  const cx_kind* k = registro_tipo(kind, "stexto");
  if (k) aplique_texto(*k);
  return k != nullptr;
}

void fije_dibujo_rotulos(const DibujoRotulos& drawing) {
  rotulos = drawing;
}

void dibuje_rotulo(double x, double y, double angle, const char* text) {
  if (!text || !*text) return;
  (rotulos.dibuje ? rotulos.dibuje : texto_del_nucleo)(x, y, angle, text);
}

double altura_texto() {
  if (rotulos.altura) return rotulos.altura();
  const EstadoGrafico& g = estado_grafico();
  return g.text_sizes[g.text_size];
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
