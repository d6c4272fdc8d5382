// Moving and turning a node with its index entry (regrabe_nodo; its arcs
// follow, being drawn from their end nodes) and an area object's label
// point (resitue_t3). The old entry is found before anything changes.
#include <cmath>

#include "frame/messages.h"
#include "session/session.h"
#include "topology/btree.h"
#include "topology/descriptions.h"
#include "topology/drawers.h"
#include "topology/edit_records.h"
#include "topology/edit_support.h"
#include "topology/network_lists.h"
#include "topology/spatial.h"

namespace cx {

namespace {

constexpr double kTenthsPerRadian = 572.9577951308232;

int16_t tenths(double radians) {
  return static_cast<int16_t>(std::lround(radians * kTenthsPerRadian));
}

void draw_node_and_arcs(const int16_t* red, int32_t n, int colour) {
  for (int32_t arc : arcos_de_nodo(red, n)) dibuje_arco(red, arc, colour);
  dibuje_nodo(red, n, colour);
}

}  // namespace

}  // namespace cx

CX_EXPORT(int16_t) regrabe_nodo(int32_t n, double x, double y, double angle) {
  using namespace cx;
  const int16_t* red = red_actual();
  if (!red) {
    avise_error("NO se encontro nodo ");
    return -1;
  }
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("Error bloqueando Nodo");
    return -1;
  }
  cx_node node{};
  if (!lea_nodo(red, n, &node)) {
    avise_error("NO se encontro nodo ");
    return -1;
  }
  unsigned char old_key[kKeySize], new_key[kKeySize];
  clave_de_nodo(node, old_key);
  if (!hay_entrada(red[kRedNodeXY], old_key, n)) {
    avise_error("Error en indice xyt2");
    return -1;
  }
  draw_node_and_arcs(red, n, 0);
  node.x = x;
  node.y = y;
  node.rotation = tenths(angle);
  clave_de_nodo(node, new_key);
  if (!reindexe(red[kRedNodeXY], old_key, new_key, n)) return -1;
  if (!escriba_nodo(red, n, node)) return -1;
  draw_node_and_arcs(red, n, kKindColour);
  return 0;
}

CX_EXPORT(int16_t) resitue_t3(int32_t a, double x, double y, double angle) {
  using namespace cx;
  const int16_t* red = red_de_areas("resitue_t3");
  if (!red || red[kRedLabels] < 0) return -1;
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("Error de Bloqueo.T0");
    return -1;
  }
  cx_area_object area{};
  if (!lea_objeto_area(red, a, &area)) {
    informe_error("NO se encontro area %ld", static_cast<long>(a));
    return -1;
  }
  unsigned char old_key[kKeySize], new_key[kKeySize];
  clave_de_tipo(area.x, area.y, area.kind, area.state, old_key);
  if (!hay_entrada(red[kRedLabels], old_key, a)) {
    avise_error("Error en indice espacial..T0");
    return -1;
  }
  dibuje_objeto_area(red, a, 0);
  area.x = x;
  area.y = y;
  area.rotation = tenths(angle);
  clave_de_tipo(x, y, area.kind, area.state, new_key);
  if (!reindexe(red[kRedLabels], old_key, new_key, a)) return -1;
  if (!escriba_objeto_area(red, a, area)) return -1;
  dibuje_objeto_area(red, a, kKindColour);
  return 0;
}
