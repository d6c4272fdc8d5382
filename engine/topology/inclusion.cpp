// Is a point inside: the work area under the inclusion mode (esta_en), one
// object of the base (esta_dentro). Points on a boundary: a point equal to
// a vertex of the boundary is inside; other points on an edge fall on
// either side as the crossing count gives.
#include <algorithm>
#include <cmath>
#include <vector>

#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/descriptions.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

int16_t inclusion_mode = 0;
double inclusion_distance = 0;

// Whether the ray from (px, py) towards +x crosses the segment.
template <typename T>
bool crosses(double px, double py, T x1, T y1, T x2, T y2) {
  if ((y1 > py) == (y2 > py)) return false;
  const double t = (py - y1) / (static_cast<double>(y2) - y1);
  return px < x1 + t * (static_cast<double>(x2) - x1);
}

double segment_distance(double px, double py, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1, dy = y2 - y1, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - x1) * dx + (py - y1) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy));
}

// Crossings and the nearest distance over polylines given one after the
// other (counts[i] points each; one polyline of n points when counts is
// null; a closed polygon when close).
template <typename T>
void scan(double px, double py, const T* x, const T* y, int32_t n, const int16_t* counts,
          int32_t parts, bool close, int* crossings, double* nearest, bool* on_vertex) {
  int32_t at = 0;
  for (int32_t part = 0; part < (counts ? parts : 1); ++part) {
    const int32_t m = counts ? counts[part] : n;
    for (int32_t i = 0; i < m; ++i) {
      const int32_t a = at + i;
      if (x[a] == px && y[a] == py) *on_vertex = true;
      const int32_t b = i + 1 < m ? a + 1 : (close ? at : -1);
      if (b < 0 || b >= at + m) continue;
      if (crosses(px, py, x[a], y[a], x[b], y[b])) ++*crossings;
      *nearest = std::min(*nearest, segment_distance(px, py, x[a], y[a], x[b], y[b]));
    }
    at += m;
  }
}

// 1 inside (or on the boundary within distance mode), else 0, for a work
// area given as polylines.
template <typename T>
int16_t test(double px, double py, const T* x, const T* y, int32_t n, const int16_t* counts,
             int32_t parts, bool close, bool near_mode) {
  int crossings = 0;
  double nearest = HUGE_VAL;
  bool on_vertex = false;
  scan(px, py, x, y, n, counts, parts, close, &crossings, &nearest, &on_vertex);
  if (near_mode) return nearest <= inclusion_distance;
  return on_vertex || crossings % 2 == 1;
}

}  // namespace

// Inside the area object's boundary by the even-odd rule over all its arcs
// (holes come out right). -1 inside, 0 outside or unreadable.
static int16_t dentro_de_area(const int16_t* red, int32_t record, double px, double py) {
  cx_area_object area{};
  std::vector<std::pair<int32_t, Descripcion>> chain;
  if (!lea_objeto_area(red, record, &area) ||
      !cadena_de_area(red, area.first_desc, SIZE_MAX, &chain))
    return 0;
  int crossings = 0;
  double nearest = HUGE_VAL;
  bool on_vertex = false;
  std::vector<double> x, y;
  for (const auto& entry : chain) {
    cx_arc arc{};
    if (!lea_arco(red, entry.second.arc, &arc) || !puntos_de_arco(red, arc, &x, &y)) return 0;
    scan(px, py, x.data(), y.data(), static_cast<int32_t>(x.size()), nullptr, 1, false, &crossings,
         &nearest, &on_vertex);
  }
  return on_vertex || crossings % 2 == 1 ? -1 : 0;
}

}  // namespace cx

CX_EXPORT(int16_t) set_inclusion(int16_t mode, double d) {
  cx::inclusion_mode = mode;
  cx::inclusion_distance = d;
  return mode;
}

CX_EXPORT(int16_t) esta_en(double x, double y) {
  using namespace cx;
  const Sesion& s = sesion();
  const bool near_mode = inclusion_mode == 2 || inclusion_mode == 3;
  const bool negate = inclusion_mode == 1 || inclusion_mode == 3;
  const double d = inclusion_distance;
  int16_t in = 0;
  switch (s.settings[kWorkMode]) {
    case 1:
      in = s.work.count > 0 ? test(x, y, s.work.x.get(), s.work.y.get(), s.work.count, nullptr, 1,
                                   true, near_mode)
                            : 0;
      break;
    case 2: {
      const double r = std::hypot(x - s.circle_x, y - s.circle_y);
      in = near_mode ? r >= std::max(0.0, s.circle_r - d) && r <= s.circle_r + d : r <= s.circle_r;
      break;
    }
    case 3: {
      const Ventana& w = s.work_extents;
      if (!near_mode) {
        in = x >= w.xmin && x <= w.xmax && y >= w.ymin && y <= w.ymax;
      } else {
        const double xs[4] = {w.xmin, w.xmax, w.xmax, w.xmin};
        const double ys[4] = {w.ymin, w.ymin, w.ymax, w.ymax};
        in = test(x, y, xs, ys, 4, nullptr, 1, true, true);
      }
      break;
    }
    case 4:
      in = s.work.count > 0 ? test(x, y, s.work.x.get(), s.work.y.get(), s.work.count,
                                   s.work_arc_points.get(), s.work_arcs, false, near_mode)
                            : 0;
      break;
    default:
      in = near_mode ? 0 : 1;
      break;
  }
  return static_cast<int16_t>(negate ? !in : in);
}

CX_EXPORT(int16_t) esta_dentro(double x, double y, int32_t record, int16_t layer) {
  using namespace cx;
  const cx_layer* l = registro_capa(layer, "esta_dentro");
  if (!l) return 0;
  if (l->kind == 3) {
    const int16_t* red = red_de_areas("esta_dentro");
    return red ? dentro_de_area(red, record, x, y) : 0;
  }
  if (l->kind > 1) return 0;
  const ArchivosT0& t0 = archivos_t0();
  unsigned char disk[31];
  if (t0.objetos < 0 || record < 1 || record > ultimo_registro(t0.objetos, 31) ||
      lea_registro(t0.objetos, disk, record, 31) != 0)
    return 0;
  cx_object object{};
  desempaque(disk, &object);
  const cx_kind* kind = registro_tipo(object.kind, "esta_dentro");
  const int g = kind ? kind->geometry : -1;
  if ((g != 0 && g != 5 && g != 6 && g != 9) || object.count < 3 || object.block <= 0) return 0;
  std::vector<double> xs(static_cast<std::size_t>(object.count)), ys(xs.size());
  if (lea_coord(static_cast<int16_t>(t0.coorden), object.block, xs.data(), ys.data(),
                object.count) != 0)
    return 0;
  if (xs.front() != xs.back() || ys.front() != ys.back()) return 0;
  return test(x, y, xs.data(), ys.data(), object.count, nullptr, 1, false, false) ? -1 : 0;
}

CX_EXPORT(int16_t) esta_en_despl(double x, double y) {
  using namespace cx;
  const Poligono& p = sesion().limits;
  // Fewer than three points enclose nothing: no limits.
  if (p.count < 3) return 1;
  const Ventana& e = p.extents;
  if (x < e.xmin || x > e.xmax || y < e.ymin || y > e.ymax) return 0;
  return test(x, y, p.x.get(), p.y.get(), p.count, nullptr, 1, true, false);
}
