// Splitting an arc at a vertex, for the line check.
#include "topology/vertex_split.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <vector>

#include "frame/messages.h"
#include "records/blocks.h"
#include "records/codec.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/descriptions.h"
#include "topology/edit_records.h"
#include "topology/edit_support.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

constexpr int kListSize = 16;

struct Entrada {
  int32_t arc, next, from, to;
};

bool read_entry(const int16_t* red, int32_t n, Entrada* e) {
  unsigned char disk[kListSize];
  if (lea_registro(red[kSlotLists], disk, n, kListSize) != 0) return false;
  *e = {get_le32(disk), get_le32(disk + 4), get_le32(disk + 8), get_le32(disk + 12)};
  return true;
}

bool write_entry(const int16_t* red, int32_t n, const Entrada& e) {
  unsigned char disk[kListSize];
  put_le32(disk, e.arc);
  put_le32(disk + 4, e.next);
  put_le32(disk + 8, e.from);
  put_le32(disk + 12, e.to);
  return escriba_registro(red[kSlotLists], disk, n, kListSize) == 0;
}

// The nearest node within parameter 13 of (x, y), 0 for none.
int32_t node_near(const int16_t* red, double x, double y) {
  const double t = sesion().node_tolerance;
  ConsultaEspacial q;
  inicie_consulta(&q, x - t, y - t, x + t, y + t);
  unsigned char key[kKeySize];
  int32_t record = 0, best = 0;
  double best_d = t;
  while (siguiente_hit(red[kSlotNodeXY], &q, key, &record) == 1) {
    cx_node node{};
    if (!lea_nodo_red(red, record, &node)) continue;
    const double d = std::hypot(node.x - x, node.y - y);
    if (d <= best_d && (best == 0 || d < best_d)) {
      best = record;
      best_d = d;
    }
  }
  return best;
}

bool same_network(const cx_layer& a, const cx_layer& b) {
  if (a.kind < 2 || b.kind < 2) return false;
  for (int i = 0; i < 4; ++i) {
    const int ca = std::toupper(static_cast<unsigned char>(a.network_prefix[i]));
    if (ca != std::toupper(static_cast<unsigned char>(b.network_prefix[i]))) return false;
    if (ca == 0) break;
  }
  return true;
}

// The node kind of the network: the first kind of geometry 3 of the
// current layer, else of a layer on the same network; 0 for none.
int node_kind() {
  const Sesion& s = sesion();
  const int current = s.settings[kCurrentLayer];
  if (current < 1 || current > s.layer_count) return 0;
  const cx_layer& here = s.layers[static_cast<std::size_t>(current)];
  for (int pass = 0; pass < 2; ++pass)
    for (int k = 1; k <= s.kind_count; ++k) {
      const cx_kind& kind = s.kinds[static_cast<std::size_t>(k)];
      if (kind.geometry != 3 || kind.layer < 1 || kind.layer > s.layer_count) continue;
      if (pass == 0 ? kind.layer == current
                    : same_network(here, s.layers[static_cast<std::size_t>(kind.layer)]))
        return k;
    }
  return 0;
}

int32_t new_node(const int16_t* red, double x, double y) {
  const Sesion& s = sesion();
  cx_node code{};
  code.code_prefix = s.layers[static_cast<std::size_t>(s.settings[kCurrentLayer])].code_prefix[1];
  cx_object at{};
  at.kind = static_cast<int16_t>(node_kind());
  at.x = x;
  at.y = y;
  return grabe_nodo(&code, &at, 0, 0, 0, red);
}

// Points begin..end-1 in a new block; offset 0 for none.
bool store(const int16_t* red, const std::vector<double>& x, const std::vector<double>& y,
           std::size_t begin, std::size_t end, int32_t* offset, int16_t* count) {
  *offset = 0;
  *count = static_cast<int16_t>(end > begin ? end - begin : 0);
  if (*count == 0) return true;
  *offset = pida_bloque(red[kSlotPoints], *count);
  return *offset > 0 &&
         grabe_puntos(red[kSlotPoints], *offset, x.data() + begin, y.data() + begin, *count) == 0;
}

}  // namespace

