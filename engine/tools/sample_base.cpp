// The sample base.
#include "tools/sample_base.h"

#include <algorithm>
#include <cstring>

#include "cartex32.h"
#include "records/blocks.h"
#include "records/edit_lock.h"
#include "records/record_file.h"

namespace cx {

namespace {

// Copies `text` into a zeroed field, keeping its last byte for the NUL.
template <size_t N>
void copy_text(char (&field)[N], const char* text) {
  std::memcpy(field, text, std::min(std::strlen(text), N - 1));
}

cx_layer layer(const char* name, int kind, const char* prefix, int digit1, int digit2) {
  cx_layer l{};
  copy_text(l.name, name);
  l.attributes[0] = 8;
  l.attributes[1] = 1;
  l.attributes[2] = 1;
  l.kind = static_cast<uint8_t>(kind);
  l.code_prefix[0] = static_cast<uint8_t>(digit1);
  l.code_prefix[1] = static_cast<uint8_t>(digit2);
  copy_text(l.network_prefix, prefix);
  return l;
}

cx_kind kind(const char* name, int colour, int geometry, int layer_number) {
  cx_kind k{};
  copy_text(k.name, name);
  k.colour = static_cast<uint8_t>(colour);
  k.geometry = static_cast<uint8_t>(geometry);
  k.line_type = 1;
  k.text_size = 1;
  k.layer = static_cast<uint8_t>(layer_number);
  k.line_width = 1;
  k.level = 1;
  return k;
}

// Writes records 1..n as a record file whose header holds n.
template <typename R, int N>
int write_table(const char* path, const R (&records)[N]) {
  int16_t unused;
  if (crear_archivo(&unused, path, sizeof(R)) != 0) return -1;
  const ArchivoAbierto file(abra_compartido(path));
  if (!file.abierto()) return -1;
  int result = 0;
  for (int i = 0; i < N; ++i)
    if (pida_registro(file.get(), sizeof(R)) != i + 1 ||
        escriba_registro(file.get(), &records[i], i + 1, sizeof(R)))
      result = -1;
  return result;
}

}  // namespace

int escriba_base_ejemplo() {
  const cx_layer layers[] = {layer("Calles", 0, "", 0, 1), layer("Rios", 2, "RIOS", 0, 2),
                             layer("Barrios", 3, "BARR", 0, 3), layer("Textos", 1, "", 0, 4)};
  const cx_kind kinds[] = {kind("Arco", 8, 4, kRios), kind("Nodo", 12, 3, kRios),
                           kind("Calle", 7, 0, kCalles), kind("Barrio", 3, 6, kBarrios),
                           kind("Rotulo", 0, 1, kTextos)};
  int16_t unused;
  int result = write_table("TABCAP.DAT", layers) | write_table("TABOBJ.DAT", kinds);
  if (crear_archivo(&unused, "OBJETOS.DAT", 31) != 0) result = -1;
  if (crear_archivo(&unused, "AREAS.DAT", 29) != 0) result = -1;
  if (cree_bloques("COORDEN.DAT") != 0) result = -1;
  if (cree_permiso() != 0) result = -1;
  return result ? -1 : 0;
}

}  // namespace cx
