// Splitting an arc at a point: partir_arcos. The arc keeps the part before
// the split vertex, a new arc takes the part after it, and in an area
// network every area the arc bounded is bounded by both halves.
#include <cmath>

#include "frame/messages.h"
#include "records/blocks.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/descriptions.h"
#include "topology/drawers.h"
#include "topology/edit_support.h"
#include "topology/network_edits.h"
#include "topology/network_lists.h"
#include "topology/searches.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

// The points of x, y from `begin` to `end` (not included) in a new block of
// coo.dat; offset 0 for none. false when the block cannot be written.
bool store_points(const int16_t* red, const std::vector<double>& x, const std::vector<double>& y,
                  std::size_t begin, std::size_t end, int32_t* offset, int16_t* count) {
  *offset = 0;
  *count = static_cast<int16_t>(end - begin);
  if (end <= begin) return true;
  *offset = pida_bloque(red[kRedPoints], *count);
  return *offset > 0 &&
         grabe_puntos(red[kRedPoints], *offset, x.data() + begin, y.data() + begin, *count) == 0;
}

// Where the arc is split: the index of the split vertex in its full point
// list, inserting the nearest point of a segment when no vertex is near
// enough. -1 when the point is too far from the arc.
int split_vertex(std::vector<double>* x, std::vector<double>* y, double px, double py, double t) {
  int best = -1;
  double best_d = t;
  for (std::size_t i = 0; i < x->size(); ++i) {
    const double d = std::hypot((*x)[i] - px, (*y)[i] - py);
    if (d <= best_d && (best < 0 || d < best_d)) {
      best = static_cast<int>(i);
      best_d = d;
    }
  }
  if (best >= 0) return best;
  double d = 0;
  int16_t segment = 0;
  if (distancia_poli(x->data(), y->data(), static_cast<int16_t>(x->size()), px, py, &d, &segment) <
          0 ||
      d > t)
    return -1;
  const auto s = static_cast<std::size_t>(segment);
  const double ax = (*x)[s], ay = (*y)[s], dx = (*x)[s + 1] - ax, dy = (*y)[s + 1] - ay;
  const double len2 = dx * dx + dy * dy;
  const double u =
      len2 > 0 ? std::fmin(1.0, std::fmax(0.0, ((px - ax) * dx + (py - ay) * dy) / len2)) : 0;
  x->insert(x->begin() + static_cast<std::ptrdiff_t>(s + 1), ax + u * dx);
  y->insert(y->begin() + static_cast<std::ptrdiff_t>(s + 1), ay + u * dy);
  return static_cast<int>(s + 1);
}

// The node at the split point: an existing node within the tolerance (not
// an end of the arc itself), else a new one.
int32_t split_node(const int16_t* red, const cx_arc& arc, double x, double y) {
  const NodosCercanos near = nodos_cercanos(red, x, y, sesion().node_tolerance);
  for (int32_t n : {near.first, near.second})
    if (n != 0 && n != arc.from_node && n != arc.to_node) return n;
  cx_object at{};
  at.x = x;
  at.y = y;
  cx_node code{};
  return escriba_nodo_nuevo(at, code);
}

// Every description entry of arc e gets a twin for arc n, just after it in
// its area's chain and chained from n. Returns n's chain head, -1 on
// failure.
int32_t twin_descriptions(const int16_t* red, const cx_arc& arc, int32_t n) {
  int32_t head = 0;
  const int32_t guard = ultimo_registro(red[kRedDesc], kDescSize);
  for (int32_t d = arc.first_desc, steps = 0; d != 0 && steps <= guard; ++steps) {
    Descripcion old;
    if (!lea_descripcion(red, d, &old)) return -1;
    const int32_t twin = pida_registro(red[kRedDesc], kDescSize);
    if (twin == 0) {
      informe_error("T3: ERROR AL PEDIR");
      return -1;
    }
    const Descripcion copy{n, old.area, head, old.next_of_area, old.kind};
    if (!escriba_descripcion(red, twin, copy)) return -1;
    const int32_t next = old.next_of_arc;
    old.next_of_area = twin;
    if (!escriba_descripcion(red, d, old)) return -1;
    head = twin;
    d = next;
  }
  return head;
}

