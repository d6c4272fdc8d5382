// Finding and deleting nodes and arcs of the current network: busque_nodo,
// del_nodo and borre_arco. A deletion finds every index entry and list link
// it must change before it changes any, so that a damaged index or list
// stops it with everything as it was.
#include <cmath>
#include <cstring>

#include "frame/messages.h"
#include "records/codec.h"
#include "records/edit_lock.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/btree.h"
#include "topology/descriptions.h"
#include "topology/drawers.h"
#include "topology/edit_support.h"
#include "topology/network_lists.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

// The entry of node's list that comes before `entry` (0 when entry is the
// head); -1 when entry is not on the list.
int32_t before_in_list(const int16_t* red, const cx_node& node, int32_t entry) {
  const int32_t guard = ultimo_registro(red[kRedLists], kListSize);
  int32_t before = 0;
  for (int32_t n = node.first_list, steps = 0; n != 0 && steps <= guard; ++steps) {
    if (n == entry) return before;
    unsigned char list[kListSize];
    if (lea_registro(red[kRedLists], list, n, kListSize) != 0) return -1;
    before = n;
    n = get_le32(list + 4);
  }
  return -1;
}

// Unlinks entry (after `before`, 0: the head) from node's list.
bool unlink(const int16_t* red, int32_t node_record, cx_node& node, int32_t before, int32_t entry) {
  unsigned char list[kListSize];
  if (lea_registro(red[kRedLists], list, entry, kListSize) != 0) return false;
  const int32_t next = get_le32(list + 4);
  if (before == 0) {
    node.first_list = next;
    unsigned char disk[kNodeSize];
    empaque(node, disk);
    return escriba_registro(red[kRedNodes], disk, node_record, kNodeSize) == 0;
  }
  unsigned char prev[kListSize];
  if (lea_registro(red[kRedLists], prev, before, kListSize) != 0) return false;
  put_le32(prev + 4, next);
  return escriba_registro(red[kRedLists], prev, before, kListSize) == 0;
}

}  // namespace

}  // namespace cx

CX_EXPORT(int32_t) busque_nodo(double x, double y) {
  using namespace cx;
  const int16_t* red = red_actual();
  if (!red) return 0;
  const double t = sesion().node_tolerance;
  ConsultaEspacial q;
  inicie_consulta(&q, x - t, y - t, x + t, y + t);
  unsigned char key[kKeySize];
  int32_t record = 0, best = 0;
  double best_d = t / 2;
  while (siguiente_hit(red[kRedNodeXY], &q, key, &record) == 1) {
    cx_node node{};
    if (!lea_nodo(red, record, &node)) continue;
    const double d = std::hypot(node.x - x, node.y - y);
    if (d < best_d || (best == 0 && d <= best_d)) {
      best = record;
      best_d = d;
    }
  }
  return best;
}

CX_EXPORT(int16_t) del_nodo(int32_t n) {
  using namespace cx;
  const int16_t* red = red_actual();
  cx_node node{};
  if (n < 1 || !red || !lea_nodo(red, n, &node)) {
    avise_error("NO se encontro nodo ");
    return -1;
  }
  if (node.first_list != 0) {
    informe_error("NO se puede eliminar. hay arcos (%ld)", static_cast<long>(node.first_list));
    return -1;
  }
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("Error bloqueando nodo");
    return -1;
  }
  unsigned char xy[kKeySize], code[kKeySize] = {};
  clave_de_nodo(node, xy);
  unsigned char disk[kNodeSize];
  empaque(node, disk);
  std::memcpy(code, disk, 11);
  const bool codes = red[kRedKind] == 2;
  if (!hay_entrada(red[kRedNodeXY], xy, n)) {
    avise_error("Error en indice  XYt2");
    return -1;
  }
  if (codes && !hay_entrada(red[kRedCodes], code, n)) {
    avise_error("Error en indice  Cod.nodos");
    return -1;
  }
  if (indice_borre(red[kRedNodeXY], xy, n) != 0 ||
      (codes && indice_borre(red[kRedCodes], code, n) != 0))
    return -1;
  dibuje_nodo(red, n, 0);
  return devuelva_registro(red[kRedNodes], n, kNodeSize) == 0 ? 0 : -1;
}

CX_EXPORT(int16_t) borre_arco(int32_t a, int32_t b, int32_t la, int32_t lb, int32_t e) {
  using namespace cx;
  if (a < 1 || b < 1 || la < 1 || lb < 1 || e < 1) return 0;
  const int16_t* red = red_actual();
  cx_arc arc{};
  cx_node from{}, to{};
  if (!red || !lea_arco(red, e, &arc) || !lea_nodo(red, a, &from) || !lea_nodo(red, b, &to)) {
    avise_error("No se encontr\xf3 ARCO.. ");
    return 0;
  }
  if (arc.first_desc != 0) {
    informe_error("No se borra: arco usado por algun area. (%ld)",
                  static_cast<long>(arc.first_desc));
    return 0;
  }
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("ERROR bloqueando arco");
    return 0;
  }
  const int32_t before_a = before_in_list(red, from, la);
  if (before_a < 0 || (a != b && before_in_list(red, to, lb) < 0)) {
    avise_error("ERROR DEL SISTEMA: Debe REGENERAR listas T2");
    return 0;
  }
  dibuje_arco(red, e, 0);
  if (!unlink(red, a, from, before_a, la)) return 0;
  // The second node read again: for an arc from a node to itself the first
  // unlink changed it.
  if (!lea_nodo(red, b, &to)) return 0;
  const int32_t before_b = before_in_list(red, to, lb);
  if (before_b < 0 || !unlink(red, b, to, before_b, lb)) return 0;
  devuelva_registro(red[kRedLists], la, kListSize);
  devuelva_registro(red[kRedLists], lb, kListSize);
  devuelva_registro(red[kRedArcs], e, kArcSize);
  return 0;
}
