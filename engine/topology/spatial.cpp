// Spatial keys and the window query, and their exports.
#include "topology/spatial.h"

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
}

int siguiente_hit(int handle, ConsultaEspacial* q, unsigned char* key, int32_t* record) {
  if (q->magic != kConsultaActiva) return 0;
  for (;;) {
    unsigned char k[kKeySize];
    int32_t value = 0;
    bool have;
    if (q->cursor.valid == 1) {
      have = indice_siguiente(handle, &q->cursor, k, &value);
    } else {
      unsigned char start[kKeySize] = {};
      put_be32(start, static_cast<uint32_t>(q->column));
      put_be32(start + 4, static_cast<uint32_t>(q->first_row));
      have = indice_posicione(handle, start, &q->cursor) && indice_actual(q->cursor, k, &value);
    }
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
      q->cursor.valid = 0;
      continue;
    }
    double x, y;
    decodifique_clave(k, &x, &y, nullptr);
    if (x >= q->x1 && x <= q->x2 && y >= q->y1 && y <= q->y2) {
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
