// Loading the engine library by name and binding its byte-order writers.
#include "search/engine_byte_order.h"

#include <dlfcn.h>

#include <cstdlib>

#include "base/paths.h"

namespace trawlix {

std::vector<std::string> engine_library_candidates() {
  if (const char* path = std::getenv(kEngineLibraryVariable); path && *path) return {path};
  std::string exe_dir = program_directory();
  return {join_path(exe_dir, kEngineLibrary),
          join_path(exe_dir, std::string("../lib/") + kEngineLibrary), kEngineLibrary};
}

EngineByteOrder::EngineByteOrder(std::vector<std::string> candidates)
    : candidates_(std::move(candidates)) {}

EngineByteOrder::~EngineByteOrder() {
  if (handle_) dlclose(handle_);
}

bool EngineByteOrder::bind(std::string* error) {
  if (paselong_ && paseint_) return true;
  std::string reasons;
  for (const std::string& name : candidates_) {
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = dlerror();
      reasons += '\r';
      reasons += why ? why : name.c_str();
      continue;
    }
    auto long_writer = reinterpret_cast<LongWriter>(dlsym(handle, "paselong"));
    auto int_writer = reinterpret_cast<IntWriter>(dlsym(handle, "paseint"));
    if (!long_writer || !int_writer) {
      reasons += "\r" + name + ": the functions paselong and paseint are missing";
      dlclose(handle);
      continue;
    }
    handle_ = handle;
    paselong_ = long_writer;
    paseint_ = int_writer;
    return true;
  }
  if (error) {
    *error = std::string("The map engine library ") + kEngineLibrary +
             " could not be loaded, and the web index is written with its functions "
             "paselong and paseint." +
             (reasons.empty() ? std::string("\rNo place to look for it was given.") : reasons);
  }
  return false;
}

void EngineByteOrder::paselong(int32_t value, uint8_t* out) const {
  paselong_(&value, out);
}

void EngineByteOrder::paseint(int16_t value, uint8_t* out) const {
  paseint_(&value, out);
}

EngineByteOrder& engine_byte_order() {
  static EngineByteOrder binding(engine_library_candidates());
  return binding;
}

}  // namespace trawlix
