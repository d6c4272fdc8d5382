// Windows-1252, the code page of page text, tokens and words: conversion to
// and from UTF-8 and the fixed upper-case mapping the scanner relies on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trawlix {

// UTF-8 for Windows-1252 text. The five bytes Windows-1252 leaves undefined
// become the C1 controls of the same value, so the conversion round-trips.
std::string cp1252_to_utf8(std::string_view text);

// Windows-1252 for UTF-8 text. A character with no Windows-1252 form, or a
// malformed sequence, becomes `replacement`.
std::string utf8_to_cp1252(std::string_view text, char replacement = '?');

// The Windows-1252 byte for a Unicode code point, if it has one.
std::optional<unsigned char> cp1252_from_code_point(uint32_t code_point);

// True when `text` is well-formed UTF-8.
bool is_valid_utf8(std::string_view text);

// The upper-case form of one Windows-1252 character: a-z and the accented
// small letters move to their capitals (ÿ to Ÿ, š œ ž to Š Œ Ž); ß, µ and
// everything else stay. Independent of the C library's locale.
char upper_cp1252(char c);
std::string upper_cp1252(std::string_view text);

// The first `n` characters of `text` (Windows-1252: one byte a character).
inline std::string cut_text(std::string_view text, size_t n) {
  return std::string(text.substr(0, n));
}

}  // namespace trawlix
