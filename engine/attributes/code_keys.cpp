// Code keys, rebuilt indexes and plain lookups over the base's B-tree.
#include "attributes/code_keys.h"

#include <cstring>
#include <string>

#include "frame/messages.h"
#include "platform/files.h"
#include "records/record_file.h"

namespace cx::atr {

void clave_de_texto(const char* text, int limit, unsigned char* key) {
  std::memset(key, 0, kClave);
  if (limit > kClave) limit = kClave;
  int n = 0;
  while (text && n < limit && text[n]) ++n;
  while (n > 0 && text[n - 1] == ' ') --n;
  if (n) std::memcpy(key, text, n);
}

int cree_indice(const char* path) {
  files().remove(resolve_path(path).c_str());
  int16_t unused = -1;
  const int handle = crear_archivo(&unused, path, kPageSize) == 0 ? indice_abra(path, nullptr) : -1;
  if (handle < 0) avise_error("Error creando indice..");
  return handle;
}

int32_t busque_codigo(int handle, const unsigned char* key) {
  CursorIndice cursor{};
  return handle >= 0 ? indice_busque(handle, key, &cursor) : 0;
}

}  // namespace cx::atr
