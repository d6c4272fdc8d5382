// EngineLibrary over dlopen, and the exported names read from the ELF
// file's dynamic symbol table.
#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "support/engine_library.h"

namespace cx::testing {

namespace {

template <typename T>
T read_at(const std::vector<char>& image, std::size_t offset) {
  T value{};
  if (offset + sizeof(T) <= image.size()) std::memcpy(&value, image.data() + offset, sizeof(T));
  return value;
}

}  // namespace

EngineLibrary::EngineLibrary() : handle_(dlopen(CARTEX32_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) error_ = dlerror();
}

EngineLibrary::~EngineLibrary() {
  unload();
}

bool EngineLibrary::unload() {
  if (!handle_) return true;
  const bool closed = dlclose(handle_) == 0;
  handle_ = nullptr;
  return closed;
}

void* EngineLibrary::symbol(const char* name) const {
  return handle_ ? dlsym(handle_, name) : nullptr;
}

// The names of the defined global and weak symbols in .dynsym.
std::vector<std::string> EngineLibrary::exported_names() const {
  std::ifstream in(CARTEX32_LIBRARY_PATH, std::ios::binary);
  const std::vector<char> image{std::istreambuf_iterator<char>(in), {}};
  std::vector<std::string> names;
  const auto header = read_at<Elf64_Ehdr>(image, 0);
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
    return names;
  for (int i = 0; i < header.e_shnum; ++i) {
    const auto section = read_at<Elf64_Shdr>(image, header.e_shoff + i * header.e_shentsize);
    if (section.sh_type != SHT_DYNSYM) continue;
    const auto strings =
        read_at<Elf64_Shdr>(image, header.e_shoff + section.sh_link * header.e_shentsize);
    for (std::size_t off = 0; off + sizeof(Elf64_Sym) <= section.sh_size;
         off += sizeof(Elf64_Sym)) {
      const auto sym = read_at<Elf64_Sym>(image, section.sh_offset + off);
      const int binding = ELF64_ST_BIND(sym.st_info);
      if (sym.st_shndx == SHN_UNDEF || sym.st_name == 0) continue;
      if (binding != STB_GLOBAL && binding != STB_WEAK && binding != STB_GNU_UNIQUE) continue;
      names.emplace_back(image.data() + strings.sh_offset + sym.st_name);
    }
  }
  return names;
}

}  // namespace cx::testing
