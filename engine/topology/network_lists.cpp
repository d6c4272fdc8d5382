// Nodes and arc lists of a network.
#include "topology/network_lists.h"

#include "frame/messages.h"
#include "records/codec.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/descriptions.h"
#include "topology/edit_records.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"

namespace cx {

const int16_t* red_actual() {
  const Red* network = red(sesion().current_network);
  if (!network || network->handles[kRedNodes] < 0 || network->handles[kRedArcs] < 0 ||
      network->handles[kRedNodeXY] < 0 || network->handles[kRedLists] < 0)
    return nullptr;
  return network->handles;
}

bool lea_nodo(const int16_t* red, int32_t n, cx_node* node) {
  unsigned char disk[kNodeSize];
  if (n < 1 || n > ultimo_registro(red[kRedNodes], kNodeSize) ||
      lea_registro(red[kRedNodes], disk, n, kNodeSize) != 0 || get_le32(disk) == -1)
    return false;
  desempaque(disk, node);
  return true;
}

bool escriba_nodo(const int16_t* red, int32_t n, const cx_node& node) {
  unsigned char disk[kNodeSize];
  empaque(node, disk);
  return escriba_registro(red[kRedNodes], disk, n, kNodeSize) == 0;
}

bool lea_entrada(const int16_t* red, int32_t n, EntradaLista* e) {
  unsigned char disk[kListSize];
  if (n < 1 || n > ultimo_registro(red[kRedLists], kListSize) ||
      lea_registro(red[kRedLists], disk, n, kListSize) != 0)
    return false;
  e->arc = get_le32(disk);
  e->next = get_le32(disk + 4);
  e->from = get_le32(disk + 8);
  e->to = get_le32(disk + 12);
  return true;
}

bool escriba_entrada(const int16_t* red, int32_t n, const EntradaLista& e) {
  unsigned char disk[kListSize];
  put_le32(disk, e.arc);
  put_le32(disk + 4, e.next);
  put_le32(disk + 8, e.from);
  put_le32(disk + 12, e.to);
  return escriba_registro(red[kRedLists], disk, n, kListSize) == 0;
}

bool lista_de_nodo(const int16_t* red, const cx_node& node,
                   std::vector<std::pair<int32_t, EntradaLista>>* out) {
  out->clear();
  const auto guard = static_cast<std::size_t>(ultimo_registro(red[kRedLists], kListSize));
  for (int32_t n = node.first_list; n != 0 && out->size() <= guard;) {
    EntradaLista e;
    if (!lea_entrada(red, n, &e)) return false;
    out->push_back({n, e});
    n = e.next;
  }
  return true;
}

int32_t entrada_de_arco(const int16_t* red, int32_t node, int32_t arc, int32_t other) {
  cx_node n{};
  std::vector<std::pair<int32_t, EntradaLista>> list;
  if (!lea_nodo(red, node, &n) || !lista_de_nodo(red, n, &list)) return 0;
  for (const auto& [entry, e] : list)
    if (e.arc == arc && entry != other) return entry;
  return 0;
}

int32_t arco_entre(const int16_t* red, int32_t a, int32_t b, int32_t* entry_a, int32_t* entry_b) {
  *entry_a = *entry_b = 0;
  cx_node node{};
  std::vector<std::pair<int32_t, EntradaLista>> list;
  if (!lea_nodo(red, a, &node) || !lista_de_nodo(red, node, &list)) return 0;
  for (const auto& [entry, e] : list) {
    cx_arc arc{};
    if (!lea_arco(red, e.arc, &arc)) continue;
    if (!((arc.from_node == a && arc.to_node == b) || (arc.from_node == b && arc.to_node == a)))
      continue;
    const int32_t at_b = entrada_de_arco(red, b, e.arc, a == b ? entry : 0);
    if (at_b == 0) {
      avise_error("ERROR DEL SISTEMA: Debe REGENERAR listas T2");
      return -1;
    }
    *entry_a = entry;
    *entry_b = at_b;
    return e.arc;
  }
  return 0;
}

void clave_de_nodo(const cx_node& node, unsigned char* key) {
  clave_de_tipo(node.x, node.y, node.kind, node.state, key);
}

bool tipo_dibujado(int kind) {
  const Sesion& s = sesion();
  if (kind < 0 || kind > s.kind_count) return true;
  const cx_kind& k = s.kinds[static_cast<std::size_t>(kind)];
  if (k.hidden) return false;
  return !(k.layer >= 1 && k.layer <= s.layer_count && s.layers[k.layer].hidden);
}

}  // namespace cx
