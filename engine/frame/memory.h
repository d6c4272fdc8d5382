// Allocation with a reported failure. Blocks are released with std::free,
// which tolerates null.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <type_traits>

namespace cx {

// Allocates size bytes filled with zeros. On failure shows
// "ERROR de memoria : <label>; X: abortar ->" and returns null; callers
// treat null as the failure of their operation. A size of 0 is taken as 1,
// so that success is never mistaken for failure.
void* pida_memoria(std::size_t size, const char* label);

// The same zeroed allocation without a message, for callers that report a
// failure in their own words. Null on failure.
void* asigne_ceros(std::size_t size);

// The allocation beneath pida_memoria: std::malloc unless replaced. Tests
// install one that fails on purpose; it must return std::free-able blocks.
using Allocator = void* (*)(std::size_t size);
Allocator set_allocator(Allocator allocator);  // null restores std::malloc

// An array from the allocator above, released with std::free when its owner
// goes. Null when empty or when the allocation failed.
struct LibereConFree {
  void operator()(void* block) const { std::free(block); }
};
template <typename T>
using Arreglo = std::unique_ptr<T[], LibereConFree>;

// count zeroed elements of a trivial type; null (without a message) when
// the allocator fails.
template <typename T>
Arreglo<T> asigne_arreglo(std::size_t count) {
  static_assert(std::is_trivial_v<T>, "the allocator gives raw zeroed memory");
  return Arreglo<T>(static_cast<T*>(asigne_ceros(count * sizeof(T))));
}

// The same with pida_memoria's message naming `label` on failure.
template <typename T>
Arreglo<T> pida_arreglo(std::size_t count, const char* label) {
  static_assert(std::is_trivial_v<T>, "the allocator gives raw zeroed memory");
  return Arreglo<T>(static_cast<T*>(pida_memoria(count * sizeof(T), label)));
}

}  // namespace cx
