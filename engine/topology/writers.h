// Writing new geometry records with their blocks and index entries. Every
// writer checks what it is given before it hands out a record, and inserts
// index entries last: a failure never leaves an index entry pointing at a
// record that was not written.
#pragma once

#include <cstdint>

#include "cartex32.h"

namespace cx {

// The geometry types whose block is a point list, and the text type.
bool es_lista_de_puntos(int geometry);
inline constexpr int kGeometryText = 1;

// The kind record of a new object, or null after "<caller>: TIPO DE
// OBJETO ..." (kinds outside the loaded table are refused).
const cx_kind* tipo_valido(int kind, const char* caller);

// The block units that count points, or a text of count bytes, take; -1
// after a message naming caller when they do not fit one block or count
// is negative.
int32_t unidades_bloque(int geometry, int32_t count, const char* caller);

// Writes a new T0 object (its block offset and, for a text, its count are
// set in object). The record number, or 0 after a message.
int32_t escriba_t0(cx_object& object, const double* x, const double* y, const char* text,
                   const char* caller);

}  // namespace cx
