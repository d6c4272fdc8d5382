// New nodes, arcs and area objects of a network: grabe_nodo, grabe_arco and
// grabe_t3. The nodes and arcs go to the network whose handle record (as
// get_red gives it) the host passes; area objects to the current network.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "frame/messages.h"
#include "records/blocks.h"
#include "records/codec.h"
#include "records/edit_lock.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/btree.h"
#include "topology/descriptions.h"
#include "topology/edit_support.h"
#include "topology/network_lists.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"
#include "topology/writers.h"

namespace cx {

namespace {

constexpr int kListSize = 16;

bool handles_open(const int16_t* red, std::initializer_list<int> slots, const char* caller) {
  for (int slot : slots) {
    if (red[slot] < 0) {
      informe_error("%s: RED NO ABIERTA", caller);
      return false;
    }
  }
  return true;
}

// Node record n of the network, packed; false when n is not one.
bool read_node(int handle, int32_t n, unsigned char* disk, const char* caller) {
  if (n < 1 || n > ultimo_registro(handle, kNodeSize)) {
    informe_error("%s: NODO %ld NO EXISTE", caller, static_cast<long>(n));
    return false;
  }
  return lea_registro(handle, disk, n, kNodeSize) == 0;
}

// Puts arc n at the head of node's arc list.
bool link_arc(const int16_t* red, int32_t node, int32_t arc, int32_t from, int32_t to) {
  unsigned char disk[kNodeSize];
  if (!read_node(red[kRedNodes], node, disk, "grabe_arco")) return false;
  const int32_t entry = pida_registro(red[kRedLists], kListSize);
  if (entry == 0) {
    informe_error("ERROR en lista T2");
    return false;
  }
  unsigned char list[kListSize];
  put_le32(list, arc);
  put_le32(list + 4, get_le32(disk + 42));
  put_le32(list + 8, from);
  put_le32(list + 12, to);
  if (escriba_registro(red[kRedLists], list, entry, kListSize) != 0) return false;
  put_le32(disk + 42, entry);
  return escriba_registro(red[kRedNodes], disk, node, kNodeSize) == 0;
}

// The code of an area object: the current layer's two prefix digits, then
// the kind's part of the host's texts.
void area_code(const cx_kind& kind, const char* code1, const char* code2, unsigned char* code) {
  std::memset(code, 0, kKeySize);
  const cx_layer* layer = registro_capa(sesion().settings[kCurrentLayer], "grabe_t3");
  for (int i = 0; i < 2; ++i)
    code[i] = static_cast<unsigned char>('0' + (layer ? layer->code_prefix[i] % 10 : 0));
  const bool street = kind.code_form == 1;
  const char* text = street ? code2 : code1;
  const std::size_t limit = street ? 10 : 11;
  if (text) std::memcpy(code + 2, text, strnlen(text, limit));
}

}  // namespace

}  // namespace cx

CX_EXPORT(int32_t)
grabe_nodo(const cx_node* node, const cx_object* object, int32_t, int32_t, int32_t,
           const int16_t* red) {
  using namespace cx;
  if (punteros_nulos("grabe_nodo", {node, object, red})) return 0;
  const cx_kind* kind = tipo_valido(object->kind, "grabe_nodo");
  if (!kind || !handles_open(red, {kRedNodes, kRedNodeXY, kRedCodes}, "grabe_nodo")) return 0;
  cx_object t0 = *object;
  t0.layer = kind->layer;
  unsigned char disk[kNodeSize] = {};
  disk[0] = node->code_prefix;
  std::memcpy(disk + 1, node->code, sizeof node->code);
  empaque(t0, disk + 11);
  const int32_t n = pida_registro(red[kRedNodes], kNodeSize);
  if (n == 0) {
    informe_error("NODO T2: ERROR AL PEDIR");
    return 0;
  }
  if (escriba_registro(red[kRedNodes], disk, n, kNodeSize) != 0) return 0;
  if (red[9] == 2) {
    unsigned char code[kKeySize] = {};
    std::memcpy(code, disk, 11);
    if (indice_inserte(red[kRedCodes], code, n) != 0) return 0;
  }
  unsigned char key[kKeySize];
  clave_espacial(t0.x, t0.y, kind->layer, key);
  return indice_inserte(red[kRedNodeXY], key, n) == 0 ? n : 0;
}

