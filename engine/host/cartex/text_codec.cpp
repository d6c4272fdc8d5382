// Windows-1252 is Latin-1 but for 0x80..0x9F, which hold these code points
// (0: not assigned).
#include "text_codec.h"

#include <cstdint>

namespace cartex {

namespace {

constexpr char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void put_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string cp1252_to_utf8(const std::string& text) {
  std::string out;
  for (unsigned char b : text) {
    const char32_t c = b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b;
    put_utf8(out, c ? c : b);
  }
  return out;
}

std::string utf8_to_1252(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const int length = b < 0x80         ? 1
                       : (b >> 5) == 6  ? 2
                       : (b >> 4) == 14 ? 3
                       : (b >> 3) == 30 ? 4
                                        : 0;
    char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
    bool ok = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
    for (int k = 1; ok && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      ok = (next & 0xC0) == 0x80;
      c = c << 6 | (next & 0x3F);
    }
    i += ok ? static_cast<std::size_t>(length) : 1;
    char byte = '?';
    if (ok && (c < 0x80 || (c >= 0xA0 && c <= 0xFF) || (c < 0xA0 && kHigh[c - 0x80] == 0))) {
      byte = static_cast<char>(c);  // the five bytes 1252 leaves free stand for themselves
    } else if (ok) {
      for (int k = 0; k < 32; ++k)
        if (kHigh[k] == c) byte = static_cast<char>(0x80 + k);
    }
    out += byte;
  }
  return out;
}

}  // namespace cartex
