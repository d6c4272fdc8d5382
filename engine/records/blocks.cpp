// Block files: creation, block allocation and point lists.
#include "records/blocks.h"

#include <vector>

#include "cartex32.h"
#include "frame/messages.h"
#include "platform/files.h"
#include "records/codec.h"
#include "records/record_file.h"

namespace cx {

namespace {

std::vector<unsigned char> pack_doubles(const double* v, int32_t n) {
  std::vector<unsigned char> bytes(static_cast<std::size_t>(n) * 8);
  for (int32_t i = 0; i < n; ++i) put_f64(bytes.data() + 8 * i, v[i]);
  return bytes;
}

void unpack_doubles(const std::vector<unsigned char>& bytes, double* v, int32_t n) {
  for (int32_t i = 0; i < n; ++i) v[i] = get_f64(bytes.data() + 8 * i);
}

}  // namespace

int16_t cree_bloques(const char* path) {
  if (ArchivoAbierto(abra_compartido(path)).abierto()) return -1;
  ArchivoAbierto file(path ? files().create(path) : -1);
  if (!file.abierto()) {
    informe_error("[crear arch.] ADVERTENCIA: %s no fue creado.", path ? path : "");
    return -1;
  }
  std::vector<unsigned char> start(2 * kBlockHeaderSize, 0);
  put_le32(start.data(), 2 * kBlockHeaderSize);
  const bool written = files().write_at(file.get(), 0, start.data(), start.size()) ==
                       static_cast<int64_t>(start.size());
  file.cierre();
  if (!written) {
    informe_error("[crear arch.] ADVERTENCIA: %s no fue creado.", path);
    return -1;
  }
  return 0;
}

int32_t pida_bloque(int handle, int32_t units) {
  if (units < 0 || units > kMaxBlockUnits) return -1;
  if (units == 0) units = 1;
  unsigned char header[kBlockHeaderSize];
  if (handle < 0 || files().read_at(handle, 0, header, sizeof header) != kBlockHeaderSize) {
    informe_error("XPEDIR: error en Reg.0");
    return -1;
  }
  const int64_t offset = files().length(handle);
  const int32_t size = units * kBlockUnit;
  if (offset < 0 || offset + size > INT32_MAX) {
    informe_error("XPEDIR: error en Reg.0");
    return -1;
  }
  put_le32(header, static_cast<int32_t>(offset + size));
  if (esc_bytes(handle, 0, header, 4) != 0) return -1;
  const std::vector<unsigned char> zeros(size, 0);
  if (esc_bytes(handle, offset, zeros.data(), size) != 0) return -1;
  return static_cast<int32_t>(offset);
}

int16_t grabe_puntos(int handle, int32_t offset, const double* x, const double* y, int32_t n) {
  if (n < 0 || (n > 0 && (!x || !y))) {
    esc_bytes(handle, offset, nullptr, n);
    return 1;
  }
  const std::vector<unsigned char> xs = pack_doubles(x, n), ys = pack_doubles(y, n);
  if (esc_bytes(handle, offset, xs.data(), 8 * n) != 0) return 1;
  if (esc_bytes(handle, offset + 8 * static_cast<int64_t>(n), ys.data(), 8 * n) != 0) return 1;
  return 0;
}

}  // namespace cx

CX_EXPORT(int16_t) lea_coord(int16_t handle, int32_t offset, double* x, double* y, int16_t count) {
  if (count < 0 || (count > 0 && (!x || !y))) return cx::lea_bytes_en(handle, offset, nullptr, -1);
  std::vector<unsigned char> bytes(static_cast<std::size_t>(count) * 8);
  if (cx::lea_bytes_en(handle, offset, bytes.data(), 8 * count) != 0) {
    for (int i = 0; i < count; ++i) x[i] = y[i] = 0;
    return -1;
  }
  cx::unpack_doubles(bytes, x, count);
  if (cx::lea_bytes_en(handle, offset + 8 * static_cast<int64_t>(count), bytes.data(), 8 * count) !=
      0) {
    for (int i = 0; i < count; ++i) y[i] = 0;
    return -1;
  }
  cx::unpack_doubles(bytes, y, count);
  return 0;
}