CX_EXPORT(int32_t)
grabe_arco(const cx_arc* arc, const cx_object* object, const double* x, const double* y, int32_t,
           const int16_t* red) {
  using namespace cx;
  if (punteros_nulos("grabe_arco", {arc, object, x, y, red})) return 0;
  if (!tipo_valido(object->kind, "grabe_arco") ||
      !handles_open(red, {kRedNodes, kRedArcs, kRedLists, kRedPoints}, "grabe_arco"))
    return 0;
  const int32_t count = object->count;
  if (unidades_bloque(0, count, "grabe_arco") < 0) return 0;
  unsigned char node[kNodeSize];
  if (!read_node(red[kRedNodes], arc->from_node, node, "grabe_arco") ||
      !read_node(red[kRedNodes], arc->to_node, node, "grabe_arco"))
    return 0;

  unsigned char disk[kArcSize] = {};
  empaque(*object, disk);
  const double xmin = *std::min_element(x, x + count + 2);
  const double ymin = *std::min_element(y, y + count + 2);
  const double xmax = *std::max_element(x, x + count + 2);
  put_f64(disk + 3, xmin);
  put_f64(disk + 11, ymin);
  put_le16(disk + 19, static_cast<int16_t>(std::trunc((xmax - xmin) * 0.0004)));
  put_le32(disk + 21, 0);
  put_le32(disk + 31, arc->from_node);
  disk[35] = arc->from_flag;
  put_le32(disk + 36, arc->to_node);
  disk[40] = arc->to_flag;

  const int32_t n = pida_registro(red[kRedArcs], kArcSize);
  if (n == 0) {
    informe_error("ARCO: ERROR AL PEDIR");
    return 0;
  }
  if (count > 0) {
    const int32_t offset = pida_bloque(red[kRedPoints], count);
    if (offset < 0 || grabe_puntos(red[kRedPoints], offset, x + 1, y + 1, count) != 0) return 0;
    put_le32(disk + 21, offset);
  }
  if (escriba_registro(red[kRedArcs], disk, n, kArcSize) != 0) return 0;
  if (!link_arc(red, arc->from_node, n, arc->from_node, arc->to_node) ||
      !link_arc(red, arc->to_node, n, arc->from_node, arc->to_node))
    return 0;
  return n;
}

CX_EXPORT(int32_t) grabe_t3(const char* code1, const char* code2, const cx_object* object) {
  using namespace cx;
  if (punteros_nulos("grabe_t3", {object})) return 0;
  const Red* network = red(sesion().current_network);
  if (!network || network->handles[kRedKind] != 3) {
    informe_error("grabe_t3: LA CAPA ACTUAL NO ES DE AREAS");
    return 0;
  }
  const int16_t* h = network->handles;
  const cx_kind* kind = tipo_valido(object->kind, "grabe_t3");
  if (!kind || !handles_open(h, {kRedObjs, kRedLabels, kRedCodes}, "grabe_t3")) return 0;
  unsigned char disk[kAreaObjectSize] = {};
  area_code(*kind, code1, code2, disk);
  empaque(*object, disk + 13);
  const CerrojoEdicion lock;
  if (!lock.taken) {
    informe_error("Error de Bloqueo T3");
    return 0;
  }
  const int32_t n = pida_registro(h[kRedObjs], kAreaObjectSize);
  if (n == 0) {
    informe_error("T3: ERROR AL PEDIR");
    return 0;
  }
  if (escriba_registro(h[kRedObjs], disk, n, kAreaObjectSize) != 0 ||
      indice_inserte(h[kRedCodes], disk, n))
    return 0;
  unsigned char key[kKeySize];
  clave_espacial(object->x, object->y, kind->layer, key);
  return indice_inserte(h[kRedLabels], key, n) == 0 ? n : 0;
}
