// What the editing operations share: the frame every edit runs in (the
// files reopened, the edit lock held for a scope, the files reopened again
// before the lock goes), and the check that an index holds an entry before
// anything is changed.
#pragma once

#include <cstdint>
#include <cstring>

#include "records/edit_lock.h"
#include "topology/btree.h"

namespace cx {

// Closes and reopens the files an edit may touch, each into its own handle
// slot: those of the current network and the T0/T1 files, whichever are
// open. Another process's committed records are then seen whole.
void reabra_archivos_de_edicion();

// The frame of one edit. The outermost frame reopens the files and takes
// the edit lock; when it goes it reopens them again and releases the lock.
// A frame inside another (an edit that calls another edit) keeps the outer
// lock and does not reopen. When the lock is not obtained, taken is false
// and the caller shows its lock message and changes nothing.
class CerrojoEdicion {
 public:
  CerrojoEdicion();
  ~CerrojoEdicion();
  CerrojoEdicion(const CerrojoEdicion&) = delete;
  CerrojoEdicion& operator=(const CerrojoEdicion&) = delete;
  const bool taken;

 private:
  static bool enter();
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
