// Quiet record access for the edits.
#include "topology/edit_records.h"

#include <cstring>

#include "records/codec.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/descriptions.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

bool read(int handle, int32_t n, unsigned char* disk, int32_t size) {
  return handle >= 0 && n >= 1 && n <= ultimo_registro(handle, size) &&
         lea_registro(handle, disk, n, size) == 0 && get_le32(disk) != -1;
}

}  // namespace

bool lea_t0(int32_t n, cx_object* object) {
  unsigned char disk[kObjectSize];
  if (!read(archivos_t0().objetos, n, disk, kObjectSize)) return false;
  desempaque(disk, object);
  return true;
}

bool escriba_t0_registro(int32_t n, const cx_object& object) {
  unsigned char disk[kObjectSize];
  empaque(object, disk);
  return escriba_registro(archivos_t0().objetos, disk, n, kObjectSize) == 0;
}

void clave_de_tipo(double x, double y, int kind, int fallback, unsigned char* key) {
  const Sesion& s = sesion();
  const bool known = kind >= 0 && kind <= s.kind_count && !s.kinds.empty();
  clave_espacial(x, y, known ? s.kinds[static_cast<std::size_t>(kind)].layer : fallback, key);
}

bool reindexe(int index, const unsigned char* old_key, const unsigned char* key, int32_t n) {
  if (indice_inserte(index, key, n) != 0) return false;
  if (indice_borre(index, old_key, n) == 0) return true;
  indice_borre(index, key, n);
  return false;
}

void codigo_de_capa(const char* text, unsigned char* code) {
  std::memset(code, 0, kKeySize);
  const cx_layer* layer = registro_capa(sesion().settings[kCurrentLayer], "codigo");
  for (int i = 0; i < 2; ++i)
    code[i] = static_cast<unsigned char>('0' + (layer ? layer->code_prefix[i] % 10 : 0));
  if (text) std::memcpy(code + 2, text, strnlen(text, 11));
}

}  // namespace cx
