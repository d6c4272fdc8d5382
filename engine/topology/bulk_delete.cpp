// Deleting the current layer's objects in the window after one question:
// del_capa (all of them), del_tipo (those of the current object kind) and
// del_clase (those whose kind has the current kind's geometry type). In a
// network of kind 2 the listed records are nodes: their arcs go first, then
// the nodes left without arcs; arcs bounding an area stay.
#include <cstdio>
#include <vector>

#include "frame/messages.h"
#include "session/session.h"
#include "topology/btree.h"
#include "topology/descriptions.h"
#include "topology/drawers.h"
#include "topology/edit_records.h"
#include "topology/edits.h"
#include "topology/network_lists.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

constexpr std::size_t kMaxListed = 895;

enum class Filtro { kAll, kKind, kGeometry };

// Whether a record of `kind` is deleted under the filter.
bool selected(Filtro filter, int kind) {
  const int current = sesion().settings[kCurrentKind];
  if (filter == Filtro::kAll) return true;
  if (filter == Filtro::kKind) return kind == current;
  return tipo_para_dibujo(kind).geometry == tipo_para_dibujo(current).geometry;
}

// The records of the current layer indexed in the window widened by
// parameter 8, at most kMaxListed.
std::vector<int32_t> in_window(int index, int layer) {
  const Sesion& s = sesion();
  const double m = s.params[8];
  ConsultaEspacial q;
  inicie_consulta(&q, s.window.xmin - m, s.window.ymin - m, s.window.xmax + m, s.window.ymax + m);
  std::vector<int32_t> out;
  unsigned char key[kKeySize];
  int32_t record = 0;
  while (out.size() < kMaxListed && siguiente_hit(index, &q, key, &record) == 1) {
    double x = 0, y = 0;
    int hit_layer = 0;
    decodifique_clave(key, &x, &y, &hit_layer);
    if (hit_layer == layer) out.push_back(record);
  }
  return out;
}

bool confirmed(std::size_t count) {
  char text[64];
  std::snprintf(text, sizeof text, "ATENCION: desea eliminar %d objetos? ",
                static_cast<int>(count));
  return pregunte(text, CX_MB_OKCANCEL | CX_MB_ICONQUESTION, "Confirme eliminaci\xf3n") == CX_IDOK;
}

// Deletes the selected arcs of a node that bound no area.
void delete_arcs(const int16_t* red, int32_t n, Filtro filter) {
  for (int32_t e : arcos_de_nodo(red, n)) {
    cx_arc arc{};
    if (!lea_arco(red, e, &arc) || arc.first_desc != 0 || !selected(filter, arc.kind)) continue;
    const int32_t la = entrada_de_arco(red, arc.from_node, e);
    const int32_t lb = entrada_de_arco(red, arc.to_node, e, arc.from_node == arc.to_node ? la : 0);
    if (la == 0 || lb == 0) {
      avise_error("ERROR: NO hay arco entre nodos ");
      continue;
    }
    borre_arco(arc.from_node, arc.to_node, la, lb, e);
  }
}

void delete_listed(Filtro filter) {
  Sesion& s = sesion();
  const int layer_number = s.settings[kCurrentLayer];
  const cx_layer* layer = registro_capa(layer_number, "del_capa");
  if (!layer) return;
  const int16_t* red = layer->kind >= 2 ? red_actual() : nullptr;
  const int index = layer->kind < 2    ? archivos_t0().cuadt0
                    : !red             ? -1
                    : layer->kind == 2 ? red[kRedNodeXY]
                                       : red[kRedLabels];
  if (index < 0) return;
  std::vector<int32_t> listed;
  for (int32_t r : in_window(index, layer_number)) {
    cx_object object{};
    cx_area_object area{};
    const bool keep = layer->kind < 2 ? lea_t0(r, &object) && selected(filter, object.kind)
                      : layer->kind == 3
                          ? lea_objeto_area(red, r, &area) && selected(filter, area.kind)
                          : true;
    if (keep) listed.push_back(r);
  }
  if (listed.empty() || !confirmed(listed.size())) return;
  for (int32_t r : listed) {
    cx_object object{};
    if (layer->kind == 3) {
      borre_t3(r);
    } else if (layer->kind == 2) {
      delete_arcs(red, r, filter);
    } else if (lea_t0(r, &object)) {
      if (layer->kind == 1 && object.area != 0)
        borre_t1(r);
      else
        borre_t0(r);
    }
  }
  if (layer->kind != 2) return;
  for (int32_t r : listed) {
    cx_node node{};
    if (lea_nodo(red, r, &node) && node.first_list == 0 && selected(filter, node.kind)) del_nodo(r);
  }
}

}  // namespace

}  // namespace cx

CX_EXPORT(int16_t) del_capa(int16_t) {
  cx::delete_listed(cx::Filtro::kAll);
  return 0;
}

CX_EXPORT(int16_t) del_tipo(int16_t) {
  cx::delete_listed(cx::Filtro::kKind);
  return 0;
}

CX_EXPORT(int16_t) del_clase(int16_t) {
  cx::delete_listed(cx::Filtro::kGeometry);
  return 0;
}
