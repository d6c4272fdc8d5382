// EngineLibrary over LoadLibraryA, as a 32-bit Windows host loads
// cartex32.dll; the bound pointers have the header's prototypes, so calls
// go through __stdcall. The exported names come from the loaded image's
// export table.
#include <windows.h>

#include "support/engine_library.h"

namespace cx::testing {

EngineLibrary::EngineLibrary() : handle_(LoadLibraryA(CARTEX32_LIBRARY_PATH)) {
  if (!handle_) error_ = "LoadLibraryA failed, error " + std::to_string(GetLastError());
}

EngineLibrary::~EngineLibrary() {
  unload();
}

bool EngineLibrary::unload() {
  if (!handle_) return true;
  const bool freed = FreeLibrary(static_cast<HMODULE>(handle_)) != 0;
  handle_ = nullptr;
  return freed;
}

void* EngineLibrary::symbol(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::vector<std::string> EngineLibrary::exported_names() const {
  std::vector<std::string> names;
  if (!handle_) return names;
  const auto* base = static_cast<const unsigned char*>(handle_);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (dir.VirtualAddress == 0) return names;
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  const auto* name_rvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    names.emplace_back(reinterpret_cast<const char*>(base + name_rvas[i]));
  return names;
}

}  // namespace cx::testing
