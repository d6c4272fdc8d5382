// Reading and writing the records the edits change, quietly (the caller
// says what was not found), and the index keys they were filed under.
#pragma once

#include <cstdint>

#include "cartex32.h"
#include "topology/btree.h"
#include "topology/network_lists.h"

namespace cx {

bool lea_t0(int32_t n, cx_object* object);
bool escriba_t0_registro(int32_t n, const cx_object& object);

// The spatial key of a point of an object of `kind`: its kind's layer, or
// `fallback` for a kind outside the table.
void clave_de_tipo(double x, double y, int kind, int fallback, unsigned char* key);

// Files record n in index under key in place of old_key; on failure the
// index is as it was.
bool reindexe(int index, const unsigned char* old_key, const unsigned char* key, int32_t n);

// The code a host's text gives on the current layer: its two prefix
// digits, then at most 11 characters of text, NUL-padded.
void codigo_de_capa(const char* text, unsigned char* code);

}  // namespace cx
