// The network searches and their exports: find_t02, find_t03, get_nodesT3
// and get_arct3.
#include "topology/searches.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "frame/messages.h"
#include "graphics/graphics_state.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/descriptions.h"
#include "topology/network_lists.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

int layer_kind(int layer) {
  const Sesion& s = sesion();
  return (layer >= 1 && layer <= s.layer_count) ? s.layers[layer].kind : -1;
}

// The distance from (x, y) to a polyline of doubles.
double to_polyline(const std::vector<double>& x, const std::vector<double>& y, double px,
                   double py) {
  double d = 0;
  int16_t index = 0;
  distancia_poli(x.data(), y.data(), static_cast<int16_t>(std::min<std::size_t>(x.size(), 32767)),
                 px, py, &d, &index);
  return d;
}

}  // namespace

NodosCercanos nodos_cercanos(const int16_t* red, double x, double y, double radius) {
  NodosCercanos found;
  ConsultaEspacial q;
  inicie_consulta(&q, x - radius, y - radius, x + radius, y + radius);
  unsigned char key[kKeySize];
  int32_t record = 0;
  while (siguiente_hit(red[kRedNodeXY], &q, key, &record) == 1) {
    cx_node node{};
    if (!lea_nodo(red, record, &node)) continue;
    const double d = std::hypot(node.x - x, node.y - y);
    if (d > radius) continue;
    if (d < found.d1) {
      found.second = found.first;
      found.d2 = found.d1;
      found.first = record;
      found.d1 = d;
    } else if (d < found.d2) {
      found.second = record;
      found.d2 = d;
    }
  }
  return found;
}

int marque_nodos(int count, const double* x, const double* y, std::vector<int32_t>* nodes) {
  nodes->assign(static_cast<std::size_t>(std::max(count, 0)), 0);
  const int16_t* red = red_actual();
  if (!red || count < 1) return -1;
  const Sesion& s = sesion();
  const double t = s.node_tolerance, m8 = s.params[8], m9 = s.params[9];
  const auto [x0, x1] = std::minmax_element(x, x + count);
  const auto [y0, y1] = std::minmax_element(y, y + count);
  std::vector<double> best(nodes->size(), 1e20);
  ConsultaEspacial q;
  inicie_consulta(&q, *x0 - m8, *y0 - m8, *x1 + m8, *y1 + m8);
  unsigned char key[kKeySize];
  int32_t record = 0;
  while (siguiente_hit(red[kRedNodeXY], &q, key, &record) == 1) {
    cx_node node{};
    if (!lea_nodo(red, record, &node)) continue;
    if (node.x < *x0 - m9 || node.x > *x1 + m9 || node.y < *y0 - m9 || node.y > *y1 + m9) continue;
    int nearest = -1;
    double nearest_d = t;
    for (int i = 0; i < count; ++i) {
      const double d = std::hypot(x[i] - node.x, y[i] - node.y);
      if (d <= nearest_d && (nearest < 0 || d < nearest_d)) {
        nearest = i;
        nearest_d = d;
      }
    }
    if (nearest < 0) continue;
    const auto v = static_cast<std::size_t>(nearest);
    if ((*nodes)[v] == 0 || nearest_d < best[v]) {
      (*nodes)[v] = record;
      best[v] = nearest_d;
    }
  }
  for (int i = count - 1; i >= 0; --i)
    if ((*nodes)[static_cast<std::size_t>(i)] != 0) return i;
  return -1;
}

double tolerancia_seleccion() {
  const double sx = std::fabs(estado_grafico().sx);
  return std::max(sx > 0 ? 2.0 / sx : 0.0, kMinimoSeleccion);
}

ArcoCercano arco_cercano(double x, double y) {
  ArcoCercano best;
  const int16_t* red = red_actual();
  if (!red) return best;
  const double half = sesion().params[8] / 2, pick = tolerancia_seleccion();
  ConsultaEspacial q;
  inicie_consulta(&q, x - half, y - half, x + half, y + half);
  unsigned char key[kKeySize];
  int32_t record = 0;
  std::set<int32_t> seen;
  double best_d = pick;
  std::vector<double> px, py;
  std::vector<std::pair<int32_t, EntradaLista>> list;
  while (siguiente_hit(red[kRedNodeXY], &q, key, &record) == 1) {
    cx_node node{};
    if (!lea_nodo(red, record, &node) || !lista_de_nodo(red, node, &list)) continue;
    for (const auto& [entry, e] : list) {
      cx_arc arc{};
      if (!seen.insert(e.arc).second || !lea_arco(red, e.arc, &arc) || !tipo_dibujado(arc.kind) ||
          !puntos_de_arco(red, arc, &px, &py))
        continue;
      const auto [x0, x1] = std::minmax_element(px.begin(), px.end());
      const auto [y0, y1] = std::minmax_element(py.begin(), py.end());
      if (x < *x0 - pick || x > *x1 + pick || y < *y0 - pick || y > *y1 + pick) continue;
      const double d = to_polyline(px, py, x, y);
      if (d <= best_d && (best.arc == 0 || d < best_d)) {
        best.arc = e.arc;
        best.from = arc.from_node;
        best.to = arc.to_node;
        best_d = best.distance = d;
      }
    }
  }
  if (best.arc != 0) {
    best.from_entry = entrada_de_arco(red, best.from, best.arc);
    best.to_entry =
        entrada_de_arco(red, best.to, best.arc, best.from == best.to ? best.from_entry : 0);
  }
  return best;
}

}  // namespace cx

