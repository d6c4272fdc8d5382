// A host's message callback for tests: every text the engine shows is kept
// in the std::vector<std::string> passed as the callback's user pointer, and
// each box is answered OK.
#pragma once

#include <string>
#include <vector>

#include "cartex32.h"

namespace cx::testing {

inline int32_t CX_CALL keep_message(void* user, int32_t, const char*, const char* text, int32_t) {
  static_cast<std::vector<std::string>*>(user)->push_back(text);
  return CX_IDOK;
}

}  // namespace cx::testing
