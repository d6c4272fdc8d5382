// Byte-order writers, word splitters and the byte copier.
#include <cstring>

#include "cartex32.h"

CX_EXPORT(void) paselong(const int32_t* value, uint8_t* out) {
  if (!value || !out) return;
  const uint32_t v = static_cast<uint32_t>(*value);
  out[0] = static_cast<uint8_t>(v >> 24);
  out[1] = static_cast<uint8_t>(v >> 16);
  out[2] = static_cast<uint8_t>(v >> 8);
  out[3] = static_cast<uint8_t>(v);
}

CX_EXPORT(void) paseint(const int16_t* value, uint8_t* out) {
  if (!value || !out) return;
  const uint16_t v = static_cast<uint16_t>(*value);
  out[0] = static_cast<uint8_t>(v >> 8);
  out[1] = static_cast<uint8_t>(v);
}

CX_EXPORT(int32_t) hi_word(int32_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value) >> 16);
}

CX_EXPORT(int16_t) lo_word(int32_t value) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu));
}

CX_EXPORT(int16_t) mueva(const void* source, void* destination, int16_t count) {
  const std::size_t n = static_cast<uint16_t>(count);
  if (n && source && destination) std::memmove(destination, source, n);
  return -1;
}
