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

// Opens path and returns the highest record present, or -1 with the
// handle closed when there is no usable record.
int32_t open_table(const char* path, int32_t size, int* handle) {
  *handle = size > 0 ? abra_compartido(path) : -1;
  if (*handle < 0) return -1;
  const int32_t last = ultimo_registro(*handle, size);
  if (last < 0) {
    cierre_archivo(*handle);
    *handle = -1;
  }
  return last;
}

unsigned char* zeroed_records(int32_t size, int32_t records) {
  return static_cast<unsigned char*>(
      asigne_ceros(static_cast<std::size_t>(std::max(size, 1)) * records));
}

}  // namespace

int16_t cargue_tabla(const char* path, unsigned char** table, int32_t size, int32_t* count,
                     int32_t maximum) {
  *table = nullptr;
  *count = 0;
  int handle;
  int32_t n = open_table(path, size, &handle);
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
  auto* block = static_cast<unsigned char*>(
      asigne_ceros(std::max<std::size_t>(bytes, 2 * static_cast<std::size_t>(size))));
  if (!block) {
    informe_error("MEMORIA INSUFICIENTE:  TABLA %s", path);
    cierre_archivo(handle);
    *table = zeroed_records(size, 2);
    return -1;
  }
  const int64_t got = files().read_at(handle, 0, block, bytes);
  cierre_archivo(handle);
  if (got < 0) {
    std::memset(block, 0, bytes);
  } else if (static_cast<std::size_t>(got) < bytes) {
    std::memset(block + got, 0, bytes - got);
  }
  std::memset(block, 0, size);
  *table = block;
  *count = n;
  return 0;
}

int16_t cargue_lista(const char* path, unsigned char*** list, int32_t size, int32_t* count,
                     int32_t maximum) {
  *list = nullptr;
  *count = 0;
  int handle;
  int32_t n = open_table(path, size, &handle);
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
    if (handle >= 0) cierre_archivo(handle);
    informe_error("ADVERTENCIA: TABLA %s  %s ", path ? path : "",
                  problem ? problem : " MEMORIA INSUFICIENTE");
    if (records) {
      records[0] = zeroed_records(size, 1);
      records[1] = zeroed_records(size, 1);
    }
    *list = records;
    return -1;
  }

  int32_t read = 0;
  for (; read <= n; ++read) {
    auto* record = static_cast<unsigned char*>(asigne_ceros(size));
    if (!record) break;
    const int64_t got = files().read_at(handle, static_cast<int64_t>(read) * size, record, size);
    if (got < size)
      std::memset(record + std::max<int64_t>(got, 0), 0, size - std::max<int64_t>(got, 0));
    if (read == 0) std::memset(record, 0, size);
    records[read] = record;
  }
  cierre_archivo(handle);
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
