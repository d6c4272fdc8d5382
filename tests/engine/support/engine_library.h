// Loads the built libcartex32.so with dlopen and binds exports by name, the
// way a host program does.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "cartex32.h"

namespace cx::testing {

class EngineLibrary {
 public:
  EngineLibrary() : handle_(dlopen(CARTEX32_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {}
  ~EngineLibrary() {
    if (handle_) dlclose(handle_);
  }
  EngineLibrary(const EngineLibrary&) = delete;
  EngineLibrary& operator=(const EngineLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }

  // The export `name` as a pointer of the declared type F (decltype of the
  // header's declaration); fails the test when the library lacks it.
  template <typename F>
  F* bind(const char* name) {
    void* symbol = handle_ ? dlsym(handle_, name) : nullptr;
    EXPECT_NE(symbol, nullptr) << "libcartex32 does not export " << name;
    return reinterpret_cast<F*>(symbol);
  }

 private:
  void* handle_;
};

// Binds the export named like the header's declaration, with its type.
#define CX_BIND(lib, name) (lib).bind<decltype(::name)>(#name)

}  // namespace cx::testing
