// The street-address tokenizer: Init_Adress, Set_Adress, Get_Dir_Token.
#include <cstring>

#include "cartex32.h"

namespace {

constexpr int kAddressMax = 255;

char address[kAddressMax + 1];
bool separator[256];
bool digit[256];

bool is_separator(char c) {
  return separator[static_cast<unsigned char>(c)];
}
bool is_digit(char c) {
  return digit[static_cast<unsigned char>(c)];
}

}  // namespace

CX_EXPORT(void) Init_Adress(void) {
  std::memset(separator, 0, sizeof separator);
  std::memset(digit, 0, sizeof digit);
  for (const char* c = " #-.\""; *c; ++c) separator[static_cast<unsigned char>(*c)] = true;
  for (const char* c = "1234567890"; *c; ++c) digit[static_cast<unsigned char>(*c)] = true;
}

CX_EXPORT(void) Set_Adress(const char* text) {
  int n = 0;
  if (text) {
    for (; n < kAddressMax && text[n]; ++n) {
      const char c = text[n];
      address[n] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
  }
  address[n] = '\0';
}

CX_EXPORT(int16_t) Get_Dir_Token(int16_t position, char* token) {
  if (!token) return 0;
  token[0] = '\0';
  const int length = static_cast<int>(std::strlen(address));
  if (position < 1 || position > length) return 0;

  int i = position - 1;
  int count = 0;
  while (address[i] == ' ') {
    ++i;
    ++count;
  }
  if (!address[i]) return static_cast<int16_t>(count);

  int n = 0;
  if (is_separator(address[i])) {
    token[n++] = address[i];
  } else if (is_digit(address[i])) {
    while (address[i + n] && is_digit(address[i + n])) {
      token[n] = address[i + n];
      ++n;
    }
  } else {
    while (address[i + n] && !is_separator(address[i + n]) && !is_digit(address[i + n])) {
      token[n] = address[i + n];
      ++n;
    }
    if (address[i + n] == '.') {
      token[n] = '.';
      ++n;
    }
  }
  token[n] = '\0';
  return static_cast<int16_t>(count + n);
}
