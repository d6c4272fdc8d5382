// The B-tree index files of a base (CUADT0.INX, ZONAST3.INX and each
// network's xyt2.inx, nodo.inx and xyt3.inx): 13-byte keys compared as
// unsigned bytes, each with a 32-bit value, equal keys allowed.
//
// Page n of the file is at n x 512. Page 0 is the header: bytes 0..3 the
// last page handed out, bytes 395..398 the root page (0: empty). Every other
// page holds byte 0 = 1 for an inner page (0 for a leaf), 30 keys at
// 1 + 13 i, 30 values at 391 + 4 i and the key count (signed) at byte 511.
// In an inner page key i is an upper bound of the keys of child i (the
// greatest key it had), and never below any key of child i or above any key
// of child i + 1; deletions leave the bounds as they were.
#pragma once

#include <cstdint>

namespace cx {

inline constexpr int kKeySize = 13;
inline constexpr int kPageSize = 512;
inline constexpr int kPageKeys = 30;
inline constexpr int kMaxDepth = 6;

using Clave = unsigned char[kKeySize];

// A position in an index: the path from the root to a leaf entry, with the
// leaf itself kept so that reading in key order touches the file only when
// a page is left. Trivially copyable; it lives in the caller's state buffer
// of the spatial query.
struct CursorIndice {
  int32_t valid;  // 1 positioned on an entry, 0 past the end, -1 after a failure
  int32_t depth;
  int32_t page[kMaxDepth];
  int16_t pos[kMaxDepth];
  unsigned char leaf[kPageSize];
  int32_t parent_page;  // the leaf's parent, kept too (0: none kept)
  unsigned char parent[kPageSize];
};

// Opens an index shared; a missing file is created empty first. Clears the
// cursor when one is given. The handle, or -1 after the record layer's
// diagnostic.
int indice_abra(const char* path, CursorIndice* cursor);

// Inserts key with value (duplicates allowed). 0 on success, -1 after a
// message (a read or write failure, or a damaged page: "INDICE: pagina %ld
// danada en %s").
int16_t indice_inserte(int handle, const unsigned char* key, int32_t value);

// Positions the cursor on the first entry whose key is not below key. true
// when there is one; false at the end (cursor invalid) or on failure.
bool indice_posicione(int handle, const unsigned char* key, CursorIndice* cursor);

// The value of the first entry whose key equals key, or 0; the cursor stays
// there so that indice_siguiente reads on in key order.
int32_t indice_busque(int handle, const unsigned char* key, CursorIndice* cursor);

// The entry at the cursor. false when it is not positioned.
bool indice_actual(const CursorIndice& cursor, unsigned char* key, int32_t* value);

// Moves the cursor to the next entry in key order and reads it. false at
// the end of the index (the cursor is then invalid) or on failure.
bool indice_siguiente(int handle, CursorIndice* cursor, unsigned char* key, int32_t* value);

// Moves the cursor on to the first entry not below key, which must not be
// below the entry at the cursor, and reads it: within the cursor's leaf
// when the key falls there, else from the root. false at the end or on
// failure, as indice_siguiente.
bool indice_salte(int handle, CursorIndice* cursor, const unsigned char* key, unsigned char* found,
                  int32_t* value);

// Removes the entry with this key and this value (the first such one in key
// order). 0 removed; 1 no such entry; -1 on failure.
int16_t indice_borre(int handle, const unsigned char* key, int32_t value);

// Every entry in key order, for checks: calls visit(key, value) until it
// returns false. 0 when the walk finished, -1 on failure.
template <typename Visit>
int16_t indice_recorra(int handle, Visit visit) {
  CursorIndice cursor{};
  const unsigned char low[kKeySize] = {};
  unsigned char key[kKeySize];
  int32_t value = 0;
  if (!indice_posicione(handle, low, &cursor)) return cursor.valid < 0 ? -1 : 0;
  for (bool more = indice_actual(cursor, key, &value); more;
       more = indice_siguiente(handle, &cursor, key, &value))
    if (!visit(static_cast<const unsigned char*>(key), value)) break;
  return cursor.valid < 0 ? -1 : 0;
}

}  // namespace cx
