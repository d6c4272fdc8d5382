// Opening and ending the session, preparing the base's files, and selecting
// the current layer.
#include "session/session.h"

#include <cfenv>
#include <cstring>

#include "attributes/attribute_bases.h"
#include "expr/variables.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "graphics/graphics_state.h"
#include "records/tables.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

Sesion state;

void release_polygon(Poligono& p) {
  p.x.reset();
  p.y.reset();
  p.count = 0;
}

int layer_kind(int n) {
  return (n >= 1 && n <= state.layer_count) ? state.layers[n].kind : 0;
}

bool is_network(const cx_layer& layer) {
  return layer.kind == 2 || layer.kind == 3;
}

// The network file prefix of a layer: its first four characters.
void network_prefix(const cx_layer& layer, char (&prefix)[5]) {
  std::memcpy(prefix, layer.network_prefix, 4);
  prefix[4] = '\0';
}

void close_current_layer() {
  const int current = state.settings[kCurrentLayer];
  if (current == 0) return;
  if (layer_kind(current) < 2)
    cierre_t0();
  else
    cierred(state.current_network);
  state.current_network = 0;
}

// The defaults of record 0 of each table: the attributes a new base gives
// its first layer (8, 1, 1) and the colour, line type, text size and line
// width of its first kind (8, 1, 1, 1).
void fill_defaults() {
  cx_layer& layer0 = state.layers[0];
  layer0.attributes[0] = 8;
  layer0.attributes[1] = 1;
  layer0.attributes[2] = 1;
  cx_kind& kind0 = state.kinds[0];
  kind0.colour = 8;
  kind0.line_type = 1;
  kind0.text_size = 1;
  kind0.line_width = 1;
}

void release_tables() {
  state.layers = {};
  state.kinds = {};
  state.layer_count = state.kind_count = 0;
}

void release_buffers() {
  state.text_slots.reset();
  state.descr_x.reset();
  state.descr_y.reset();
  state.work_longs.reset();
  state.work_shorts_a.reset();
  state.work_shorts_b.reset();
  state.kind_layers = {};
  state.descr_count = 0;
}

void clear_work_area() {
  release_polygon(state.work);
  state.work_arc_points.reset();
  state.work_arcs = 0;
  state.work_extents = {};
  state.circle_x = state.circle_y = state.circle_r = 0;
  state.settings[kWorkMode] = 0;
  state.settings[kWorkCount] = 0;
}

template <typename T>
bool allocate(Arreglo<T>& p, std::size_t count) {
  p = asigne_arreglo<T>(count);
  return p != nullptr;
}

}  // namespace

Sesion& sesion() {
  return state;
}

bool punteros_nulos(const char* caller, std::initializer_list<const void*> pointers) {
  for (const void* p : pointers) {
    if (!p) {
      informe_error("%s: PUNTERO NULO", caller);
      return true;
    }
  }
  return false;
}

cx_layer* registro_capa(int n, const char* caller) {
  if (!state.layers.empty() && n >= 0 && n <= state.layer_count) return &state.layers[n];
  informe_error("%s: CAPA %d NO EXISTE (hay %ld capas)", caller, n,
                static_cast<long>(state.layer_count));
  return nullptr;
}

cx_kind* registro_tipo(int n, const char* caller) {
  if (!state.kinds.empty() && n >= 0 && n <= state.kind_count) return &state.kinds[n];
  informe_error("%s: TIPO DE OBJETO %d NO EXISTE (hay %ld tipos)", caller, n,
                static_cast<long>(state.kind_count));
  return nullptr;
}

bool seleccione_capa(int n) {
  if (n != 0 && !registro_capa(n, "set_consts")) return false;
  close_current_layer();
  state.settings[kCurrentLayer] = static_cast<int16_t>(n);
  if (n == 0) return true;
  const cx_layer& layer = state.layers[n];
  if (is_network(layer)) {
    char prefix[5];
    network_prefix(layer, prefix);
    state.current_network = registre_red(prefix, layer.kind);
    if (state.current_network) reabra(state.current_network);
  } else {
    abra_t0();
  }
  return true;
}

}  // namespace cx

CX_EXPORT(int16_t) inigks(int32_t) {
  using namespace cx;
#if defined(__GLIBC__)
  fedisableexcept(FE_ALL_EXCEPT);
#endif
  std::feclearexcept(FE_ALL_EXCEPT);

  if (state.open) end_cons(0);
  valores_graficos_iniciales();
  state.params[1] = 2.5;
  estado_grafico().base_size = 2.5;
  state.params[9] = 2500.0;
  state.params[8] = 4 * state.params[9];

  cargue_tabla("TABCAP.DAT", &state.layers, &state.layer_count, kMaxLayers);
  cargue_tabla("TABOBJ.DAT", &state.kinds, &state.kind_count, kMaxKinds);
  if (!state.layers.empty() && !state.kinds.empty()) fill_defaults();

  for (int code : {1, 5, 14, 15, 16, 18, 19, 24, 25}) state.settings[code] = 0;
  state.settings[6] = 1;
  for (double& g : state.grid) g = 0;
  clear_work_area();
  state.current_network = 0;

  limpie_variables();
  registre_variables_base();

  bool ok = allocate(state.text_slots, 10 * 52);
  ok = allocate(state.descr_x, kDescrMax) && ok;
  ok = allocate(state.descr_y, kDescrMax) && ok;
  ok = allocate(state.work_longs, kDescrMax) && ok;
  ok = allocate(state.work_shorts_a, kDescrMax) && ok;
  ok = allocate(state.work_shorts_b, kDescrMax) && ok;
  if (!ok) avise_error("ERROR DE MEMORIA...");
  state.kind_layers.assign(static_cast<std::size_t>(state.kind_count) + 1, 0);
  for (std::size_t k = 0; k < state.kind_layers.size() && k < state.kinds.size(); ++k)
    state.kind_layers[k] = state.kinds[k].layer;

  const double p1 = state.params[1];
  const double factors[] = {0.5, 1, 2, 3, 1, 1};
  for (int i = 0; i < 6; ++i) state.params[2 + i] = p1 * factors[i];
  state.open = true;
  return 0;
}

CX_EXPORT(int16_t) end_cons(int32_t) {
  using namespace cx;
  close_current_layer();
  state.settings[kCurrentLayer] = 0;
  state.settings[kCurrentKind] = 0;
  olvide_redes();
  libere_listas_atributos();
  release_buffers();
  release_tables();
  release_polygon(state.limits);
  state.limits.extents = {};
  clear_work_area();
  state.open = false;
  return 0;
}

CX_EXPORT(int16_t) inifil(int32_t) {
  using namespace cx;
  abra_bases_atributos();
  const int current = state.settings[kCurrentLayer];
  // The T0 files of the current layer stay open; otherwise open and close
  // them once so that missing indexes are created.
  if (current == 0 || layer_kind(current) >= 2) {
    if (abra_t0()) cierre_t0();
  }
  for (int n = 1; n <= state.layer_count; ++n) {
    const cx_layer& layer = state.layers[n];
    if (is_network(layer) && layer.network_prefix[0] != '\0') {
      char prefix[5];
      network_prefix(layer, prefix);
      registre_red(prefix, layer.kind);
    }
  }
  return 0;
}
