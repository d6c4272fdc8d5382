// load_engine over dlopen/dlsym.
#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "engine.h"

namespace cartex {

namespace {

std::filesystem::path program_folder() {
  std::error_code failed;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", failed);
  return failed ? std::filesystem::path() : self.parent_path();
}

void* open_library(std::string* error) {
  std::vector<std::string> tries;
  if (const char* named = getenv("CARTEX32_LIBRARY"); named && *named) {
    tries.push_back(named);
  } else {
    const auto folder = program_folder();
    if (!folder.empty()) {
      tries.push_back(
          (folder / CARTEX_BIN_TO_LIB / "libcartex32.so.0").lexically_normal().string());
      tries.push_back((folder.parent_path() / "lib" / "libcartex32.so.0").string());
      tries.push_back((folder / "libcartex32.so.0").string());
    }
    tries.push_back("libcartex32.so.0");
  }
  std::string reasons;
  for (const std::string& path : tries) {
    if (path.find('/') != std::string::npos && !std::filesystem::exists(path)) continue;
    if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    reasons += std::string(reasons.empty() ? "" : "; ") + dlerror();
  }
  *error = "cannot load the engine library libcartex32.so.0" +
           (reasons.empty() ? std::string() : " (" + reasons + ")");
  return nullptr;
}

}  // namespace

const Engine* load_engine(std::string* error) {
  static Engine engine;
  static bool loaded = false;
  if (loaded) return &engine;
  void* handle = open_library(error);
  if (!handle) return nullptr;
#define CARTEX_ENGINE_BIND(name)                                                 \
  engine.name = reinterpret_cast<decltype(engine.name)>(dlsym(handle, #name));   \
  if (!engine.name) {                                                            \
    *error = "the engine library does not export " #name " (an older version?)"; \
    return nullptr;                                                              \
  }
  CARTEX_ENGINE_EXPORTS(CARTEX_ENGINE_BIND)
#undef CARTEX_ENGINE_BIND
  loaded = true;
  return &engine;
}

}  // namespace cartex
