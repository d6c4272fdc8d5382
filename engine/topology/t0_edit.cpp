// Rewriting and deleting T0 objects: regrabe_poli and regrabe_texto give an
// object a new block (the old one stays in COORDEN.DAT, the anchor and its
// index entry are unchanged); del_t0 and del_t1 delete an object, and an
// area with its outline, once every index entry to remove is found.
#include <algorithm>
#include <cstring>
#include <string>

#include "frame/messages.h"
#include "records/blocks.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/btree.h"
#include "topology/drawers.h"
#include "topology/edit_records.h"
#include "topology/edit_support.h"
#include "topology/edits.h"
#include "topology/topology_files.h"
#include "topology/writers.h"

namespace cx {

namespace {

constexpr std::size_t kMaxText = 255;

// The T0 object r and its kind's geometry; -1 after "<caller>: OBJETO %ld
// NO EXISTE".
int geometry_of(int32_t r, cx_object* object, const char* caller) {
  const cx_kind* kind = nullptr;
  if (!lea_t0(r, object) || !(kind = registro_tipo(object->kind, caller))) {
    informe_error("%s: OBJETO %ld NO EXISTE", caller, static_cast<long>(r));
    return -1;
  }
  return kind->geometry;
}

// Gives object r, read again now that the lock is held, the new block and
// draws it in the colour of the current object kind (the old shape erased
// first).
int16_t rewrite(int32_t r, int32_t block, int16_t count) {
  cx_object object{};
  if (!lea_t0(r, &object)) return 0;
  object.block = block;
  object.count = count;
  dibuje_t0(r, 0);
  if (!escriba_t0_registro(r, object)) return 0;
  const cx_kind* current = registro_tipo(sesion().settings[kCurrentKind], "regrabe");
  dibuje_t0(r, current ? current->colour : kKindColour);
  return 0;
}

// The index entries of a T0 object and of the area it outlines.
struct T0Keys {
  unsigned char spatial[kKeySize];
  unsigned char code[kKeySize];
  int32_t area = 0;
};

// The code key of T1 area n, when ZONAST3.INX holds it for n.
bool area_keys(int32_t n, T0Keys* keys) {
  const ArchivosT0& t0 = archivos_t0();
  unsigned char disk[kAreaSize];
  if (t0.areas < 0 || t0.zonast3 < 0 || n < 1 || n > ultimo_registro(t0.areas, kAreaSize) ||
      lea_registro(t0.areas, disk, n, kAreaSize) != 0)
    return false;
  std::memcpy(keys->code, disk, kKeySize);
  keys->area = n;
  return hay_entrada(t0.zonast3, keys->code, n);
}

}  // namespace

// Deletes T0 object r and, with area, the T1 area it outlines.
static int16_t delete_t0(int32_t r, bool area, const char* lock_message) {
  const ArchivosT0& t0 = archivos_t0();
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error(lock_message);
    return -1;
  }
  cx_object object{};
  if (t0.cuadt0 < 0 || !lea_t0(r, &object)) {
    informe_error("%s: OBJETO %ld NO EXISTE", area ? "del_t1" : "del_t0", static_cast<long>(r));
    return -1;
  }
  T0Keys keys;
  clave_de_tipo(object.x, object.y, object.kind, object.layer, keys.spatial);
  if (!hay_entrada(t0.cuadt0, keys.spatial, r)) {
    avise_error(area ? "Error eliminando- I. espacial t1" : "Error eliminando i. espacial");
    return -1;
  }
  if (area && !area_keys(object.area, &keys)) {
    avise_error("Error eliminando- I. areas t1");
    return -1;
  }
  dibuje_t0(r, 0);
  if (indice_borre(t0.cuadt0, keys.spatial, r) != 0) return -1;
  if (area && (indice_borre(t0.zonast3, keys.code, keys.area) != 0 ||
               devuelva_registro(t0.areas, keys.area, kAreaSize) != 0))
    return -1;
  return devuelva_registro(t0.objetos, r, kObjectSize) == 0 ? 0 : -1;
}

int16_t borre_t0(int32_t r) {
  return delete_t0(r, false, "Error bloqueo - T0");
}

int16_t borre_t1(int32_t r) {
  return delete_t0(r, true, "Error bloqueo - T1-");
}

}  // namespace cx

CX_EXPORT(int16_t) regrabe_poli(int32_t r, const double* x, const double* y, int16_t n) {
  using namespace cx;
  cx_object object{};
  const int geometry = geometry_of(r, &object, "regrabe_poli");
  if (geometry < 0) return 0;
  if (!es_lista_de_puntos(geometry)) {
    informe_error("regrabe_poli: EL OBJETO %ld NO ES UNA LISTA DE PUNTOS", static_cast<long>(r));
    return 0;
  }
  const int32_t count = std::max<int32_t>(n, 0);
  if (count > 0 && (unidades_bloque(geometry, count, "regrabe_poli") < 0 ||
                    punteros_nulos("regrabe_poli", {x, y})))
    return 0;
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("Error de Bloqueo.T0");
    return 0;
  }
  int32_t offset = 0;
  if (count > 0) {
    offset = pida_bloque(archivos_t0().coorden, count);
    if (offset < 0 || grabe_puntos(archivos_t0().coorden, offset, x, y, count) != 0) return 0;
  }
  return rewrite(r, offset, static_cast<int16_t>(count));
}

CX_EXPORT(int16_t) regrabe_texto(int32_t r, const char* text) {
  using namespace cx;
  cx_object object{};
  const int geometry = geometry_of(r, &object, "regrabe_texto");
  if (geometry < 0 || punteros_nulos("regrabe_texto", {text})) return 0;
  if (geometry != kGeometryText) {
    informe_error("regrabe_texto: EL OBJETO %ld NO ES UN TEXTO", static_cast<long>(r));
    return 0;
  }
  const std::string kept(text, strnlen(text, kMaxText));
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("Error de Bloqueo.T0");
    return 0;
  }
  const int32_t bytes = static_cast<int32_t>(kept.size()) + 1;
  const int32_t offset = pida_bloque(archivos_t0().coorden, unidades_texto(bytes - 1));
  if (offset < 0 || esc_bytes(archivos_t0().coorden, offset, kept.c_str(), bytes) != 0) return 0;
  return rewrite(r, offset, static_cast<int16_t>(bytes));
}

CX_EXPORT(int16_t) del_t0(int32_t r) {
  return cx::borre_t0(r);
}

CX_EXPORT(int16_t) del_t1(int32_t r) {
  return cx::borre_t1(r);
}
