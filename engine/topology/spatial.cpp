// Spatial keys and the window query, and their exports.
#include "topology/spatial.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "cartex32.h"

namespace cx {

namespace {

// The highest cell corner whose far edge still fits 32 bits.
constexpr double kLastCorner = 2147482500.0;
constexpr int32_t kInside = 24999;

void put_be32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}
void put_be16(unsigned char* p, uint16_t v) {
  p[0] = static_cast<unsigned char>(v >> 8);
  p[1] = static_cast<unsigned char>(v);
}
uint32_t get_be32(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
uint16_t get_be16(const unsigned char* p) {
  return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

double clamp(double v) {
  if (!(v > 0)) return 0;
  return v > kLastCorner + kCellSize - 0.1 ? kLastCorner + kCellSize - 0.1 : v;
}

// The range of tenths inside a cell that may hold points of [lo, hi] on
// one axis, one tenth wider on each side than the decoded points need.
void tenths_range(double lo, double hi, int32_t cell, int32_t first, int32_t last, int32_t* from,
                  int32_t* to) {
  *from = cell == first
              ? std::clamp(static_cast<int32_t>(std::floor((lo - cell) * 10)) - 1, 0, kInside)
              : 0;
  *to = cell == last ? std::clamp(static_cast<int32_t>(std::ceil((hi - cell) * 10)) + 1, 0, kInside)
                     : kInside;
}

// Tenths inside the cell; a rounding at the cell's edge stays inside it.
int32_t tenths(double v, int32_t corner) {
  const double t = std::trunc((v - corner) * 10);
  return t < 0 ? 0 : t > kInside ? kInside : static_cast<int32_t>(t);
}

}  // namespace

int32_t celda(double v) {
  return static_cast<int32_t>(std::trunc(clamp(v) * 0.0004)) * 2500;
}

void clave_espacial(double x, double y, int layer, unsigned char* key) {
  x = clamp(x);
  y = clamp(y);
  const int32_t cx = celda(x), cy = celda(y);
  put_be32(key, static_cast<uint32_t>(cx));
  put_be32(key + 4, static_cast<uint32_t>(cy));
  key[8] = static_cast<unsigned char>(layer);
  put_be16(key + 9, static_cast<uint16_t>(tenths(x, cx)));
  put_be16(key + 11, static_cast<uint16_t>(tenths(y, cy)));
}

void decodifique_clave(const unsigned char* key, double* x, double* y, int* layer) {
  if (x) *x = static_cast<double>(get_be32(key)) + 0.1 * get_be16(key + 9);
  if (y) *y = static_cast<double>(get_be32(key + 4)) + 0.1 * get_be16(key + 11);
  if (layer) *layer = key[8];
}

namespace {

// The x tenths that may hold hits in the query's current column.
void columna_actual(ConsultaEspacial* q) {
  tenths_range(q->x1, q->x2, q->column, celda(q->x1), q->last_column, &q->dx_lo, &q->dx_hi);
}

}  // namespace

void inicie_consulta(ConsultaEspacial* q, double x1, double y1, double x2, double y2) {
  std::memset(q, 0, sizeof *q);
  x1 = clamp(x1);
  y1 = clamp(y1);
  x2 = clamp(x2);
  y2 = clamp(y2);
  if (x2 <= x1) x2 = x1 + 1;
  if (y2 <= y1) y2 = y1 + 1;
  q->magic = kConsultaActiva;
  q->x1 = x1;
  q->y1 = y1;
  q->x2 = x2;
  q->y2 = y2;
  q->column = celda(x1);
  q->last_column = celda(x2);
  q->first_row = celda(y1);
  q->last_row = celda(y2);
  int32_t unused;
  tenths_range(y1, y2, q->first_row, q->first_row, q->last_row, &q->dy_first, &unused);
  columna_actual(q);
}

namespace {

void make_key(unsigned char* k, int32_t column, int32_t row, int layer, int32_t dx, int32_t dy) {
  put_be32(k, static_cast<uint32_t>(column));
  put_be32(k + 4, static_cast<uint32_t>(row));
  k[8] = static_cast<unsigned char>(layer);
  put_be16(k + 9, static_cast<uint16_t>(dx));
  put_be16(k + 11, static_cast<uint16_t>(dy));
}

// Where to go on from key k, in the query's column and rows, when its
// point cannot be in the window: past the positions inside its cell that
// are out of range in x (points of one x rarely share it, so y is only
// filtered). false when k may be a hit.
bool skip_target(const ConsultaEspacial& q, const unsigned char* k, unsigned char* target) {
  const auto row = static_cast<int32_t>(get_be32(k + 4));
  const int layer = k[8];
  const int32_t dx = get_be16(k + 9);
  const int32_t dx_lo = q.dx_lo, dx_hi = q.dx_hi;
  const int32_t dy_lo = row == q.first_row ? q.dy_first : 0;
  if (row < q.first_row) {
    make_key(target, q.column, q.first_row, 0, 0, 0);
  } else if (dx < dx_lo) {
    make_key(target, q.column, row, layer, dx_lo, dy_lo);
  } else if (dx > dx_hi) {
    if (layer < 255)
      make_key(target, q.column, row, layer + 1, 0, 0);
    else
      make_key(target, q.column, row + 2500, 0, 0, 0);
  } else {
    return false;
  }
  return true;
}

// Whether the tenth-of-a-unit square a key stands for meets the window. A
// key keeps its point cut to tenths, so comparing the cut point alone would
// miss points up to a tenth inside the window's lower edges; the slack
// covers the rounding of the decoded corner.
bool cuadro_en_ventana(const ConsultaEspacial& q, const unsigned char* k) {
  constexpr double kSlack = 1e-6;
  double x, y;
  decodifique_clave(k, &x, &y, nullptr);
  return x - kSlack <= q.x2 && x + 0.1 + kSlack >= q.x1 && y - kSlack <= q.y2 &&
         y + 0.1 + kSlack >= q.y1;
}

}  // namespace

int siguiente_hit(int handle, ConsultaEspacial* q, unsigned char* key, int32_t* record) {
  if (q->magic != kConsultaActiva) return 0;
  unsigned char target[kKeySize];
  bool skip = false;
  for (;;) {
    unsigned char k[kKeySize];
    int32_t value = 0;
    bool have;
    if (q->cursor.valid == 1) {
      have = skip ? indice_salte(handle, &q->cursor, target, k, &value)
                  : indice_siguiente(handle, &q->cursor, k, &value);
    } else {
      make_key(target, q->column, q->first_row, 0, 0, 0);
      have = indice_posicione(handle, target, &q->cursor) && indice_actual(q->cursor, k, &value);
    }
    skip = false;
    if (q->cursor.valid < 0) {
      q->magic = 0;
      return -1;
    }
    const bool in_column = have && get_be32(k) == static_cast<uint32_t>(q->column) &&
                           get_be32(k + 4) <= static_cast<uint32_t>(q->last_row);
    if (!in_column) {
      if (q->column >= q->last_column) {
        q->magic = 0;
        return 0;
      }
      // An empty stretch of columns is passed over at once.
      const auto found = have ? get_be32(k) : 0u;
      q->column =
          found > static_cast<uint32_t>(q->column) ? static_cast<int32_t>(found) : q->column + 2500;
      if (q->column > q->last_column) {
        q->magic = 0;
        return 0;
      }
      columna_actual(q);
      q->cursor.valid = 0;
      continue;
    }
    if (skip_target(*q, k, target)) {
      skip = true;
      continue;
    }
    if (cuadro_en_ventana(*q, k)) {
      if (key) std::memcpy(key, k, kKeySize);
      *record = value;
      return 1;
    }
  }
}

}  // namespace cx

// The host's cursor buffer has no particular alignment: the query state is
// copied in and out of it.
CX_EXPORT(int16_t)
xyinicie(int16_t handle, void* cursor, int16_t, double x1, double y1, double x2, double y2) {
  if (!cursor || handle < 0) return -1;
  cx::ConsultaEspacial q;
  cx::inicie_consulta(&q, x1, y1, x2, y2);
  std::memcpy(cursor, &q, sizeof q);
  return 0;
}

CX_EXPORT(int16_t) xynext(int16_t handle, void* cursor, int16_t, uint8_t* key, int32_t* record) {
  if (record) *record = 0;
  if (!cursor || !record) return -1;
  cx::ConsultaEspacial q;
  std::memcpy(&q, cursor, sizeof q);
  const int r = cx::siguiente_hit(handle, &q, key, record);
  std::memcpy(cursor, &q, sizeof q);
  return static_cast<int16_t>(r < 0 ? -1 : 0);
}

CX_EXPORT(int16_t)
xycalcxy(int32_t, double* x, double* y, const uint8_t* key, int16_t* layer) {
  if (!key) return 0;
  int l = 0;
  cx::decodifique_clave(key, x, y, &l);
  if (layer) *layer = static_cast<int16_t>(static_cast<int8_t>(l));
  return 0;
}
