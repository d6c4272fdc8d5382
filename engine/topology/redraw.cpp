// The redraw of the base: the T0 objects in the window, then each
// network's nodes with their arcs and, for area networks, its area
// objects, level by level; stopped by terminar, pumping the host's events
// every 50 hits.
#include "topology/redraw.h"

#include <algorithm>
#include <set>

#include "frame/host.h"
#include "platform/pump.h"
#include "records/record_file.h"
#include "session/session.h"
#include "topology/drawers.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

constexpr int kPumpEvery = 50;

// Drawn unless its layer or kind is switched off; a layer outside the
// table counts as drawn, with the defaults.
bool drawn(int layer, const cx_kind& kind) {
  const Sesion& s = sesion();
  if (kind.hidden) return false;
  return !(layer >= 1 && layer <= s.layer_count && s.layers[layer].hidden);
}

int layer_kind(int layer) {
  const Sesion& s = sesion();
  return (layer >= 1 && layer <= s.layer_count) ? s.layers[layer].kind : 0;
}

class Walk {
 public:
  Walk(Ventana area, int level) : area_(area), level_(level) {}

  // Runs the query over one index, calling draw(record, layer) for every
  // hit; false once the stop request is seen.
  template <typename Draw>
  bool over(int index, Draw draw) {
    ConsultaEspacial q;
    inicie_consulta(&q, area_.xmin, area_.ymin, area_.xmax, area_.ymax);
    unsigned char key[kKeySize];
    int32_t record = 0;
    for (;;) {
      if (stop_request() == 0) return false;
      if (siguiente_hit(index, &q, key, &record) != 1) return true;
      draw(record, static_cast<int>(key[8]));
      if (++hits_ % kPumpEvery == 0) pump_messages();
    }
  }

  bool at_level(const cx_kind& kind) const { return nivel_de_dibujo(kind) == level_; }

 private:
  Ventana area_;
  int level_;
  long hits_ = 0;
};

bool draw_t0(Walk& walk) {
  if (!abra_t0()) return true;
  const bool go_on = walk.over(archivos_t0().cuadt0, [&](int32_t record, int layer) {
    cx_object object;
    if (sleer_obj(static_cast<int16_t>(archivos_t0().objetos), &object, record, 31) != 0) return;
    const cx_kind& kind = tipo_para_dibujo(object.kind);
    if (drawn(layer, kind) && walk.at_level(kind)) dibuje_t0(record, kKindColour);
  });
  cierre_t0();
  return go_on;
}

bool draw_network(Walk& walk, int n) {
  if (reabra(n) != 0) {
    cierred(n);
    return true;
  }
  sesion().current_network = n;
  const int16_t* h = red(n)->handles;
  std::set<int32_t> arcs_drawn;
  bool go_on = walk.over(h[2], [&](int32_t record, int layer) {
    cx_node node;
    if (layer_kind(layer) < 2 || sleer_nod(h[0], &node, record, 46) != 0) return;
    // Arcs are reached through their nodes but follow their own kind's
    // switch: hiding the node markers leaves the lines drawn.
    for (int32_t arc : arcos_de_nodo(h, record)) {
      cx_arc a;
      if (!arcs_drawn.insert(arc).second || sleer_arc(h[1], &a, arc, 41) != 0) continue;
      const cx_kind& arc_kind = tipo_para_dibujo(a.kind);
      if (drawn(layer, arc_kind) && walk.at_level(arc_kind)) dibuje_arco(h, arc, kKindColour);
    }
    const cx_kind& kind = tipo_para_dibujo(node.kind);
    if (drawn(layer, kind) && walk.at_level(kind)) dibuje_nodo(h, record, kKindColour);
  });
  if (go_on && h[9] == 3) {
    go_on = walk.over(h[7], [&](int32_t record, int layer) {
      cx_area_object object;
      if (sleer_top(h[6], &object, record, 48) != 0) return;
      const cx_kind& kind = tipo_para_dibujo(object.kind);
      if (drawn(layer, kind) && walk.at_level(kind)) dibuje_objeto_area(h, record, kKindColour);
    });
  }
  cierred(n);
  return go_on;
}

// The walk of one redraw over the session's window.
void walk_base(Sesion& s, const Ventana& w) {
  s.params[9] = (w.xmax - w.xmin) * 0.5;
  set_stop_request(1);
  int highest = 1;
  for (int k = 1; k <= s.kind_count && k < static_cast<int>(s.kinds.size()); ++k)
    if (!s.kinds[k].hidden) highest = std::max(highest, nivel_de_dibujo(s.kinds[k]));

  // The current layer's files are closed for the walk and opened again.
  const int layer = s.settings[kCurrentLayer];
  const int network = s.current_network;
  if (layer != 0 && layer_kind(layer) < 2)
    cierre_t0();
  else if (layer != 0)
    cierred(network);
  const double margin = s.params[8];
  const Ventana area{w.xmin - margin, w.ymin - margin, w.xmax + margin, w.ymax + margin};
  for (int level = 1; level <= highest; ++level) {
    Walk walk(area, level);
    bool go_on = draw_t0(walk);
    for (int n = 1; go_on && n <= numero_redes(); ++n) go_on = draw_network(walk, n);
    if (!go_on) break;
  }
  s.current_network = network;
  if (layer != 0) seleccione_capa(layer);
}

}  // namespace

void redespliegue() {
  Sesion& s = sesion();
  const Ventana w = s.window;
  // However few the hits, the host's events run once per redraw.
  if (s.open && w.xmax > w.xmin && w.ymax > w.ymin) walk_base(s, w);
  pump_messages();
}

}  // namespace cx

CX_EXPORT(void) redespliegue(int32_t) {
  cx::redespliegue();
}
