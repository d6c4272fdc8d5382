// Areas and lengths: of plain point lists (area_calc, long_calc) and of an
// area object from the rings the arcs of its description form (topo_area),
// and the check that those arcs form one closed ring (cerradura).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "frame/messages.h"
#include "session/session.h"
#include "topology/descriptions.h"

namespace cx {

namespace {

constexpr std::size_t kClosureArcs = 600;
constexpr std::size_t kAreaArcs = 900;

double area_units(double area) {
  switch (sesion().settings[kUnits]) {
    case 1:
      return area * 0.0001;
    case 2:
      return area * 1e-6;
    default:
      return area;
  }
}

// One arc of a description: its number, negated when it runs backwards in
// the ring, and its two end nodes in ring order.
struct Tramo {
  int32_t arc;
  int32_t from, to;
};

// Orders the arcs so that each starts where the one before ends, reversing
// arcs as needed. The index j of the arc after which no arc continues, or
// -1 when every arc found a successor.
int ordene(std::vector<Tramo>& t) {
  for (std::size_t j = 0; j + 1 < t.size(); ++j) {
    std::size_t k = j + 1;
    while (k < t.size() && t[k].from != t[j].to && t[k].to != t[j].to) ++k;
    if (k == t.size()) return static_cast<int>(j);
    if (t[k].from != t[j].to) {
      std::swap(t[k].from, t[k].to);
      t[k].arc = -t[k].arc;
    }
    std::swap(t[j + 1], t[k]);
  }
  return -1;
}

bool tramos(const int16_t* red, int32_t head, std::size_t limit, std::vector<Tramo>* out) {
  std::vector<std::pair<int32_t, Descripcion>> chain;
  if (!cadena_de_area(red, head, limit, &chain)) return false;
  out->clear();
  for (const auto& entry : chain) {
    cx_arc arc{};
    if (!lea_arco(red, entry.second.arc, &arc)) {
      informe_error("ARCO %ld NO EXISTE", static_cast<long>(entry.second.arc));
      return false;
    }
    out->push_back({entry.second.arc, arc.from_node, arc.to_node});
  }
  return true;
}

// The trapezoid sum of a polyline, relative to its first point so that
// large ground coordinates keep their precision.
double suma_trapecios(const std::vector<double>& x, const std::vector<double>& y) {
  double sum = 0;
  for (std::size_t j = 0; j + 1 < x.size(); ++j)
    sum += ((y[j + 1] - y[0]) + (y[j] - y[0])) * (x[j + 1] - x[j]) / 2;
  return sum;
}

// Even-odd point in the closed ring.
bool dentro(double px, double py, const std::vector<double>& x, const std::vector<double>& y) {
  bool in = false;
  for (std::size_t i = 0, j = x.size() - 1; i < x.size(); j = i++)
    if ((y[i] > py) != (y[j] > py) && px < x[i] + (py - y[i]) / (y[j] - y[i]) * (x[j] - x[i]))
      in = !in;
  return in;
}

void mark_node(const int16_t* red, int32_t node) {
  cx_arc probe{};
  probe.from_node = probe.to_node = node;
  std::vector<double> x, y;
  if (puntos_de_arco(red, probe, &x, &y)) gcursor(x[0], y[0]);
}

}  // namespace

bool anillos_de_area(const int16_t* red, int32_t head, const char* caller, AnillosDeArea* out) {
  *out = {};
  std::vector<Tramo> t;
  if (!tramos(red, head, kAreaArcs, &t)) return false;
  // Ordered ring by ring: each ring ends at the arc that comes back to its
  // first arc's start; the next ring is ordered from what is left.
  std::vector<double> x, y;
  for (std::size_t start = 0; start < t.size();) {
    std::vector<Tramo> rest(t.begin() + static_cast<std::ptrdiff_t>(start), t.end());
    ordene(rest);
    std::size_t end = 0;
    while (end + 1 < rest.size() && rest[end].to != rest[0].from) ++end;
    std::copy(rest.begin(), rest.end(), t.begin() + static_cast<std::ptrdiff_t>(start));
    out->x.emplace_back();
    out->y.emplace_back();
    for (std::size_t i = start; i <= start + end; ++i) {
      cx_arc arc{};
      if (!lea_arco(red, std::abs(t[i].arc), &arc) || !puntos_de_arco(red, arc, &x, &y)) {
        informe_error("%s: ARCO %ld NO SE LEE", caller, static_cast<long>(std::abs(t[i].arc)));
        *out = {};
        return false;
      }
      if (t[i].arc < 0) {
        std::reverse(x.begin(), x.end());
        std::reverse(y.begin(), y.end());
      }
      for (std::size_t j = 0; j + 1 < x.size(); ++j)
        out->length += std::hypot(x[j + 1] - x[j], y[j + 1] - y[j]);
      out->x.back().insert(out->x.back().end(), x.begin(), x.end());
      out->y.back().insert(out->y.back().end(), y.begin(), y.end());
    }
    start += end + 1;
  }
  out->arcs = t.size();
  return true;
}

}  // namespace cx

