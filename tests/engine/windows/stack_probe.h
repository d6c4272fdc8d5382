// Calls a function the way a 32-bit Windows host calls an export, and
// measures what the call did to the stack pointer: the argument slots are
// pushed right to left, the function is called, and the distance between
// the stack pointer before the pushes and after the return is given back.
// It is 0 when the callee removed exactly its own arguments (__stdcall);
// a __cdecl callee leaves 4 bytes a slot behind.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "check.h"

extern "C" int32_t cxw_call_slots(const void* function, const uint32_t* slots, int32_t count,
                                  uint32_t* result);

namespace cxw {

// The 4-byte slots the arguments of F take on the stack.
template <typename R, typename... A>
constexpr int32_t slots_of(R(__stdcall*)(A...)) {
  return (0 + ... + static_cast<int32_t>((sizeof(A) + 3) / 4));
}

// Argument slots built from values: integers of 4 bytes or less take one
// slot, doubles two (low word first), pointers one.
struct Slots {
  uint32_t words[32];
  int32_t count = 0;

  template <typename T>
  Slots& operator<<(T value) {
    if constexpr (sizeof(T) == 8) {
      uint64_t bits;
      __builtin_memcpy(&bits, &value, 8);
      words[count++] = static_cast<uint32_t>(bits);
      words[count++] = static_cast<uint32_t>(bits >> 32);
    } else if constexpr (std::is_pointer_v<T>) {
      words[count++] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value));
    } else {
      words[count++] = static_cast<uint32_t>(value);
    }
    return *this;
  }
};

// Calls function with slots and fails the case unless it removed exactly
// its own arguments. A null function (not exported) was already reported.
template <typename F>
void balanced(F* function, const Slots& slots, const char* name, const char* file, int line) {
  if (!function) return;
  if (slots_of(function) != slots.count)
    fail(file, line, std::string(name) + ": the test passes the wrong slots");
  uint32_t result = 0;
  const int32_t drift =
      cxw_call_slots(reinterpret_cast<const void*>(function), slots.words, slots.count, &result);
  if (drift != 0) fail(file, line, std::string(name) + " left the stack off");
}

}  // namespace cxw

#define BALANCED(dll, name, slots) \
  ::cxw::balanced(CX_BIND(dll, name), slots, #name, __FILE__, __LINE__)