int32_t parta_en_vertice(const int16_t* red, int32_t e, std::size_t j) {
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("ERROR bloqueando arco");
    return 0;
  }
  cx_arc arc{};
  cx_node from{}, to{};
  std::vector<double> x, y;
  if (!lea_arco(red, e, &arc) || !puntos_de_arco(red, arc, &x, &y) || j == 0 || j + 1 >= x.size() ||
      !lea_nodo_red(red, arc.from_node, &from) || !lea_nodo_red(red, arc.to_node, &to))
    return 0;
  const int32_t la = entrada_en_lista(red, from, e);
  const int32_t lb = entrada_en_lista(red, to, e, arc.from_node == arc.to_node ? la : 0);
  Entrada at_from{}, at_to{};
  if (la == 0 || lb == 0 || !read_entry(red, la, &at_from) || !read_entry(red, lb, &at_to)) {
    avise_error("ERROR DEL SISTEMA: Debe REGENERAR listas T2");
    return 0;
  }
  std::vector<std::pair<int32_t, Descripcion>> bounds;
  const int32_t guard = red[kRedDesc] >= 0 ? ultimo_registro(red[kRedDesc], kDescSize) : 0;
  for (int32_t n = arc.first_desc, steps = 0; n != 0; ++steps) {
    Descripcion d;
    if (steps > guard || !lea_descripcion(red, n, &d)) {
      informe_error("DESCRIPCION %ld NO EXISTE", static_cast<long>(n));
      return 0;
    }
    bounds.push_back({n, d});
    n = d.next_of_arc;
  }

  int32_t node = node_near(red, x[j], y[j]);
  if (node == 0 && (node = new_node(red, x[j], y[j])) == 0) return 0;
  cx_node split{};
  cx_arc second = arc;
  int32_t first_block = 0, second_block = 0;
  if (!lea_nodo_red(red, node, &split) || !store(red, x, y, 1, j, &first_block, &arc.count) ||
      !store(red, x, y, j + 1, x.size() - 1, &second_block, &second.count))
    return 0;
  // A record is handed out at the end of its file, so each one is written
  // before the next is asked for.
  const int32_t n2 = pida_registro(red[kRedArcs], kArcSize);
  const int32_t entry1 = pida_registro(red[kSlotLists], kListSize);
  if (n2 == 0 || entry1 == 0 ||
      !write_entry(red, entry1, {e, split.first_list, arc.from_node, node})) {
    informe_error("ARCO: ERROR AL PEDIR");
    return 0;
  }
  const int32_t entry2 = pida_registro(red[kSlotLists], kListSize);
  if (entry2 == 0 || !write_entry(red, entry2, {n2, entry1, node, arc.to_node})) {
    informe_error("ARCO: ERROR AL PEDIR");
    return 0;
  }
  const int32_t old_to = arc.to_node;
  arc.block = first_block;
  arc.to_node = node;
  second.block = second_block;
  second.from_node = node;
  second.to_node = old_to;
  second.first_desc = 0;
  // Each area the arc bounds gets the new arc's entry just after the old
  // one in its chain.
  for (auto& [n, d] : bounds) {
    const int32_t twin = pida_registro(red[kRedDesc], kDescSize);
    if (twin == 0) return 0;
    const Descripcion t{n2, d.area, second.first_desc, d.next_of_area, d.kind};
    d.next_of_area = twin;
    if (!escriba_descripcion(red, twin, t) || !escriba_descripcion(red, n, d)) return 0;
    second.first_desc = twin;
  }
  at_from.to = node;
  at_to.arc = n2;
  at_to.from = node;
  const bool written = write_entry(red, la, at_from) && write_entry(red, lb, at_to) &&
                       escriba_arco(red, e, arc) && escriba_arco(red, n2, second);
  if (!written) return 0;
  // The split node read again: it may be an end of the arc itself.
  if (!lea_nodo_red(red, node, &split)) return 0;
  split.first_list = entry2;
  return escriba_nodo_red(red, node, split) ? n2 : 0;
}

}  // namespace cx
