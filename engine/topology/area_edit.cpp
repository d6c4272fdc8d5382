// Adding arcs to and removing them from the description of an area object:
// agregue_arco and retire_arco. A new entry goes to the head of both the
// arc's and the area's chain.
#include <cstring>

#include "frame/messages.h"
#include "records/edit_lock.h"
#include "records/record_file.h"
#include "session/session.h"
#include "topology/descriptions.h"
#include "topology/edit_support.h"

namespace cx {

namespace {

// The entry of arc in the chain, or 0.
int32_t entry_of(const std::vector<std::pair<int32_t, Descripcion>>& chain, int32_t arc) {
  for (const auto& [n, d] : chain)
    if (d.arc == arc) return n;
  return 0;
}

}  // namespace

int16_t agregue_arco_a(const int16_t* red, int32_t a, int32_t e) {
  cx_area_object area{};
  if (!lea_objeto_area(red, a, &area)) {
    informe_error("NO se encontro area %ld", static_cast<long>(a));
    return -1;
  }
  std::vector<std::pair<int32_t, Descripcion>> chain;
  if (!cadena_de_area(red, area.first_desc, SIZE_MAX, &chain)) return -1;
  if (entry_of(chain, e) != 0) {
    const cx_kind* kind = registro_tipo(sesion().settings[kCurrentKind], "agregue_arco");
    informe_error("Arco %ld ya esta en %s %.13s [%ld]", static_cast<long>(e),
                  kind ? kind->name : "", area.code, static_cast<long>(a));
    return -1;
  }
  cx_arc arc{};
  if (!lea_arco(red, e, &arc)) {
    informe_error("No se encontr\xf3 ARCO.. ");
    return -1;
  }
  const int32_t n = pida_registro(red[kRedDesc], kDescSize);
  if (n == 0) {
    informe_error("T3: ERROR AL PEDIR");
    return -1;
  }
  const Descripcion d{e, a, arc.first_desc, area.first_desc, area.kind};
  if (!escriba_descripcion(red, n, d)) return -1;
  area.first_desc = n;
  arc.first_desc = n;
  return escriba_objeto_area(red, a, area) && escriba_arco(red, e, arc) ? 0 : -1;
}

}  // namespace cx

CX_EXPORT(int16_t) agregue_arco(int32_t a, int32_t e) {
  using namespace cx;
  const int16_t* red = red_de_areas("agregue_arco");
  if (!red) return -1;
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("error bloqueo T3.");
    return -1;
  }
  return agregue_arco_a(red, a, e);
}

CX_EXPORT(int16_t) retire_arco(int32_t a, int32_t e) {
  using namespace cx;
  const int16_t* red = red_de_areas("retire_arco");
  if (!red) return -1;
  cx_area_object area{};
  if (!lea_objeto_area(red, a, &area)) {
    informe_error("NO se encontro area %ld", static_cast<long>(a));
    return -1;
  }
  if (e == 0) {
    avise_error("No se encontr\xf3 ARCO.. ");
    return -1;
  }
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("Error bloqueando T3");
    return -1;
  }
  std::vector<std::pair<int32_t, Descripcion>> by_area;
  if (!cadena_de_area(red, area.first_desc, SIZE_MAX, &by_area)) return -1;
  const int32_t entry = entry_of(by_area, e);
  if (entry == 0) {
    avise_error("Arco NO esta en area");
    return -1;
  }
  cx_arc arc{};
  if (!lea_arco(red, e, &arc)) return -1;
  // The arc's chain, walked by its own links; every link to change is
  // found before anything is written.
  int32_t before_in_arc = 0;
  bool found = false;
  const int32_t guard = ultimo_registro(red[kRedDesc], kDescSize);
  for (int32_t n = arc.first_desc, steps = 0; n != 0 && steps <= guard; ++steps) {
    if (n == entry) {
      found = true;
      break;
    }
    Descripcion d;
    if (!lea_descripcion(red, n, &d)) break;
    before_in_arc = n;
    n = d.next_of_arc;
  }
  if (!found) {
    avise_error("ERROR eliminando lista t3A");
    return -1;
  }
  Descripcion gone;
  if (!lea_descripcion(red, entry, &gone)) return -1;
  if (before_in_arc == 0) {
    arc.first_desc = gone.next_of_arc;
    if (!escriba_arco(red, e, arc)) return -1;
  } else {
    Descripcion d;
    if (!lea_descripcion(red, before_in_arc, &d)) return -1;
    d.next_of_arc = gone.next_of_arc;
    if (!escriba_descripcion(red, before_in_arc, d)) return -1;
  }
  int32_t before_in_area = 0;
  for (const auto& [n, d] : by_area) {
    if (n == entry) break;
    before_in_area = n;
  }
  if (before_in_area == 0) {
    area.first_desc = gone.next_of_area;
    if (!escriba_objeto_area(red, a, area)) return -1;
  } else {
    Descripcion d;
    if (!lea_descripcion(red, before_in_area, &d)) return -1;
    d.next_of_area = gone.next_of_area;
    if (!escriba_descripcion(red, before_in_area, d)) return -1;
  }
  if (devuelva_registro(red[kRedDesc], entry, kDescSize) != 0) return -1;
  avise("Ok.. arco sale");
  return 0;
}
