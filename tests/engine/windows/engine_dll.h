// Loads cartex32.dll with LoadLibraryA and binds its exports by their plain
// names with GetProcAddress, as a 32-bit Windows host does; the bound
// pointers have the header's prototypes, so calls go through __stdcall.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "cartex32.h"
#include "check.h"

namespace cxw {

class EngineDll {
 public:
  EngineDll() : module_(LoadLibraryA("cartex32.dll")) {}
  ~EngineDll() {
    if (module_) FreeLibrary(module_);
  }
  EngineDll(const EngineDll&) = delete;
  EngineDll& operator=(const EngineDll&) = delete;

  HMODULE module() const { return module_; }

  template <typename F>
  F* bind(const char* name, const char* file, int line) {
    FARPROC p = module_ ? GetProcAddress(module_, name) : nullptr;
    if (!p) fail(file, line, std::string("cartex32.dll does not export ") + name);
    return reinterpret_cast<F*>(reinterpret_cast<void*>(p));
  }

  // The names of the DLL's export table, read from its loaded image.
  std::vector<std::string> exported_names() const {
    std::vector<std::string> names;
    if (!module_) return names;
    const auto* base = reinterpret_cast<const unsigned char*>(module_);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (dir.VirtualAddress == 0) return names;
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* name_rvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
      names.emplace_back(reinterpret_cast<const char*>(base + name_rvas[i]));
    return names;
  }

 private:
  HMODULE module_;
};

// Binds the export named like the header's declaration, with its type.
#define CX_BIND(dll, name) (dll).bind<decltype(::name)>(#name, __FILE__, __LINE__)

}  // namespace cxw
