// Names of open files, shared opening, and the reads and writes of records
// and bytes with their diagnostics.
#include <cstring>

#include "cartex32.h"
#include "frame/messages.h"
#include "platform/files.h"
#include "records/record_file.h"

namespace cx {

namespace {

char tabla_nombres[kLastNamedHandle - kFirstNamedHandle + 1][kNameLength + 1];

bool named(int handle) {
  return handle >= kFirstNamedHandle && handle <= kLastNamedHandle;
}

int64_t highest(int handle, int64_t size) {
  const int64_t length = handle >= 0 ? files().length(handle) : -1;
  if (length < 0 || size <= 0) return -1;
  return length / size - 1;
}

// The diagnostic of a failed access: "<format>" filled with the position,
// the file's name, the handle and the highest unit present.
void report(const char* format, int64_t position, int handle, int64_t unit) {
  informe_error(format, static_cast<long>(position), nombre_abierto(handle), handle,
                static_cast<long>(highest(handle, unit)));
}

bool moved_all(int64_t moved, int32_t count) {
  return moved == count;
}

}  // namespace

const char* nombre_abierto(int handle) {
  if (!named(handle)) return "No abierto";
  return tabla_nombres[handle - kFirstNamedHandle];
}

int abra_compartido(const char* path) {
  const int handle = path ? files().open_shared(path) : -1;
  if (named(handle)) {
    char* slot = tabla_nombres[handle - kFirstNamedHandle];
    std::strncpy(slot, path ? path : "", kNameLength);
    slot[kNameLength] = '\0';
  }
  return handle;
}

void cierre_archivo(int handle) {
  if (handle >= 0) files().close(handle);
}

int16_t lea_bytes_en(int handle, int64_t offset, void* buffer, int32_t count) {
  if (!buffer || count < 0) {
    report("LEA_BYTES: Error en reg. %ld en %s. (%d,%ld)\n", offset, handle, count > 0 ? count : 1);
    return -1;
  }
  if (handle >= 0 && moved_all(files().read_at(handle, offset, buffer, count), count)) return 0;
  std::memset(buffer, 0, count);
  report("LEA_BYTES: Error en reg. %ld en %s. (%d,%ld)\n", offset, handle, count > 0 ? count : 1);
  return -1;
}

int16_t esc_bytes(int handle, int64_t offset, const void* data, int32_t count) {
  if (data && count >= 0 && handle >= 0 &&
      moved_all(files().write_at(handle, offset, data, count), count))
    return 0;
  report("ESC_BYTES: Error en reg. %ld en %s. (%d,%ld)\n", offset, handle, count > 0 ? count : 1);
  return -1;
}

int16_t lea_registro(int handle, void* buffer, int64_t record, int32_t size) {
  if (buffer && size > 0 && handle >= 0 &&
      moved_all(files().read_at(handle, record * size, buffer, size), size))
    return 0;
  if (buffer && size > 0) std::memset(buffer, 0, size);
  report("LEER: Error en reg. %ld en %s. (%d,%ld)\n", record, handle, size);
  return -1;
}

int16_t escriba_registro(int handle, const void* data, int64_t record, int32_t size) {
  if (data && size > 0 && handle >= 0 &&
      moved_all(files().write_at(handle, record * size, data, size), size))
    return 0;
  report("ESCRIBIR: Error reg. %ld en %s. (%d,%ld)\n", record, handle, size);
  return -1;
}

}  // namespace cx

CX_EXPORT(int16_t) sverify(const char* path) {
  // Handle 0 is not taken for a file that can be opened.
  const cx::ArchivoAbierto file(cx::abra_compartido(path));
  return file.get() > 0 ? -1 : 0;
}

CX_EXPORT(int16_t) sleer(int16_t handle, void* buffer, int32_t record, int16_t size) {
  return cx::lea_registro(handle, buffer, record, size);
}

CX_EXPORT(int16_t) sescribir(int16_t handle, const void* data, int32_t record, int16_t size) {
  return cx::escriba_registro(handle, data, record, size);
}

CX_EXPORT(int16_t) lea_bytes(int16_t handle, int32_t offset, void* buffer, int16_t count) {
  return cx::lea_bytes_en(handle, offset, buffer, count);
}
