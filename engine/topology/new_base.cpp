// crear_BG: a new, empty base in the current directory, with one area
// network layer ("topologia", files prefixed "topo") and its arc and node
// kinds.
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "cartex32.h"
#include "frame/messages.h"
#include "records/blocks.h"
#include "records/codec.h"
#include "records/edit_lock.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "topology/btree.h"

namespace cx {

namespace {

constexpr int kLayerRecord = 43;
constexpr int kKindRecord = 70;
// The icon reader takes records of 531 bytes.
constexpr int kIconRecord = 531;
constexpr int kLineStyleRecord = 34;
constexpr int kHatchStyleRecord = 39;

// A table file whose records after the header are the given ones.
bool write_table(const char* path, int size, std::initializer_list<const void*> records) {
  int16_t unused;
  if (crear_archivo(&unused, path, size) != 0) return false;
  ArchivoAbierto file(abra_compartido(path));
  if (!file.abierto()) return false;
  int32_t n = 0;
  for (const void* r : records)
    if (escriba_registro(file.get(), r, ++n, size) != 0) return false;
  unsigned char header[4];
  put_le32(header, n);
  return esc_bytes(file.get(), 0, header, 4) == 0;
}

bool write_users() {
  std::FILE* f = std::fopen("usuarios.dat", "wb");
  if (!f) {
    informe_error("[crear arch.] ADVERTENCIA: %s no fue creado.", "usuarios.dat");
    return false;
  }
  const bool ok = std::fputs("ADMINISTRADOR\r\n\r\n5\r\n", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

cx_kind network_kind(const char* name, int colour, int geometry) {
  cx_kind k{};
  std::strncpy(k.name, name, sizeof k.name - 1);
  k.colour = static_cast<uint8_t>(colour);
  k.geometry = static_cast<uint8_t>(geometry);
  k.line_type = 1;
  k.text_size = 1;
  k.layer = 1;
  return k;
}

bool create_index(const char* path) {
  const ArchivoAbierto index(indice_abra(path, nullptr));
  return index.abierto();
}

bool create_records(const char* path, int size) {
  int16_t unused;
  return crear_archivo(&unused, path, size) == 0;
}

// A progress line on the host's window (nothing while no device is bound).
void progress(const char* line) {
  text(0, 0, 0, line);
}

}  // namespace

}  // namespace cx

CX_EXPORT(int16_t) crear_BG(int32_t) {
  using namespace cx;
  // A base already here is never overwritten.
  for (const char* existing : {"OBJETOS.DAT", "TABCAP.DAT", "TABOBJ.DAT"}) {
    if (ArchivoAbierto(abra_compartido(existing)).abierto()) {
      informe_error("crear_BG: YA EXISTE UNA BASE EN ESTE DIRECTORIO (%s)", existing);
      return -1;
    }
  }
  cx_layer layer{};
  std::strcpy(layer.name, "topologia");
  layer.attributes[0] = 8;
  layer.attributes[1] = 1;
  layer.attributes[2] = 1;
  layer.kind = 3;
  std::strcpy(layer.network_prefix, "topo");
  const cx_kind arc = network_kind("Arco", 8, 4);
  const cx_kind node = network_kind("Nodo", 12, 3);

  bool ok = write_users();
  ok = cree_permiso() == 0 && ok;
  ok = write_table("TABCAP.DAT", kLayerRecord, {&layer}) && ok;
  ok = write_table("TABOBJ.DAT", kKindRecord, {&arc, &node}) && ok;
  ok = create_records("TABICO.DAT", kIconRecord) && ok;
  progress("Archivo Lineas");
  ok = create_records("TABLIN.DAT", kLineStyleRecord) && ok;
  progress("Archivo Achurados");
  ok = create_records("TABACHS.DAT", kHatchStyleRecord) && ok;
  progress("Archivo Topologia 0");
  ok = create_records("OBJETOS.DAT", kObjectSize) && ok;
  ok = create_index("CUADT0.INX") && ok;
  ok = create_records("AREAS.DAT", kAreaSize) && ok;
  ok = create_index("ZONAST3.INX") && ok;
  ok = cree_bloques("COORDEN.DAT") == 0 && ok;
  return ok ? 0 : -1;
}
