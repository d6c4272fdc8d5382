// Merging in an area network: funde_nodos joins the two nodes nearest to a
// point, funde_arcos replaces an arc by another that joins the same two
// nodes. Each finds every link it must change before changing any.
#include <algorithm>
#include <cmath>
#include <map>

#include "frame/messages.h"
#include "records/record_file.h"
#include "session/session.h"
#include "topology/descriptions.h"
#include "topology/drawers.h"
#include "topology/edit_support.h"
#include "topology/network_lists.h"
#include "topology/searches.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

using Lista = std::vector<std::pair<int32_t, EntradaLista>>;

bool current_layer_of_kind(std::initializer_list<int> kinds) {
  const Sesion& s = sesion();
  const int layer = s.settings[kCurrentLayer];
  if (layer < 1 || layer > s.layer_count) return false;
  const int k = s.layers[static_cast<std::size_t>(layer)].kind;
  return std::find(kinds.begin(), kinds.end(), k) != kinds.end();
}

void draw_arcs(const int16_t* red, int32_t node, int colour) {
  for (int32_t e : arcos_de_nodo(red, node)) dibuje_arco(red, e, colour);
}

// The bounding box of an arc from its full point list.
void recompute_box(const int16_t* red, cx_arc* arc) {
  std::vector<double> x, y;
  if (!puntos_de_arco(red, *arc, &x, &y)) return;
  const auto [x0, x1] = std::minmax_element(x.begin(), x.end());
  arc->xmin = *x0;
  arc->ymin = *std::min_element(y.begin(), y.end());
  arc->width = static_cast<int16_t>(std::trunc((*x1 - *x0) * 0.0004));
}

// The entry before `entry` in an area's description chain (0: the head);
// -1 when it is not there.
int32_t before_in_area(const std::vector<std::pair<int32_t, Descripcion>>& chain, int32_t entry) {
  int32_t before = 0;
  for (const auto& [n, d] : chain) {
    if (n == entry) return before;
    before = n;
  }
  return -1;
}

}  // namespace

}  // namespace cx

CX_EXPORT(int16_t) funde_nodos(double x, double y) {
  using namespace cx;
  const int16_t* red = red_actual();
  if (!red || !current_layer_of_kind({3})) return 0;
  const Sesion& s = sesion();
  const NodosCercanos near = nodos_cercanos(red, x, y, s.params[9]);
  if (near.first == 0) {
    avise_error("No se encontro nodos..");
    return -1;
  }
  cx_node n1{}, n2{};
  if (near.second == 0 || !lea_nodo(red, near.first, &n1) || !lea_nodo(red, near.second, &n2) ||
      std::hypot(n1.x - n2.x, n1.y - n2.y) > 2 * s.node_tolerance) {
    avise_error("No se encontro 2do. nodo ..");
    return -1;
  }
  const int32_t a = near.first, b = near.second;
  draw_arcs(red, a, 0);
  draw_arcs(red, b, 0);
  int32_t ea = 0, eb = 0;
  const int32_t joining = arco_entre(red, a, b, &ea, &eb);
  if (joining != 0) {
    if (joining > 0) avise_error("NO se funde.. hay arco");
    draw_arcs(red, a, kKindColour);
    draw_arcs(red, b, kKindColour);
    return -1;
  }
  {
    const CerrojoEdicion lock;
    if (!lock.taken) {
      avise_error("Error de bloqueo.. Nodo");
      return -1;
    }
    if (!lea_nodo(red, a, &n1) || !lea_nodo(red, b, &n2)) return -1;
    // Every entry of b's list, and for each arc its entry at the other
    // end, which names b as well.
    Lista moving;
    if (!lista_de_nodo(red, n2, &moving)) return -1;
    std::map<int32_t, cx_arc> arcs;
    std::vector<std::pair<int32_t, EntradaLista>> twins;
    for (const auto& [entry, e] : moving) {
      cx_arc arc{};
      if (!lea_arco(red, e.arc, &arc)) {
        avise_error("ERROR DEL SISTEMA: Debe REGENERAR listas T2");
        return -1;
      }
      arcs[e.arc] = arc;
      const int32_t other = arc.from_node == b ? arc.to_node : arc.from_node;
      if (other == b) continue;  // both entries are on b's list
      const int32_t twin = entrada_de_arco(red, other, e.arc);
      EntradaLista t;
      if (twin == 0 || !lea_entrada(red, twin, &t)) {
        avise_error("ERROR DEL SISTEMA: Debe REGENERAR listas T2");
        return -1;
      }
      twins.push_back({twin, t});
    }
    for (auto& [e, arc] : arcs) {
      if (arc.from_node == b) arc.from_node = a;
      if (arc.to_node == b) arc.to_node = a;
      recompute_box(red, &arc);
      if (!escriba_arco(red, e, arc)) return -1;
    }
    for (auto& [twin, t] : twins) {
      t.from = arcs[t.arc].from_node;
      t.to = arcs[t.arc].to_node;
      if (!escriba_entrada(red, twin, t)) return -1;
    }
    // b's entries, in their order, go to the head of a's list.
    int32_t head = n1.first_list;
    for (auto it = moving.rbegin(); it != moving.rend(); ++it) {
      EntradaLista e = it->second;
      e.from = arcs[e.arc].from_node;
      e.to = arcs[e.arc].to_node;
      e.next = head;
      if (!escriba_entrada(red, it->first, e)) return -1;
      head = it->first;
    }
    n1.first_list = head;
    n2.first_list = 0;
    if (!escriba_nodo(red, a, n1) || !escriba_nodo(red, b, n2)) return -1;
  }
  if (del_nodo(b) != 0) return -1;
  draw_arcs(red, a, kKindColour);
  dibuje_nodo(red, a, kKindColour);
  return 1;
}

