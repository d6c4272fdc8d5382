// The code indexes of attribute tables (name + ".inx"), and the code
// lookups in ZONAST3.INX and nodo.inx: B-tree files of 512-byte pages with
// 13-byte keys compared as unsigned bytes and 32-bit values, page 0 the
// header (bytes 0..3 the last page handed out, 395..398 the root, 0 when
// empty); other pages: byte 0 = 1 inner / 0 leaf, 30 keys at 1 + 13 i, 30
// values at 391 + 4 i, the key count at byte 511. Key i of an inner page is
// the greatest key of child i. Only insertion and exact search are needed
// here.
#pragma once

#include <cstdint>

namespace cx::atr {

inline constexpr int kClave = 13;

// A key from text: at most `limit` bytes of it up to its NUL, trailing
// blanks removed, NUL-padded to 13 bytes.
void clave_de_texto(const char* text, int limit, unsigned char* key);

// Deletes path if it exists and creates it as an empty index, left open.
// The handle, or -1 after "Error creando indice..".
int cree_indice(const char* path);
// Opens an existing index shared; a missing one is created empty. -1 on
// failure (reported).
int abra_indice(const char* path);

// 0 inserted; -1 after a message.
int16_t inserte(int handle, const unsigned char* key, int32_t value);
// The value of the first entry with this key, 0 when there is none.
int32_t busque(int handle, const unsigned char* key);

}  // namespace cx::atr