// Splits arc e (read as arc, with full point list x, y) at vertex v. The
// new arc's record; 0 when v is not interior; -1 on failure (reported).
int32_t split_at(const int16_t* red, int32_t e, cx_arc arc, const std::vector<double>& x,
                 const std::vector<double>& y, int v) {
  if (v <= 0 || v >= static_cast<int>(x.size()) - 1) return 0;
  const int32_t a = arc.from_node, b = arc.to_node;
  const int32_t la = entrada_de_arco(red, a, e);
  const int32_t lb = entrada_de_arco(red, b, e, a == b ? la : 0);
  if (la == 0 || lb == 0) {
    avise_error("ERROR DEL SISTEMA: Debe REGENERAR listas T2");
    return -1;
  }
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("ERROR bloqueando arco");
    return -1;
  }
  const auto sv = static_cast<std::size_t>(v);
  const int32_t s = split_node(red, arc, x[sv], y[sv]);
  if (s == 0) return -1;
  dibuje_arco(red, e, 0);
  cx_arc second = arc;
  if (!store_points(red, x, y, 1, sv, &arc.block, &arc.count) ||
      !store_points(red, x, y, sv + 1, x.size() - 1, &second.block, &second.count))
    return -1;
  const int32_t n = pida_registro(red[kRedArcs], kArcSize);
  if (n == 0) {
    informe_error("ARCO: ERROR AL PEDIR");
    return -1;
  }
  second.from_node = s;
  second.first_desc = 0;
  arc.to_node = s;
  if (red[kRedKind] == 3 && red[kRedDesc] >= 0) {
    second.first_desc = twin_descriptions(red, arc, n);
    if (second.first_desc < 0) return -1;
  }
  if (!escriba_arco(red, e, arc) || !escriba_arco(red, n, second)) return -1;
  // The split node's list: an entry for each half at its head.
  cx_node node{};
  const int32_t other = pida_registro(red[kRedLists], kListSize);
  if (other == 0 || !lea_nodo(red, s, &node)) {
    informe_error("ERROR en lista T2");
    return -1;
  }
  if (!escriba_entrada(red, other, {n, node.first_list, s, b})) return -1;
  const int32_t first = pida_registro(red[kRedLists], kListSize);
  if (first == 0) {
    informe_error("ERROR en lista T2");
    return -1;
  }
  if (!escriba_entrada(red, first, {e, other, a, s})) return -1;
  node.first_list = first;
  if (!escriba_nodo(red, s, node)) return -1;
  EntradaLista at_a, at_b;
  if (!lea_entrada(red, la, &at_a) || !lea_entrada(red, lb, &at_b)) return -1;
  at_a.to = s;
  at_b.arc = n;
  at_b.from = s;
  at_b.to = b;
  if (!escriba_entrada(red, la, at_a) || !escriba_entrada(red, lb, at_b)) return -1;
  dibuje_arco(red, e, kKindColour);
  dibuje_arco(red, n, kKindColour);
  dibuje_nodo(red, s, kKindColour);
  return n;
}

int16_t split(const int16_t* red, int32_t e, double px, double py) {
  cx_arc arc{};
  std::vector<double> x, y;
  if (!lea_arco(red, e, &arc) || !puntos_de_arco(red, arc, &x, &y)) {
    avise_error("No se encontr\xf3 ARCO.. ");
    return -1;
  }
  const int v = split_vertex(&x, &y, px, py, sesion().node_tolerance);
  const int32_t n = split_at(red, e, arc, x, y, v);
  return static_cast<int16_t>(n > 0 ? 1 : n);
}

}  // namespace

int32_t parta_en_vertice(const int16_t* red, int32_t e, std::size_t j) {
  cx_arc arc{};
  std::vector<double> x, y;
  if (!lea_arco(red, e, &arc) || !puntos_de_arco(red, arc, &x, &y) || j >= x.size()) return 0;
  const int32_t n = split_at(red, e, arc, x, y, static_cast<int>(j));
  return n > 0 ? n : 0;
}

}  // namespace cx

CX_EXPORT(int16_t) partir_arcos(double x, double y, int32_t* arc) {
  using namespace cx;
  const Sesion& s = sesion();
  const int layer = s.settings[kCurrentLayer];
  const int kind =
      layer >= 1 && layer <= s.layer_count ? s.layers[static_cast<std::size_t>(layer)].kind : 0;
  const int16_t* red = red_actual();
  if (!red || (kind != 2 && kind != 3)) return 0;
  int32_t e = 0;
  if (arc && *arc != 0) {
    e = *arc;
    *arc = 0;
  } else {
    e = arco_cercano(x, y).arc;
  }
  if (e == 0) return 0;
  return split(red, e, x, y);
}
