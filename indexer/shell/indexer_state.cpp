// Reading the program's numeric argument.
#include "shell/indexer_state.h"

#include <cctype>

namespace trawlix {

int16_t numeric_argument(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    value = value * 10 + (text[i++] - '0');
    if (value > 32768) value = 32768;
  }
  if (negative) value = -value;
  if (value > 32767) value = 32767;
  return static_cast<int16_t>(value);
}

}  // namespace trawlix
