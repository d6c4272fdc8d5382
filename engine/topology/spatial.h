// The spatial key of a point and the window query over a spatial index.
//
// A key packs a point into its 2500-unit cell: bytes 0..3 the cell's x
// corner, 4..7 its y corner (big-endian), byte 8 the layer, 9..10 and
// 11..12 the position inside the cell in tenths of a unit (big-endian).
// Keys sort by cell column, cell row, layer, then position.
#pragma once

#include <cstdint>

#include "topology/btree.h"

namespace cx {

inline constexpr double kCellSize = 2500.0;

// The key of (x, y) on a layer. Coordinates below 0 (and NaN) are taken as
// 0, and those beyond the last cell a 32-bit corner can hold as its far
// edge.
void clave_espacial(double x, double y, int layer, unsigned char* key);
// The point (cell corner + tenths) and the layer byte of a key.
void decodifique_clave(const unsigned char* key, double* x, double* y, int* layer);

// The x or y corner of the cell of a coordinate.
int32_t celda(double v);

// The state of one window query, kept in the caller's buffer between calls.
struct ConsultaEspacial {
  int32_t magic;  // kConsultaActiva while a query runs
  double x1, y1, x2, y2;
  int32_t column, last_column, first_row, last_row;
  // Tenths inside the cell that may hold hits: x in the current column,
  // the lowest y in the first row.
  int32_t dx_lo, dx_hi, dy_first;
  CursorIndice cursor;
};
inline constexpr int32_t kConsultaActiva = 0x51595845;
inline constexpr int kCursorBuffer = 3086;
static_assert(sizeof(ConsultaEspacial) <= kCursorBuffer, "fits the host's cursor record");

// Starts a query over the rectangle (corners clamped at 0, an empty extent
// widened to 1).
void inicie_consulta(ConsultaEspacial* q, double x1, double y1, double x2, double y2);
// The next hit: its record and key. A hit is a key whose tenth-of-a-unit
// square meets the window, so every point indexed inside the window is
// delivered, and some lying up to a tenth outside it: callers that need
// the exact window compare the record's own position. 1 delivered; 0 no
// more (the query is over); -1 on a read failure (reported; the query is
// over).
int siguiente_hit(int handle, ConsultaEspacial* q, unsigned char* key, int32_t* record);

}  // namespace cx
