// Deleting an area object with its description: borre_t3. Every link and
// index entry to change is found first; a damaged chain or index stops the
// deletion with everything as it was.
#include <cstring>

#include "frame/messages.h"
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

namespace cx {

namespace {

// The entry before `entry` on arc's chain (0: entry is the head), -1 when
// entry is not on it.
int32_t before_on_arc(const int16_t* red, const cx_arc& arc, int32_t entry) {
  const int32_t guard = ultimo_registro(red[kRedDesc], kDescSize);
  int32_t before = 0;
  for (int32_t n = arc.first_desc, steps = 0; n != 0 && steps <= guard; ++steps) {
    if (n == entry) return before;
    Descripcion d;
    if (!lea_descripcion(red, n, &d)) return -1;
    before = n;
    n = d.next_of_arc;
  }
  return -1;
}

}  // namespace

}  // namespace cx

CX_EXPORT(int16_t) borre_t3(int32_t a) {
  using namespace cx;
  const int16_t* red = red_de_areas("borre_t3");
  cx_area_object area{};
  if (!red || !lea_objeto_area(red, a, &area)) {
    informe_error("NO se encontro area %ld", static_cast<long>(a));
    return -1;
  }
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("error bloqueo..T3");
    return -1;
  }
  std::vector<std::pair<int32_t, Descripcion>> chain;
  if (!cadena_de_area(red, area.first_desc, SIZE_MAX, &chain)) return -1;
  for (const auto& [n, d] : chain) {
    cx_arc arc{};
    if (!lea_arco(red, d.arc, &arc) || before_on_arc(red, arc, n) < 0) {
      avise_error("ERROR eliminando lista t3A");
      return -1;
    }
  }
  unsigned char code[kKeySize], label[kKeySize];
  std::memcpy(code, area.code, kKeySize);
  const cx_kind* kind = registro_tipo(area.kind, "borre_t3");
  clave_espacial(area.x, area.y, kind ? kind->layer : area.state, label);
  if (!hay_entrada(red[kRedCodes], code, a) || !hay_entrada(red[kRedLabels], label, a)) {
    avise_error("Error en indice T3");
    return -1;
  }
  dibuje_objeto_area(red, a, 0);
  for (const auto& [n, d] : chain) {
    cx_arc arc{};
    if (!lea_arco(red, d.arc, &arc)) return -1;
    const int32_t before = before_on_arc(red, arc, n);
    if (before < 0) return -1;
    if (before == 0) {
      arc.first_desc = d.next_of_arc;
      if (!escriba_arco(red, d.arc, arc)) return -1;
    } else {
      Descripcion prev;
      if (!lea_descripcion(red, before, &prev)) return -1;
      prev.next_of_arc = d.next_of_arc;
      if (!escriba_descripcion(red, before, prev)) return -1;
    }
    devuelva_registro(red[kRedDesc], n, kDescSize);
  }
  if (indice_borre(red[kRedCodes], code, a) != 0 || indice_borre(red[kRedLabels], label, a) != 0)
    return -1;
  return devuelva_registro(red[kRedObjs], a, kAreaObjectSize) == 0 ? 0 : -1;
}
