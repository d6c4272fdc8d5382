// The base-wide edit lock: the first 100 bytes of PERMISO.DAT, locked for
// the duration of each topology edit. It engages only in a process that has
// opened the lock file with abra_permiso; otherwise taking it succeeds at
// once. The lock nests: an edit that calls another edit keeps it until the
// outermost release.
#pragma once

#include <cstdint>

namespace cx {

inline constexpr const char* kLockFile = "PERMISO.DAT";
inline constexpr int kLockBytes = 100;
inline constexpr int kLockAttempts = 101;

int16_t abra_permiso();
void cierre_permiso();
// Creates PERMISO.DAT as a record file of one zeroed 100-byte record.
int16_t cree_permiso();

// 1 taken (or no lock file open), 0 not taken after every attempt.
int16_t bloquee_base();
// 0 released (or no lock file open, or an inner level), -1 failure or a
// release without a matching take.
int16_t libere_base();

// One attempt tries the byte-range lock `tries` times, `interval_ms` apart
// (by default 10 tries 100 ms apart, as the runtime's blocking lock did).
// Tests shorten it.
void set_lock_timing(int tries, int interval_ms);

}  // namespace cx
