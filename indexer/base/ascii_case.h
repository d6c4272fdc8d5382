// Comparing names that ignore case the way HTTP headers and SQL names do:
// only A-Z and a-z pair up, whatever the C library's locale.
#pragma once

#include <string_view>

namespace trawlix {

// True when `a` and `b` are equal once A-Z are read as a-z.
bool equal_nocase(std::string_view a, std::string_view b);

// True when `text` begins with `prefix`, compared as equal_nocase does.
inline bool starts_with_nocase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equal_nocase(text.substr(0, prefix.size()), prefix);
}

}  // namespace trawlix
