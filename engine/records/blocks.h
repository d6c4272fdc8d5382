// Block files (COORDEN.DAT and each network's coo.dat): a 1204-byte header
// of 301 32-bit integers, the first the offset where the next block goes,
// then a zeroed 1204-byte record; blocks of 1 to 300 units of 16 bytes,
// addressed by byte offset, placed at the end and never reused.
#pragma once

#include <cstdint>

namespace cx {

inline constexpr int kBlockHeaderSize = 1204;
inline constexpr int kBlockUnit = 16;
inline constexpr int kMaxBlockUnits = 300;

// Creates a new block file (2408 bytes, first integer 2408) and closes it.
// -1 without touching anything when the file already exists.
int16_t cree_bloques(const char* path);

// Places a zeroed block of units x 16 bytes (0 taken as 1) at the end of
// the file and returns its offset; -1 for units above 300 or below 0 and on
// failure ("XPEDIR: error en Reg.0" when the header cannot be read).
int32_t pida_bloque(int handle, int32_t units);

// Units of a text of the given length (its NUL not counted).
inline int32_t unidades_texto(int32_t length) {
  return (length + 1) / kBlockUnit + 1;
}

// Writes n x values then n y values at offset; 0 on success, 1 on failure.
int16_t grabe_puntos(int handle, int32_t offset, const double* x, const double* y, int32_t n);

}  // namespace cx
