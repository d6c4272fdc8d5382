// What the editing operations share: the edit lock held for a scope, and
// the check that an index holds an entry before anything is changed.
#pragma once

#include <cstdint>
#include <cstring>

#include "records/edit_lock.h"
#include "topology/btree.h"

namespace cx {

// Takes the edit lock (nested takes keep the outer one) and releases it
// when it goes.
struct CerrojoEdicion {
  bool taken = bloquee_base() != 0;
  CerrojoEdicion() = default;
  CerrojoEdicion(const CerrojoEdicion&) = delete;
  CerrojoEdicion& operator=(const CerrojoEdicion&) = delete;
  ~CerrojoEdicion() {
    if (taken) libere_base();
  }
};

// Whether the index holds this key with this value.
inline bool hay_entrada(int handle, const unsigned char* key, int32_t value) {
  CursorIndice cursor{};
  if (!indice_posicione(handle, key, &cursor)) return false;
  unsigned char found[kKeySize];
  int32_t v = 0;
  for (bool more = indice_actual(cursor, found, &v); more && std::memcmp(found, key, kKeySize) == 0;
       more = indice_siguiente(handle, &cursor, found, &v))
    if (v == value) return true;
  return false;
}

}  // namespace cx
