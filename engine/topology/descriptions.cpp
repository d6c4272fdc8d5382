// Reading and writing the records of area descriptions.
#include "topology/descriptions.h"

#include "frame/messages.h"
#include "records/codec.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

bool in_file(int handle, int32_t n, int32_t size) {
  return handle >= 0 && n >= 1 && n <= ultimo_registro(handle, size);
}

}  // namespace

const int16_t* red_de_areas(const char* caller) {
  const Red* network = red(sesion().current_network);
  if (!network || network->handles[kRedKind] != 3 || network->handles[kRedDesc] < 0 ||
      network->handles[kRedObjs] < 0 || network->handles[kRedArcs] < 0) {
    informe_error("%s: LA CAPA ACTUAL NO ES DE AREAS", caller);
    return nullptr;
  }
  return network->handles;
}

bool lea_arco(const int16_t* red, int32_t n, cx_arc* arc) {
  unsigned char disk[kArcSize];
  if (!in_file(red[kRedArcs], n, kArcSize) || lea_registro(red[kRedArcs], disk, n, kArcSize) != 0)
    return false;
  desempaque(disk, arc);
  return true;
}

bool lea_objeto_area(const int16_t* red, int32_t n, cx_area_object* area) {
  unsigned char disk[kAreaObjectSize];
  if (!in_file(red[kRedObjs], n, kAreaObjectSize) ||
      lea_registro(red[kRedObjs], disk, n, kAreaObjectSize) != 0)
    return false;
  desempaque(disk, area);
  return true;
}

bool escriba_arco(const int16_t* red, int32_t n, const cx_arc& arc) {
  unsigned char disk[kArcSize];
  empaque(arc, disk);
  return escriba_registro(red[kRedArcs], disk, n, kArcSize) == 0;
}

bool escriba_objeto_area(const int16_t* red, int32_t n, const cx_area_object& area) {
  unsigned char disk[kAreaObjectSize];
  empaque(area, disk);
  return escriba_registro(red[kRedObjs], disk, n, kAreaObjectSize) == 0;
}

bool lea_descripcion(const int16_t* red, int32_t n, Descripcion* d) {
  unsigned char disk[kDescSize];
  if (!in_file(red[kRedDesc], n, kDescSize) || lea_registro(red[kRedDesc], disk, n, kDescSize) != 0)
    return false;
  d->arc = get_le32(disk);
  d->area = get_le32(disk + 4);
  d->next_of_arc = get_le32(disk + 8);
  d->next_of_area = get_le32(disk + 12);
  d->kind = get_le16(disk + 16);
  return true;
}

bool escriba_descripcion(const int16_t* red, int32_t n, const Descripcion& d) {
  unsigned char disk[kDescSize];
  put_le32(disk, d.arc);
  put_le32(disk + 4, d.area);
  put_le32(disk + 8, d.next_of_arc);
  put_le32(disk + 12, d.next_of_area);
  put_le16(disk + 16, d.kind);
  return escriba_registro(red[kRedDesc], disk, n, kDescSize) == 0;
}

bool cadena_de_area(const int16_t* red, int32_t head, std::size_t limit,
                    std::vector<std::pair<int32_t, Descripcion>>* out) {
  out->clear();
  const std::size_t guard = static_cast<std::size_t>(ultimo_registro(red[kRedDesc], kDescSize));
  for (int32_t n = head; n != 0 && out->size() < limit && out->size() <= guard;) {
    Descripcion d;
    if (!lea_descripcion(red, n, &d)) {
      informe_error("DESCRIPCION %ld NO EXISTE", static_cast<long>(n));
      return false;
    }
    out->push_back({n, d});
    n = d.next_of_area;
  }
  return true;
}

bool puntos_de_arco(const int16_t* red, const cx_arc& arc, std::vector<double>* x,
                    std::vector<double>* y) {
  unsigned char disk[kNodeSize];
  cx_node from{}, to{};
  if (!in_file(red[kRedNodes], arc.from_node, kNodeSize) ||
      lea_registro(red[kRedNodes], disk, arc.from_node, kNodeSize) != 0)
    return false;
  desempaque(disk, &from);
  if (!in_file(red[kRedNodes], arc.to_node, kNodeSize) ||
      lea_registro(red[kRedNodes], disk, arc.to_node, kNodeSize) != 0)
    return false;
  desempaque(disk, &to);
  const int32_t inner = arc.count > 0 && arc.block > 0 ? arc.count : 0;
  x->assign(static_cast<std::size_t>(inner) + 2, 0);
  y->assign(static_cast<std::size_t>(inner) + 2, 0);
  (*x)[0] = from.x;
  (*y)[0] = from.y;
  if (inner > 0 &&
      lea_coord(red[5], arc.block, x->data() + 1, y->data() + 1, static_cast<int16_t>(inner)) != 0)
    return false;
  x->back() = to.x;
  y->back() = to.y;
  return true;
}

}  // namespace cx
