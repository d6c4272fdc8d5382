// The code indexes of attribute tables (name + ".inx") and the code lookups
// in ZONAST3.INX and nodo.inx are B-tree indexes of the base (see
// topology/btree.h); what the attribute bases add to them is how a key is
// made from a code, a rebuilt index and a lookup with no cursor to keep.
#pragma once

#include <cstdint>

#include "topology/btree.h"

namespace cx::atr {

inline constexpr int kClave = kKeySize;

// A key from text: at most `limit` bytes of it up to its NUL, trailing
// blanks removed, NUL-padded to 13 bytes.
void clave_de_texto(const char* text, int limit, unsigned char* key);

// Deletes path if it exists and creates it as an empty index, left open.
// The handle, or -1 after "Error creando indice..".
int cree_indice(const char* path);

// The value of the first entry with this key, 0 when there is none.
int32_t busque_codigo(int handle, const unsigned char* key);

}  // namespace cx::atr