CX_EXPORT(int16_t) area_calc(double* x, double* y, int16_t count, double* area) {
  using namespace cx;
  if (punteros_nulos("area_calc", {area})) return 0;
  *area = 0;
  if (count < 3 || punteros_nulos("area_calc", {x, y})) return 0;
  int n = count;
  if (x[n - 1] != x[0] || y[n - 1] != y[0]) {
    x[n] = x[0];
    y[n] = y[0];
    ++n;
  }
  double xmin = x[0], ymin = y[0];
  for (int i = 1; i < n; ++i) {
    xmin = std::min(xmin, x[i]);
    ymin = std::min(ymin, y[i]);
  }
  // Summed relative to the lower-left corner, so that large ground
  // coordinates do not swamp the products; the caller's points are not
  // changed.
  double sum = 0;
  for (int i = 0; i + 1 < n; ++i)
    sum += ((y[i + 1] - ymin) + (y[i] - ymin)) * ((x[i + 1] - xmin) - (x[i] - xmin)) / 2;
  *area = area_units(std::fabs(sum));
  return 0;
}

CX_EXPORT(int16_t) long_calc(const double* x, const double* y, int16_t count, double* length) {
  using namespace cx;
  if (punteros_nulos("long_calc", {length})) return 0;
  *length = 0;
  if (count < 2 || punteros_nulos("long_calc", {x, y})) return 0;
  double sum = 0;
  for (int i = 0; i + 1 < count; ++i) sum += std::hypot(x[i + 1] - x[i], y[i + 1] - y[i]);
  *length = sesion().settings[kUnits] == 2 ? sum / 1000 : sum;
  return 0;
}

CX_EXPORT(int16_t) topo_area(const cx_area_object* object, double* area, double* perimeter) {
  using namespace cx;
  if (punteros_nulos("topo_area", {object, area, perimeter})) return 0;
  *area = *perimeter = 0;
  if (object->first_desc == 0) return 0;
  const int16_t* red = red_de_areas("topo_area");
  if (!red) return 0;
  AnillosDeArea rings;
  if (!anillos_de_area(red, object->first_desc, "topo_area", &rings)) return 0;
  // The arcs of a ring run the way its first stored arc does, so the sign
  // of a ring says nothing: a ring inside an odd number of the area's other
  // rings is a hole and subtracts.
  const auto& rx = rings.x;
  const auto& ry = rings.y;
  double sum = 0;
  for (std::size_t r = 0; r < rx.size(); ++r) {
    int depth = 0;
    for (std::size_t o = 0; o < rx.size(); ++o)
      if (o != r && dentro(rx[r][0], ry[r][0], rx[o], ry[o])) ++depth;
    const double a = std::fabs(suma_trapecios(rx[r], ry[r]));
    sum += depth % 2 ? -a : a;
  }
  *area = area_units(sum);
  *perimeter = sesion().settings[kUnits] == 2 ? rings.length / 1000 : rings.length;
  return static_cast<int16_t>(rings.arcs);
}

CX_EXPORT(int16_t) cerradura(int32_t a) {
  using namespace cx;
  const cx_kind* kind = registro_tipo(sesion().settings[kCurrentKind], "cerradura");
  const int geometry = kind ? kind->geometry : -1;
  if (geometry != 0 && geometry != 5 && geometry != 6 && geometry != 9) return -1;
  const int16_t* red = red_de_areas("cerradura");
  cx_area_object area{};
  if (!red || !lea_objeto_area(red, a, &area)) return CX_CERRADURA_GAP;
  std::vector<Tramo> t;
  if (!tramos(red, area.first_desc, kClosureArcs, &t)) return CX_CERRADURA_GAP;
  // One arc closes a ring only when it comes back to its own start.
  if (t.size() < 2 && (t.empty() || t[0].from != t[0].to)) {
    avise_error("Area debe tener por lo menos dos arcos");
    return CX_CERRADURA_FEW;
  }
  const int gap = ordene(t);
  if (gap >= 0) {
    mark_node(red, t[static_cast<std::size_t>(gap)].to);
    avise_error("Area NO esta cerrada (o tiene huecos, o es disyunta!)..");
    return CX_CERRADURA_GAP;
  }
  if (t.front().from == t.back().to) {
    avise("Area cerrada ok");
    return 0;
  }
  mark_node(red, t.back().to);
  avise_error("Area NO esta cerrada  (o tiene huecos, o es disyunta!)..");
  return 1;
}
