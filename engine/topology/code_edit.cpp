// Changing the code of a T1 area (edit_co1, ZONAST3.INX and AREAS.DAT) or
// of an area object (edit_co3, the network's nodo.inx and objs.dat). A code
// already taken is refused; the old entry is found before it is replaced.
#include <cstring>

#include "frame/messages.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/btree.h"
#include "topology/descriptions.h"
#include "topology/edit_records.h"
#include "topology/edit_support.h"
#include "topology/network_lists.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

bool taken(int index, const unsigned char* code) {
  CursorIndice cursor{};
  if (indice_busque(index, code, &cursor) == 0) return false;
  avise_error("ERROR: ya existe codigo ");
  avise_error("cancelado...");
  return true;
}

}  // namespace

}  // namespace cx

CX_EXPORT(int16_t) edit_co1(int32_t r, const char* text, int16_t) {
  using namespace cx;
  const cx_layer* layer = registro_capa(sesion().settings[kCurrentLayer], "edit_co1");
  const ArchivosT0& t0 = archivos_t0();
  if (!layer || layer->kind != 1 || t0.areas < 0 || t0.zonast3 < 0) {
    avise_error("edit_co1: LA CAPA ACTUAL NO ES DE AREAS T1");
    return -1;
  }
  if (punteros_nulos("edit_co1", {text})) return -1;
  unsigned char code[kKeySize];
  codigo_de_capa(text, code);
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("Error:bloqueo T1");
    return -1;
  }
  if (taken(t0.zonast3, code)) return -1;
  cx_object object{};
  unsigned char disk[kAreaSize];
  const int32_t area = lea_t0(r, &object) ? object.area : 0;
  if (area < 1 || area > ultimo_registro(t0.areas, kAreaSize) ||
      lea_registro(t0.areas, disk, area, kAreaSize) != 0) {
    informe_error("edit_co1: OBJETO %ld NO ES BORDE DE AREA", static_cast<long>(r));
    return -1;
  }
  if (!hay_entrada(t0.zonast3, disk, area)) {
    avise_error("Error en indice Areas T1");
    return -1;
  }
  unsigned char old_code[kKeySize];
  std::memcpy(old_code, disk, kKeySize);
  std::memcpy(disk, code, kKeySize);
  if (!reindexe(t0.zonast3, old_code, code, area)) return -1;
  return escriba_registro(t0.areas, disk, area, kAreaSize) == 0 ? 0 : -1;
}

CX_EXPORT(int16_t) edit_co3(int32_t a, const char* text, int16_t) {
  using namespace cx;
  const int16_t* red = red_de_areas("edit_co3");
  if (!red || red[kRedCodes] < 0 || punteros_nulos("edit_co3", {text})) return -1;
  unsigned char code[kKeySize];
  codigo_de_capa(text, code);
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("Error:bloqueo T3");
    return -1;
  }
  if (taken(red[kRedCodes], code)) return -1;
  cx_area_object area{};
  if (!lea_objeto_area(red, a, &area)) {
    informe_error("NO se encontro area %ld", static_cast<long>(a));
    return -1;
  }
  unsigned char old_code[kKeySize];
  std::memcpy(old_code, area.code, kKeySize);
  if (!hay_entrada(red[kRedCodes], old_code, a)) {
    avise_error("Error en indice Areas T3");
    return -1;
  }
  std::memcpy(area.code, code, kKeySize);
  if (!reindexe(red[kRedCodes], old_code, code, a)) return -1;
  return escriba_objeto_area(red, a, area) ? 0 : -1;
}
