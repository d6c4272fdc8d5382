// The limits polygon, the work area, the description polygon and the
// legend conventions.
#include <algorithm>
#include <cstring>

#include "frame/memory.h"
#include "frame/messages.h"
#include "session/session.h"

namespace cx {

namespace {

Ventana extents_of(const float* x, const float* y, int32_t n) {
  Ventana e{x[0], y[0], x[0], y[0]};
  for (int32_t i = 1; i < n; ++i) {
    e.xmin = std::min<double>(e.xmin, x[i]);
    e.ymin = std::min<double>(e.ymin, y[i]);
    e.xmax = std::max<double>(e.xmax, x[i]);
    e.ymax = std::max<double>(e.ymax, y[i]);
  }
  return e;
}

bool bad_count(const char* caller, int32_t count) {
  if (count >= 0) return false;
  informe_error("%s: CANTIDAD NEGATIVA %d", caller, static_cast<int>(count));
  return true;
}

// Replaces p with count points given as doubles ("LXE" and "LYE" name the
// two allocations). On failure the polygon is left empty.
bool replace_polygon(Poligono& p, int32_t count, const double* x, const double* y) {
  p.x.reset();
  p.y.reset();
  p.count = 0;
  p.extents = {};
  if (count == 0) return true;
  Arreglo<float> new_x = pida_arreglo<float>(count, "LXE");
  Arreglo<float> new_y = new_x ? pida_arreglo<float>(count, "LYE") : nullptr;
  if (!new_x || !new_y) return false;
  p.x = std::move(new_x);
  p.y = std::move(new_y);
  for (int32_t i = 0; i < count; ++i) {
    p.x[i] = static_cast<float>(x[i]);
    p.y[i] = static_cast<float>(y[i]);
  }
  p.count = count;
  p.extents = extents_of(p.x.get(), p.y.get(), count);
  return true;
}

}  // namespace

bool cargue_area_trabajo(int32_t arcs, const int16_t* points_per_arc, const double* x,
                         const double* y) {
  if (bad_count("cargue_area_trabajo", arcs)) return false;
  if (arcs > kMaxAreaArcs) {
    avise_error("AREA MUY GRANDE PARA CARGAR..");
    return false;
  }
  if (arcs > 0 && punteros_nulos("cargue_area_trabajo", {points_per_arc, x, y})) return false;
  int32_t total = 0;
  for (int32_t i = 0; i < arcs; ++i) total += std::max<int16_t>(points_per_arc[i], 0);
  Sesion& s = sesion();
  Arreglo<int16_t> counts = pida_arreglo<int16_t>(arcs ? arcs : 1, "ARCOS");
  if (!counts) return false;
  if (!replace_polygon(s.work, total, x, y)) return false;
  for (int32_t i = 0; i < arcs; ++i) counts[i] = std::max<int16_t>(points_per_arc[i], 0);
  s.work_arc_points = std::move(counts);
  s.work_arcs = arcs;
  s.work_extents = s.work.extents;
  s.settings[kWorkMode] = 4;
  return true;
}

}  // namespace cx

using cx::sesion;

CX_EXPORT(int16_t) set_lims(int16_t count, const double* x, const double* y) {
  if (cx::bad_count("set_lims", count)) return 0;
  if (count > 0 && cx::punteros_nulos("set_lims", {x, y})) return 0;
  cx::replace_polygon(sesion().limits, count, x, y);
  return 0;
}

CX_EXPORT(void) get_lims(int16_t* count, double* x, double* y) {
  if (cx::punteros_nulos("get_lims", {count})) return;
  const cx::Poligono& p = sesion().limits;
  if (p.count > 0 && cx::punteros_nulos("get_lims", {x, y})) return;
  *count = static_cast<int16_t>(p.count);
  for (int32_t i = 0; i < p.count; ++i) {
    x[i] = p.x[i];
    y[i] = p.y[i];
  }
}

