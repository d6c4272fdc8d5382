// pida_memoria and its replaceable allocator.
#include "frame/memory.h"

#include <cstdlib>
#include <cstring>

#include "frame/messages.h"

namespace cx {

namespace {
void* system_allocate(std::size_t size) {
  return std::malloc(size);
}
Allocator allocate = system_allocate;
}  // namespace

Allocator set_allocator(Allocator allocator) {
  Allocator previous = allocate;
  allocate = allocator ? allocator : system_allocate;
  return previous;
}

void* asigne_ceros(std::size_t size) {
  if (size == 0) size = 1;
  void* block = allocate(size);
  if (block) std::memset(block, 0, size);
  return block;
}

void* pida_memoria(std::size_t size, const char* label) {
  void* block = asigne_ceros(size);
  if (!block) informe_error("ERROR de memoria : %s; X: abortar ->", label ? label : "");
  return block;
}

}  // namespace cx
