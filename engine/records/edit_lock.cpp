// PERMISO.DAT and the nesting edit lock over it.
#include "records/edit_lock.h"

#include <chrono>
#include <thread>

#include "platform/files.h"
#include "records/record_file.h"

namespace cx {

namespace {
int lock_handle = -1;
int depth = 0;
int tries_per_attempt = 10;
int interval = 100;

bool one_attempt() {
  for (int i = 0; i < tries_per_attempt; ++i) {
    if (files().try_lock(lock_handle, 0, kLockBytes)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(interval));
  }
  return false;
}
}  // namespace

void set_lock_timing(int tries, int interval_ms) {
  tries_per_attempt = tries > 0 ? tries : 1;
  interval = interval_ms >= 0 ? interval_ms : 0;
}

int16_t abra_permiso() {
  if (lock_handle >= 0) cierre_permiso();
  lock_handle = abra_compartido(kLockFile);
  depth = 0;
  return lock_handle >= 0 ? 0 : -1;
}

void cierre_permiso() {
  // Closing drops a held lock as well.
  cierre_archivo(lock_handle);
  lock_handle = -1;
  depth = 0;
}

int16_t cree_permiso() {
  int16_t handle;
  return crear_archivo(&handle, kLockFile, kLockBytes);
}

int16_t bloquee_base() {
  if (lock_handle < 1) return 1;
  if (depth > 0) {
    ++depth;
    return 1;
  }
  for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
    if (one_attempt()) {
      depth = 1;
      return 1;
    }
  }
  return 0;
}

int16_t libere_base() {
  if (lock_handle < 1) return 0;
  if (depth == 0) return -1;
  if (--depth > 0) return 0;
  return files().unlock(lock_handle, 0, kLockBytes) ? 0 : -1;
}

}  // namespace cx
