// Loads the built engine library the way a host program does and binds its
// exports by name: dlopen/dlsym for libcartex32.so
// (engine_library_dlopen.cpp), LoadLibraryA/GetProcAddress for
// cartex32.dll (engine_library_win32.cpp). The host tests are written once
// over this interface.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cartex32.h"

namespace cx::testing {

class EngineLibrary {
 public:
  EngineLibrary();  // loads CARTEX32_LIBRARY_PATH
  ~EngineLibrary();
  EngineLibrary(const EngineLibrary&) = delete;
  EngineLibrary& operator=(const EngineLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // Why loading failed, in the system's words.
  const std::string& load_error() const { return error_; }
  // The dlopen handle or the HMODULE.
  void* native_handle() const { return handle_; }
  // Unloads the library now; false when the system refused.
  bool unload();

  // The export `name`, or null.
  void* symbol(const char* name) const;

  // The names the library's image exports (the defined dynamic symbols, or
  // the names of the export table), in the image's order.
  std::vector<std::string> exported_names() const;

  // The export `name` as a pointer of the declared type F (decltype of the
  // header's declaration); fails the test when the library lacks it.
  template <typename F>
  F* bind(const char* name) const {
    void* found = symbol(name);
    EXPECT_NE(found, nullptr) << "the engine library does not export " << name;
    return reinterpret_cast<F*>(found);
  }

 private:
  void* handle_;
  std::string error_;
};

// Binds the export named like the header's declaration, with its type.
#define CX_BIND(lib, name) (lib).bind<decltype(::name)>(#name)

}  // namespace cx::testing
