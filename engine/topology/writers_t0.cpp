// New T0 objects and T1 areas: grabe_t0 and grabe_t1.
#include <algorithm>
#include <cstring>

#include "frame/messages.h"
#include "records/blocks.h"
#include "records/codec.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/btree.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"
#include "topology/writers.h"

namespace cx {

bool es_lista_de_puntos(int geometry) {
  return geometry == 0 || geometry == 5 || geometry == 6 || geometry == 8 || geometry == 9;
}

const cx_kind* tipo_valido(int kind, const char* caller) {
  Sesion& s = sesion();
  if (kind >= 1 && kind <= s.kind_count && !s.kinds.empty()) return &s.kinds[kind];
  informe_error("%s: TIPO DE OBJETO %d NO EXISTE (hay %ld tipos)", caller, kind,
                static_cast<long>(s.kind_count));
  return nullptr;
}

int32_t unidades_bloque(int geometry, int32_t count, const char* caller) {
  if (count < 0) {
    informe_error("%s: CANTIDAD NEGATIVA %ld", caller, static_cast<long>(count));
    return -1;
  }
  const int32_t units = geometry == kGeometryText ? unidades_texto(count - 1) : count;
  if (units > kMaxBlockUnits) {
    informe_error("%s: %ld UNIDADES NO CABEN EN UN BLOQUE (maximo %d)", caller,
                  static_cast<long>(units), kMaxBlockUnits);
    return -1;
  }
  return units;
}

int32_t escriba_t0(cx_object& object, const double* x, const double* y, const char* text,
                   const char* caller) {
  const cx_kind* kind = tipo_valido(object.kind, caller);
  if (!kind) return 0;
  const int geometry = kind->geometry;
  int32_t units = 0;
  if (geometry == kGeometryText) {
    if (punteros_nulos(caller, {text})) return 0;
    const std::size_t length = std::strlen(text);
    units = unidades_bloque(geometry,
                            static_cast<int32_t>(std::min<std::size_t>(length, 65535)) + 1, caller);
    if (units < 0) return 0;
    object.count = static_cast<int16_t>(length + 1);
  } else if (es_lista_de_puntos(geometry)) {
    units = unidades_bloque(geometry, object.count, caller);
    if (units < 0 || (object.count > 0 && punteros_nulos(caller, {x, y}))) return 0;
  }
  object.block = 0;

  const ArchivosT0& files = archivos_t0();
  const int32_t n = pida_registro(files.objetos, kObjectSize);
  if (n == 0) {
    informe_error("T0: ERROR AL PEDIR");
    return 0;
  }
  if (units > 0) {
    const int32_t offset = pida_bloque(files.coorden, units);
    if (offset < 0) return 0;
    const bool written = geometry == kGeometryText
                             ? esc_bytes(files.coorden, offset, text, object.count) == 0
                             : grabe_puntos(files.coorden, offset, x, y, object.count) == 0;
    if (!written) return 0;
    object.block = offset;
  }
  unsigned char disk[kObjectSize];
  empaque(object, disk);
  if (escriba_registro(files.objetos, disk, n, kObjectSize) != 0) return 0;
  unsigned char key[kKeySize];
  clave_espacial(object.x, object.y, kind->layer, key);
  if (indice_inserte(files.cuadt0, key, n) != 0) {
    devuelva_registro(files.objetos, n, kObjectSize);
    return 0;
  }
  return n;
}

}  // namespace cx

CX_EXPORT(int32_t)
grabe_t0(const cx_object* object, const double* x, const double* y, const char* text) {
  if (cx::punteros_nulos("grabe_t0", {object})) return 0;
  cx_object copy = *object;
  return cx::escriba_t0(copy, x, y, text, "grabe_t0");
}

CX_EXPORT(int32_t)
grabe_t1(const uint8_t* area, cx_object* object, const double* x, const double* y,
         const char* text) {
  using namespace cx;
  if (punteros_nulos("grabe_t1", {area, object})) return 0;
  const ArchivosT0& files = archivos_t0();
  const int32_t n = pida_registro(files.areas, kAreaSize);
  if (n == 0) {
    informe_error("T1: ERROR AL PEDIR");
    return 0;
  }
  object->area = n;
  const int32_t outline = escriba_t0(*object, x, y, text, "grabe_t1");
  if (outline == 0) {
    object->area = 0;
    return 0;
  }
  unsigned char disk[kAreaSize];
  std::memcpy(disk, area, kAreaSize);
  const cx_layer* layer = registro_capa(sesion().settings[kCurrentLayer], "grabe_t1");
  for (int i = 0; i < 2; ++i)
    disk[i] = static_cast<unsigned char>('0' + (layer ? layer->code_prefix[i] % 10 : 0));
  put_le32(disk + 13, outline);
  if (escriba_registro(files.areas, disk, n, kAreaSize) != 0 ||
      indice_inserte(files.zonast3, disk, n) != 0)
    return 0;
  return n;
}
