// Little-endian fields of the packed disk records, read and written byte by
// byte so that no disk buffer is ever cast to a structure.
#pragma once

#include <cstdint>
#include <cstring>

namespace cx {

inline void put_le16(unsigned char* p, int16_t v) {
  const auto u = static_cast<uint16_t>(v);
  p[0] = static_cast<unsigned char>(u);
  p[1] = static_cast<unsigned char>(u >> 8);
}

inline void put_le32(unsigned char* p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

inline void put_f64(unsigned char* p, double v) {
  uint64_t u;
  std::memcpy(&u, &v, sizeof u);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

inline int16_t get_le16(const unsigned char* p) {
  return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

inline int32_t get_le32(const unsigned char* p) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(p[i]) << (8 * i);
  return static_cast<int32_t>(u);
}

inline double get_f64(const unsigned char* p) {
  uint64_t u = 0;
  for (int i = 0; i < 8; ++i) u |= static_cast<uint64_t>(p[i]) << (8 * i);
  double v;
  std::memcpy(&v, &u, sizeof v);
  return v;
}

}  // namespace cx