CX_EXPORT(int32_t) find_t03(int16_t network, double x, double y) {
  using namespace cx;
  const Red* r = red(network);
  if (!r || r->handles[kRedNodes] < 0 || r->handles[kRedNodeXY] < 0) {
    informe_error("find_t03: RED %d NO ABIERTA", network);
    return 0;
  }
  return nodos_cercanos(r->handles, x, y, sesion().params[9]).first;
}

CX_EXPORT(int16_t)
get_nodesT3(int16_t count, int32_t* first_node, int32_t* last_node, const double* x,
            const double* y) {
  using namespace cx;
  if (first_node) *first_node = 0;
  if (last_node) *last_node = 0;
  if (count < 1 || punteros_nulos("get_nodesT3", {x, y})) return -1;
  std::vector<int32_t> nodes;
  const int last = marque_nodos(count, x, y, &nodes);
  // The session's working list holds the first of them.
  Sesion& s = sesion();
  if (s.work_longs)
    for (int i = 0; i < kDescrMax; ++i)
      s.work_longs[i] = i < count ? nodes[static_cast<std::size_t>(i)] : 0;
  if (first_node) *first_node = nodes.front();
  if (last_node) *last_node = nodes.back();
  return static_cast<int16_t>(last);
}

CX_EXPORT(int32_t)
get_arct3(int32_t* arc, int32_t* from, int32_t* to, int32_t* from_entry, int32_t* to_entry,
          double x, double y) {
  using namespace cx;
  const ArcoCercano found = arco_cercano(x, y);
  for (auto [out, v] :
       {std::pair{arc, found.arc}, std::pair{from, found.from}, std::pair{to, found.to},
        std::pair{from_entry, found.from_entry}, std::pair{to_entry, found.to_entry}})
    if (out) *out = v;
  if (found.arc == 0) avise_error("ERROR de busqueda.. ");
  return found.arc;
}

CX_EXPORT(int32_t) find_t02(int32_t* record, double x, double y, double* distance) {
  using namespace cx;
  if (record) *record = 0;
  if (distance) *distance = 0;
  const Sesion& s = sesion();
  const int layer = s.settings[kCurrentLayer], kind = s.settings[kCurrentKind];
  const int lk = layer_kind(layer);
  int handle = -1;
  const int16_t* net = nullptr;
  if (lk == 0 || lk == 1) {
    handle = archivos_t0().cuadt0;
  } else if (lk == 2 || lk == 3) {
    const Red* r = red(s.current_network);
    if (r) {
      net = r->handles;
      handle = lk == 2 ? net[kRedNodeXY] : net[kRedLabels];
    }
  }
  if (handle < 0) return 0;
  const Ventana& w = s.window;
  ConsultaEspacial q;
  inicie_consulta(&q, w.xmin, w.ymin, w.xmax, w.ymax);
  unsigned char key[kKeySize];
  int32_t hit = 0, best = 0;
  double best_d = 0;
  while (siguiente_hit(handle, &q, key, &hit) == 1) {
    double kx = 0, ky = 0;
    int key_layer = 0;
    decodifique_clave(key, &kx, &ky, &key_layer);
    if (key_layer != layer) continue;
    int16_t hit_kind = -1;
    if (lk < 2) {
      unsigned char disk[kObjectSize];
      cx_object o{};
      if (lea_registro(archivos_t0().objetos, disk, hit, kObjectSize) != 0) continue;
      desempaque(disk, &o);
      hit_kind = o.kind;
    } else if (lk == 2) {
      cx_node n{};
      if (!lea_nodo(net, hit, &n)) continue;
      hit_kind = n.kind;
    } else {
      cx_area_object a{};
      if (!lea_objeto_area(net, hit, &a)) continue;
      hit_kind = a.kind;
    }
    if (hit_kind != kind) continue;
    const double d = std::hypot(kx - x, ky - y);
    if (best == 0 || d < best_d) {
      best = hit;
      best_d = d;
    }
  }
  if (record) *record = best;
  if (distance) *distance = best_d;
  return best;
}
