// Allocation with a reported failure. Blocks are released with std::free,
// which tolerates null.
#pragma once

#include <cstddef>

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

}  // namespace cx
