// cargue_tabla and cargue_lista.
#include "records/tables.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "frame/memory.h"
#include "frame/messages.h"
#include "platform/files.h"
#include "records/record_file.h"

namespace cx {

namespace {

// Opens path and gives the highest record present in *last; the file comes
// back closed when there is no usable record (*last is then -1).
ArchivoAbierto open_table(const char* path, int32_t size, int32_t* last) {
  ArchivoAbierto file(size > 0 ? abra_compartido(path) : -1);
  *last = file.abierto() ? ultimo_registro(file.get(), size) : -1;
  if (*last < 0) file.cierre();
  return file;
}

Arreglo<unsigned char> zeroed_records(int32_t size, int32_t records) {
  return asigne_arreglo<unsigned char>(static_cast<std::size_t>(std::max(size, 1)) * records);
}

}  // namespace

int16_t cargue_tabla(const char* path, Arreglo<unsigned char>* table, int32_t size, int32_t* count,
                     int32_t maximum) {
  table->reset();
  *count = 0;
  int32_t n;
  ArchivoAbierto file = open_table(path, size, &n);
  if (n < 0) {
    *table = zeroed_records(size, 2);
    informe_error("ADVERTENCIA: TABLA %s  no existe", path ? path : "");
    return -1;
  }
  n = std::min(n, std::max(maximum, 0));
  if ((static_cast<int64_t>(n) + 1) * size > kTableLimit) {
    n = kTableLimit / size - 1;
    informe_error("ADVERTENCIA: TABLA %s mas de 64k, recortada a %ld regs.", path,
                  static_cast<long>(n));
  }
  const std::size_t bytes = static_cast<std::size_t>(n + 1) * size;
  // Two records at least, so that record 1 can always be read.
  Arreglo<unsigned char> block = asigne_arreglo<unsigned char>(
      std::max<std::size_t>(bytes, 2 * static_cast<std::size_t>(size)));
  if (!block) {
    informe_error("MEMORIA INSUFICIENTE:  TABLA %s", path);
    *table = zeroed_records(size, 2);
    return -1;
  }
  const int64_t got = files().read_at(file.get(), 0, block.get(), bytes);
  if (got < 0) {
    std::memset(block.get(), 0, bytes);
  } else if (static_cast<std::size_t>(got) < bytes) {
    std::memset(block.get() + got, 0, bytes - got);
  }
  std::memset(block.get(), 0, size);
  *table = std::move(block);
  *count = n;
  return 0;
}

int16_t cargue_lista(const char* path, unsigned char*** list, int32_t size, int32_t* count,
                     int32_t maximum) {
  *list = nullptr;
  *count = 0;
  int32_t n;
  ArchivoAbierto file = open_table(path, size, &n);
  const char* problem = nullptr;
  if (n < 0) {
    problem = " NO EXISTE";
  } else {
    n = std::min(n, std::max(maximum, 0));
    const int64_t bytes = (static_cast<int64_t>(n) + 1) * size;
    if ((bytes / 16) * 16 + 1600 >= kTableLimit) problem = " MEMORIA INSUFICIENTE";
  }
  auto** records = static_cast<unsigned char**>(
      asigne_ceros(sizeof(unsigned char*) * static_cast<std::size_t>(problem ? 3 : n + 2)));
  if (problem || !records) {
    file.cierre();
    informe_error("ADVERTENCIA: TABLA %s  %s ", path ? path : "",
                  problem ? problem : " MEMORIA INSUFICIENTE");
    if (records) {
      records[0] = zeroed_records(size, 1).release();
      records[1] = zeroed_records(size, 1).release();
    }
    *list = records;
    return -1;
  }

  int32_t read = 0;
  for (; read <= n; ++read) {
    auto* record = static_cast<unsigned char*>(asigne_ceros(size));
    if (!record) break;
    const int64_t got =
        files().read_at(file.get(), static_cast<int64_t>(read) * size, record, size);
    if (got < size)
      std::memset(record + std::max<int64_t>(got, 0), 0, size - std::max<int64_t>(got, 0));
    if (read == 0) std::memset(record, 0, size);
    records[read] = record;
  }
  *list = records;
  *count = read - 1;
  return 0;
}

void libere_lista(unsigned char*** list) {
  if (!*list) return;
  for (unsigned char** r = *list; *r; ++r) std::free(*r);
  std::free(*list);
  *list = nullptr;
}

}  // namespace cx
