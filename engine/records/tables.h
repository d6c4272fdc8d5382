// Loading small table files (the layer and kind tables, style tables) whole
// into memory. Record 0 comes back zeroed for the caller's defaults; the
// table is indexed directly by record number.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "frame/memory.h"

namespace cx {

// Tables in memory are limited to 64 KB, as the callers' 16-bit sizes were.
inline constexpr int32_t kTableLimit = 65535;

// Loads records 0..count of path into one block (*table, from the
// replaceable allocator) holding at least records 0 and 1. count is the highest record,
// at most `maximum` and cut to 64 KB with a warning. A missing file (or one
// shorter than a record) warns "ADVERTENCIA: TABLA %s  no existe", gives two
// zeroed records with count 0, and returns -1; so does a failed allocation
// ("MEMORIA INSUFICIENTE:  TABLA %s"). 0 on success.
int16_t cargue_tabla(const char* path, Arreglo<unsigned char>* table, int32_t size, int32_t* count,
                     int32_t maximum);

// The same table as records of a type laid out byte for byte as on disk:
// records 0..count, and at least two (none when even the two zeroed
// records could not be allocated).
template <typename Record>
int16_t cargue_tabla(const char* path, std::vector<Record>* table, int32_t* count,
                     int32_t maximum) {
  static_assert(std::is_trivially_copyable_v<Record> && alignof(Record) == 1,
                "a disk record with no padding");
  Arreglo<unsigned char> block;
  const int16_t result = cargue_tabla(path, &block, sizeof(Record), count, maximum);
  table->clear();
  if (!block) return result;
  table->resize(std::max<std::size_t>(static_cast<std::size_t>(*count) + 1, 2));
  std::memcpy(table->data(), block.get(), table->size() * sizeof(Record));
  return result;
}

// Loads path as count + 2 pointers (the last null) to separately allocated
// records 0..count. Refused when the records with 1600 bytes of margin
// would not stay below 64 KB; a refusal or a missing file warns and gives
// two zeroed records with count 0 and -1. When a record cannot be
// allocated the list stops before it (count = records read - 1).
int16_t cargue_lista(const char* path, unsigned char*** list, int32_t size, int32_t* count,
                     int32_t maximum);

// Releases a list of cargue_lista (null tolerated) and sets it to null.
void libere_lista(unsigned char*** list);

}  // namespace cx
