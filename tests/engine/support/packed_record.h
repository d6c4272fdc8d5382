// A packed disk record made by hand, little-endian field by field, to
// compare with what the engine writes.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace cx::testing {

struct Packed {
  std::vector<unsigned char> bytes;

  Packed& u8(unsigned v) {
    bytes.push_back(static_cast<unsigned char>(v));
    return *this;
  }
  Packed& i16(int16_t v) {
    return u8(static_cast<uint16_t>(v) & 0xFF).u8(static_cast<uint16_t>(v) >> 8);
  }
  Packed& i32(int32_t v) {
    for (int i = 0; i < 4; ++i) u8((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return *this;
  }
  Packed& f64(double v) {
    uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) u8(static_cast<unsigned>(u >> (8 * i)) & 0xFF);
    return *this;
  }
  Packed& text(const char* t, int n) {
    for (int i = 0; i < n; ++i) u8(static_cast<unsigned char>(t[i]));
    return *this;
  }
  // kind, state, x, y, rotation, block, count, area: the embedded T0 part.
  Packed& t0(int16_t kind, uint8_t state, double x, double y, int16_t rotation, int32_t block,
             int16_t count, int32_t area) {
    return i16(kind).u8(state).f64(x).f64(y).i16(rotation).i32(block).i16(count).i32(area);
  }
};

}  // namespace cx::testing
