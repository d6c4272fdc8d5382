// Creating record files and handing records out and back.
#include <vector>

#include "frame/messages.h"
#include "platform/files.h"
#include "records/codec.h"
#include "records/record_file.h"

namespace cx {

int16_t crear_archivo(int16_t* handle_out, const char* path, int32_t size) {
  if (handle_out) *handle_out = -1;
  {
    ArchivoAbierto old(abra_compartido(path));
    const bool remove_old = old.get() > 1;
    old.cierre();
    if (remove_old) files().remove(path);
  }

  ArchivoAbierto file((path && size > 0) ? files().create(path) : -1);
  bool written = false;
  if (file.abierto()) {
    const std::vector<unsigned char> header(size, 0);
    written = files().write_at(file.get(), 0, header.data(), header.size()) == size;
    file.cierre();
  }
  if (!written) {
    informe_error("[crear arch.] ADVERTENCIA: %s no fue creado.", path ? path : "");
    return -1;
  }
  return 0;
}

int32_t pida_registro(int handle, int32_t size) {
  if (handle < 0 || size <= 0) return 0;
  const int64_t length = files().length(handle);
  if (length < size) return 0;
  const int64_t n = length / size;
  if (n > INT32_MAX) return 0;
  // The record is taken at once, marked given back until its owner writes
  // it: a second hand-out before that write gets the next record, and one
  // never written reads as given back, not as a zeroed live record.
  std::vector<unsigned char> taken(static_cast<std::size_t>(size), 0);
  for (std::size_t i = 0; i < taken.size() && i < 4; ++i) taken[i] = 0xff;
  if (esc_bytes(handle, n * size, taken.data(), size) != 0) return 0;
  unsigned char header[4];
  put_le32(header, static_cast<int32_t>(n));
  if (esc_bytes(handle, 0, header, sizeof header) != 0) return 0;
  return static_cast<int32_t>(n);
}

int16_t devuelva_registro(int handle, int64_t record, int32_t size) {
  const int64_t last = ultimo_registro(handle, size);
  if (record > 0 && record <= last && size > 8) {
    unsigned char mark[4];
    put_le32(mark, -1);
    if (files().write_at(handle, record * size, mark, sizeof mark) == sizeof mark) return 0;
  }
  informe_error("DEVOLVER: error R. %ld en %s. (%d,%ld)\n", static_cast<long>(record),
                nombre_abierto(handle), handle, static_cast<long>(last));
  return -1;
}

int32_t ultimo_registro(int handle, int32_t size) {
  if (handle < 0 || size <= 0) return -1;
  const int64_t length = files().length(handle);
  if (length < 0) return -1;
  const int64_t last = length / size - 1;
  return last > INT32_MAX ? INT32_MAX : static_cast<int32_t>(last);
}

}  // namespace cx
