// The numbered settings, layer and kind records, grid and parameters.
#include <cstring>
#include <vector>

#include "graphics/graphics_state.h"
#include "session/session.h"

using cx::sesion;

namespace {
bool valid_code(int code) {
  return code >= 1 && code <= 25;
}

// The display switch of a record the caller has looked up (null: refused,
// 0).
template <typename Record>
int16_t store_switch(Record* record, int16_t hidden) {
  if (!record) return 0;
  record->hidden = static_cast<uint8_t>(hidden);
  return hidden;
}

template <typename Record>
int16_t read_switch(const Record* record) {
  return record ? record->hidden : 0;
}
}  // namespace

CX_EXPORT(int16_t) set_consts(int16_t code, int16_t value) {
  if (!valid_code(code)) return value;
  if (code == cx::kCurrentLayer) return cx::seleccione_capa(value) ? value : 0;
  if (code == cx::kCurrentKind && value != 0 && !cx::registro_tipo(value, "set_consts")) return 0;
  sesion().settings[code] = value;
  return value;
}

CX_EXPORT(int16_t) get_consts(int16_t code) {
  return valid_code(code) ? sesion().settings[code] : 0;
}

CX_EXPORT(int16_t) set_capas(int16_t layer, int16_t hidden) {
  return store_switch(cx::registro_capa(layer, "set_capas"), hidden);
}

CX_EXPORT(int16_t) get_capas(int16_t layer) {
  return read_switch(cx::registro_capa(layer, "get_capas"));
}

CX_EXPORT(int16_t) set_objetos(int16_t kind, int16_t hidden) {
  return store_switch(cx::registro_tipo(kind, "set_objetos"), hidden);
}

CX_EXPORT(int16_t) get_objetos(int16_t kind) {
  return read_switch(cx::registro_tipo(kind, "get_objetos"));
}

CX_EXPORT(void) set_tcapas(int16_t layer, const cx_layer* record) {
  if (cx::punteros_nulos("set_tcapas", {record})) return;
  if (cx_layer* r = cx::registro_capa(layer, "set_tcapas")) *r = *record;
}

CX_EXPORT(void) get_tcapas(int16_t layer, cx_layer* record) {
  if (cx::punteros_nulos("get_tcapas", {record})) return;
  if (const cx_layer* r = cx::registro_capa(layer, "get_tcapas")) *record = *r;
}

CX_EXPORT(void) set_tobjetos(int16_t kind, const cx_kind* record) {
  if (cx::punteros_nulos("set_tobjetos", {record})) return;
  if (cx_kind* r = cx::registro_tipo(kind, "set_tobjetos")) {
    *r = *record;
    std::vector<int16_t>& kind_layers = sesion().kind_layers;
    if (static_cast<std::size_t>(kind) < kind_layers.size()) kind_layers[kind] = r->layer;
  }
}

CX_EXPORT(void) get_tobjetos(int16_t kind, cx_kind* record) {
  if (cx::punteros_nulos("get_tobjetos", {record})) return;
  if (const cx_kind* r = cx::registro_tipo(kind, "get_tobjetos")) *record = *r;
}

CX_EXPORT(void) set_grid(int16_t on, double g1, double g2, double g3, double g4, double g5) {
  cx::Sesion& s = sesion();
  s.settings[cx::kGridSwitch] = on;
  const double g[5] = {g1, g2, g3, g4, g5};
  std::memcpy(s.grid, g, sizeof g);
}

CX_EXPORT(void) get_grid(int16_t* on, double* g1, double* g2, double* g3, double* g4, double* g5) {
  if (cx::punteros_nulos("get_grid", {on, g1, g2, g3, g4, g5})) return;
  const cx::Sesion& s = sesion();
  *on = s.settings[cx::kGridSwitch];
  double* out[5] = {g1, g2, g3, g4, g5};
  for (int i = 0; i < 5; ++i) *out[i] = s.grid[i];
}

CX_EXPORT(void)
set_params(const double* p1, const double* p2, const double* p3, const double* p4, const double* p5,
           const double* p6, const double* p7, const double* p8, const double* p9,
           const int16_t* p10, const int16_t*, const int16_t*, const double* p13) {
  if (cx::punteros_nulos("set_params", {p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p13})) return;
  cx::Sesion& s = sesion();
  const double* in[9] = {p1, p2, p3, p4, p5, p6, p7, p8, p9};
  for (int i = 0; i < 9; ++i) s.params[1 + i] = *in[i];
  cx::estado_grafico().base_size = *p1;
  s.settings[cx::kUnits] = *p10;
  s.node_tolerance = *p13;
}

CX_EXPORT(void)
get_params(double* p1, double* p2, double* p3, double* p4, double* p5, double* p6, double* p7,
           double* p8, double* p9, int16_t* p10, int16_t* p11, int16_t* p12, double* p13) {
  if (cx::punteros_nulos("get_params", {p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11, p12, p13}))
    return;
  const cx::Sesion& s = sesion();
  double* out[9] = {p1, p2, p3, p4, p5, p6, p7, p8, p9};
  for (int i = 0; i < 9; ++i) *out[i] = s.params[1 + i];
  *p10 = s.settings[cx::kUnits];
  *p11 = cx::estado_grafico().y_up;
  *p12 = cx::estado_grafico().state;
  *p13 = s.node_tolerance;
}
