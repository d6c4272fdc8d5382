// A digitized polyline turned into nodes and arcs of the current network
// (dig_segment), and the arcs of the last digitizing added to an area
// object's description (add_segments).
#include <algorithm>
#include <cmath>

#include "frame/messages.h"
#include "records/blocks.h"
#include "session/session.h"
#include "topology/descriptions.h"
#include "topology/drawers.h"
#include "topology/edit_support.h"
#include "topology/network_edits.h"
#include "topology/network_lists.h"
#include "topology/searches.h"

namespace cx {

namespace {

constexpr std::size_t kWorkingPoints = 900;
// The most intermediate points an arc's block holds.
constexpr std::size_t kMaxInner = 300;
// Middle points closer than this are the same point.
constexpr double kSamePoint = 1e-6;

// An existing arc between nodes a and b that already is this piece: the
// same number of intermediate points and the same middle one.
int32_t same_arc(const int16_t* red, int32_t a, int32_t b, const double* x, const double* y,
                 std::size_t points) {
  cx_node node{};
  std::vector<std::pair<int32_t, EntradaLista>> list;
  if (!lea_nodo(red, a, &node) || !lista_de_nodo(red, node, &list)) return 0;
  std::vector<double> ax, ay;
  for (const auto& [entry, l] : list) {
    cx_arc arc{};
    if (!lea_arco(red, l.arc, &arc) ||
        !((arc.from_node == a && arc.to_node == b) || (arc.from_node == b && arc.to_node == a)) ||
        !puntos_de_arco(red, arc, &ax, &ay) || ax.size() != points)
      continue;
    if (points <= 2) return l.arc;
    // The piece's middle intermediate point, read in the arc's direction.
    const std::size_t mid = points / 2;
    const std::size_t at = arc.from_node == a ? mid : points - 1 - mid;
    if (std::hypot(ax[at] - x[mid], ay[at] - y[mid]) <= kSamePoint) return l.arc;
  }
  return 0;
}

int32_t new_node(double x, double y) {
  cx_object at{};
  at.x = x;
  at.y = y;
  cx_node code{};
  return escriba_nodo_nuevo(at, code);
}

}  // namespace

}  // namespace cx

CX_EXPORT(int16_t)
dig_segment(int16_t count, const double* x, const double* y, int16_t every_vertex, int16_t verify) {
  using namespace cx;
  std::vector<int32_t>& taken = ultima_digitalizacion();
  taken.clear();
  const int16_t* red = red_actual();
  if (!red) {
    informe_error("dig_segment: LA CAPA ACTUAL NO ES UNA RED");
    return -1;
  }
  if (count < 2 || punteros_nulos("dig_segment", {x, y})) return -1;
  Sesion& s = sesion();
  const int arc_kind = tipo_de_arco();
  if (arc_kind == 0 || tipo_de_nodo(0) == 0) {
    informe_error("dig_segment: LA RED NO TIENE TIPOS DE NODO Y ARCO");
    return -1;
  }
  // The arcs the line runs along are split where it joins or leaves them,
  // so that its nodes are found there below.
  if (verify) verifique_topologia(count, x, y);
  s.settings[kCurrentKind] = static_cast<int16_t>(arc_kind);
  const auto n = static_cast<std::size_t>(count);
  // Working arrays of at least 900 points, or of the polyline's size.
  std::vector<double> px(std::max(kWorkingPoints, n + 3)), py(px.size());
  std::copy(x, x + n, px.begin());
  std::copy(y, y + n, py.begin());
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("ERROR bloqueando arco");
    return -1;
  }
  std::vector<int32_t> nodes;
  marque_nodos(count, px.data(), py.data(), &nodes);
  const bool closed = n > 2 && px[0] == px[n - 1] && py[0] == py[n - 1];
  if (closed) {
    // Vertex 0 and the last are one point, and one node.
    if (nodes[0] == 0) nodes[0] = nodes[n - 1];
    nodes[n - 1] = 0;
    if (std::all_of(nodes.begin(), nodes.end(), [](int32_t v) { return v == 0; })) {
      const std::size_t k =
          std::min<std::size_t>(std::lround(2.0 * static_cast<double>(n) / 3.0), n - 2);
      if ((nodes[k] = new_node(px[k], py[k])) == 0) return -1;
    }
  }
  // A closed polyline's last vertex is its first: it gets no node of its own.
  for (std::size_t i = 0, stop = closed ? n - 1 : n; i < stop; ++i) {
    const bool end = i == 0 || i == n - 1;
    if (nodes[i] == 0 && (end || every_vertex)) {
      if ((nodes[i] = new_node(px[i], py[i])) == 0) return -1;
    }
  }
  if (closed) nodes[n - 1] = nodes[0];
  // A piece longer than one block holds gets nodes along it.
  for (std::size_t i = 0, last = 0; i < n; ++i) {
    if (nodes[i] != 0) {
      last = i;
    } else if (i - last > kMaxInner) {
      if ((nodes[i] = new_node(px[i], py[i])) == 0) return -1;
      last = i;
    }
  }
  cx_arc ends{};
  cx_object line{};
  line.kind = static_cast<int16_t>(arc_kind);
  line.layer = s.kinds[static_cast<std::size_t>(arc_kind)].layer;
  for (std::size_t from = 0, to = 1; to < n; ++to) {
    if (nodes[to] == 0) continue;
    const std::size_t points = to - from + 1;
    const int32_t a = nodes[from], b = nodes[to];
    const double* fx = px.data() + from;
    const double* fy = py.data() + from;
    from = to;
    if (a == b && points == 2) continue;  // a repeated point
    int32_t e = same_arc(red, a, b, fx, fy, points);
    if (e == 0) {
      ends.from_node = a;
      ends.to_node = b;
      line.count = static_cast<int16_t>(points - 2);
      e = grabe_arco(&ends, &line, fx, fy, 0, red);
      if (e == 0) return -1;
      dibuje_arco(red, e, kKindColour);
    }
    taken.push_back(e);
  }
  return static_cast<int16_t>(std::min<std::size_t>(taken.size(), 32767));
}

CX_EXPORT(int16_t) add_segments(int32_t a) {
  using namespace cx;
  const int16_t* red = red_de_areas("add_segments");
  if (!red) return -1;
  const std::vector<int32_t>& arcs = ultima_digitalizacion();
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("error bloqueo T3.");
    return -1;
  }
  cx_area_object area{};
  std::vector<std::pair<int32_t, Descripcion>> chain;
  if (!lea_objeto_area(red, a, &area) || !cadena_de_area(red, area.first_desc, SIZE_MAX, &chain)) {
    informe_error("NO se encontro area %ld", static_cast<long>(a));
    return -1;
  }
  for (int32_t e : arcs) {
    const bool there = std::any_of(chain.begin(), chain.end(),
                                   [e](const auto& entry) { return entry.second.arc == e; });
    if (there) continue;
    if (agregue_arco_a(red, a, e) != 0) return -1;
    chain.push_back({0, Descripcion{e, a, 0, 0, 0}});
  }
  return static_cast<int16_t>(std::min<std::size_t>(arcs.size(), 32767));
}
