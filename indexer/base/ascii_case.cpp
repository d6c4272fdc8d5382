// Case-insensitive comparison of ASCII names.
#include "base/ascii_case.h"

namespace trawlix {
namespace {

char ascii_lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool equal_nocase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    if (ascii_lower(a[k]) != ascii_lower(b[k])) return false;
  }
  return true;
}

}  // namespace trawlix