CX_EXPORT(void) set_descr(int16_t count, const double* x, const double* y) {
  cx::Sesion& s = sesion();
  if (cx::bad_count("set_descr", count)) return;
  if (count > 0 && cx::punteros_nulos("set_descr", {x, y, s.descr_x.get(), s.descr_y.get()}))
    return;
  const int32_t n = std::min<int32_t>(count, cx::kDescrMax);
  std::copy(x, x + n, s.descr_x.get());
  std::copy(y, y + n, s.descr_y.get());
  s.descr_count = n;
}

CX_EXPORT(int16_t) set_workpol(int16_t count, const double* x, const double* y) {
  if (cx::bad_count("set_workpol", count)) return 0;
  if (count > 0 && cx::punteros_nulos("set_workpol", {x, y})) return 0;
  cx::Sesion& s = sesion();
  cx::replace_polygon(s.work, count, x, y);
  s.work_arc_points.reset();
  s.work_arcs = 0;
  s.settings[cx::kWorkMode] = 1;
  s.settings[cx::kWorkCount] = static_cast<int16_t>(s.work.count);
  s.work_extents = s.work.extents;
  return 0;
}

CX_EXPORT(void) set_workxy(double x1, double y1, double x2, double y2) {
  cx::Sesion& s = sesion();
  s.settings[cx::kWorkMode] = 3;
  s.work_extents = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

CX_EXPORT(void) set_workcirc(double cx, double cy, double r) {
  cx::Sesion& s = sesion();
  s.settings[cx::kWorkMode] = 2;
  s.circle_x = cx;
  s.circle_y = cy;
  s.circle_r = r;
  s.work_extents = {cx - r, cy - r, cx + r, cy + r};
}

CX_EXPORT(int16_t) get_work_extents(double* xmin, double* ymin, double* xmax, double* ymax) {
  const cx::Sesion& s = sesion();
  if (cx::punteros_nulos("get_work_extents", {xmin, ymin, xmax, ymax}))
    return s.settings[cx::kWorkMode];
  *xmin = s.work_extents.xmin;
  *ymin = s.work_extents.ymin;
  *xmax = s.work_extents.xmax;
  *ymax = s.work_extents.ymax;
  return s.settings[cx::kWorkMode];
}

namespace {
cx_legend_slot* legend_slot(const cx_legend_slot* record, const char* caller) {
  if (cx::punteros_nulos(caller, {record})) return nullptr;
  if (record->index < 0 || record->index >= cx::kLegendSlots) {
    cx::informe_error("%s: CONVENCION %d FUERA DE 0..16", caller, record->index);
    return nullptr;
  }
  return &sesion().legend[record->index];
}
}  // namespace

CX_EXPORT(void) set_convens(const cx_legend_slot* record) {
  if (cx_legend_slot* slot = legend_slot(record, "set_convens")) *slot = *record;
}

CX_EXPORT(void) get_convens(cx_legend_slot* record) {
  const cx_legend_slot* slot = legend_slot(record, "get_convens");
  if (!slot) return;
  record->value = slot->value;
  record->a = slot->a;
  record->b = slot->b;
  record->c = slot->c;
  record->d = slot->d;
  record->e = slot->e;
  std::memset(record->label, 0, sizeof record->label);
  std::memcpy(record->label, slot->label, strnlen(slot->label, sizeof slot->label));
}

CX_EXPORT(void) set_convxy(const double* x1, const double* y1, const double* x2, const double* y2) {
  if (cx::punteros_nulos("set_convxy", {x1, y1, x2, y2})) return;
  double* xy = sesion().legend_xy;
  xy[0] = *x1;
  xy[1] = *y1;
  xy[2] = *x2;
  xy[3] = *y2;
}

CX_EXPORT(void) get_convxy(double* x1, double* y1, double* x2, double* y2) {
  if (cx::punteros_nulos("get_convxy", {x1, y1, x2, y2})) return;
  const double* xy = sesion().legend_xy;
  *x1 = xy[0];
  *y1 = xy[1];
  *x2 = xy[2];
  *y2 = xy[3];
}