CX_EXPORT(int16_t) funde_arcos(int32_t e) {
  using namespace cx;
  const int16_t* red = red_actual();
  cx_arc arc{};
  if (!red || !current_layer_of_kind({3}) || red[kRedDesc] < 0 || !lea_arco(red, e, &arc)) return 0;
  const int32_t a = arc.from_node, b = arc.to_node;
  const int32_t la = entrada_de_arco(red, a, e);
  const int32_t lb = entrada_de_arco(red, b, e, a == b ? la : 0);
  cx_node from{};
  Lista list;
  if (la == 0 || lb == 0 || !lea_nodo(red, a, &from) || !lista_de_nodo(red, from, &list)) return 0;
  int32_t d = 0;
  cx_arc other{};
  for (const auto& [entry, l] : list) {
    if (l.arc == e || !lea_arco(red, l.arc, &other)) continue;
    if ((other.from_node == a && other.to_node == b) ||
        (other.from_node == b && other.to_node == a)) {
      d = l.arc;
      break;
    }
  }
  if (d == 0) return 0;
  {
    const CerrojoEdicion lock;
    if (!lock.taken) {
      avise_error("ERROR bloqueando arco");
      return 0;
    }
    if (!lea_arco(red, e, &arc) || !lea_arco(red, d, &other)) return 0;
    // The areas d bounds already; an entry of e for one of them goes
    // instead of becoming a second entry of d.
    std::map<int32_t, bool> bounded_by_d;
    const int32_t guard = ultimo_registro(red[kRedDesc], kDescSize);
    for (int32_t n = other.first_desc, steps = 0; n != 0 && steps <= guard; ++steps) {
      Descripcion x;
      if (!lea_descripcion(red, n, &x)) return 0;
      bounded_by_d[x.area] = true;
      n = x.next_of_arc;
    }
    struct Change {
      int32_t entry;
      Descripcion desc;
      int32_t before_in_area;  // for an entry that goes
    };
    std::vector<Change> changes;
    for (int32_t n = arc.first_desc, steps = 0; n != 0 && steps <= guard; ++steps) {
      Descripcion x;
      if (!lea_descripcion(red, n, &x)) return 0;
      Change c{n, x, 0};
      if (bounded_by_d.count(x.area)) {
        cx_area_object area{};
        std::vector<std::pair<int32_t, Descripcion>> chain;
        if (!lea_objeto_area(red, x.area, &area) ||
            !cadena_de_area(red, area.first_desc, SIZE_MAX, &chain) ||
            (c.before_in_area = before_in_area(chain, n)) < 0) {
          avise_error("ERROR eliminando lista t3A");
          return 0;
        }
      } else {
        bounded_by_d[x.area] = true;  // a second entry of e for one area stays one
        c.before_in_area = -1;
      }
      changes.push_back(c);
      n = x.next_of_arc;
    }
    for (const Change& c : changes) {
      if (c.before_in_area < 0) {
        Descripcion moved = c.desc;
        moved.arc = d;
        moved.next_of_arc = other.first_desc;
        if (!escriba_descripcion(red, c.entry, moved)) return 0;
        other.first_desc = c.entry;
        continue;
      }
      // Read again: an earlier change may have relinked this chain.
      cx_area_object area{};
      std::vector<std::pair<int32_t, Descripcion>> chain;
      if (!lea_objeto_area(red, c.desc.area, &area) ||
          !cadena_de_area(red, area.first_desc, SIZE_MAX, &chain))
        return 0;
      const int32_t before = before_in_area(chain, c.entry);
      if (before < 0) return 0;
      if (before == 0) {
        area.first_desc = c.desc.next_of_area;
        if (!escriba_objeto_area(red, c.desc.area, area)) return 0;
      } else {
        Descripcion prev;
        if (!lea_descripcion(red, before, &prev)) return 0;
        prev.next_of_area = c.desc.next_of_area;
        if (!escriba_descripcion(red, before, prev)) return 0;
      }
      devuelva_registro(red[kRedDesc], c.entry, kDescSize);
    }
    if (!escriba_arco(red, d, other)) return 0;
    arc.first_desc = 0;
    if (!escriba_arco(red, e, arc)) return 0;
  }
  borre_arco(a, b, la, lb, e);
  dibuje_arco(red, d, kKindColour);
  return 0;
}
