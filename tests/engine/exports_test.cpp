// The library exports exactly names of exports.txt: every defined symbol of
// its dynamic symbol table is checked against the list.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::set<std::string> listed_names() {
  std::ifstream in(CARTEX32_EXPORT_LIST);
  std::set<std::string> names;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name;
    if (words >> name && name[0] != '#') names.insert(name);
  }
  return names;
}

template <typename T>
T read_at(const std::vector<char>& image, std::size_t offset) {
  T value{};
  if (offset + sizeof(T) <= image.size()) std::memcpy(&value, image.data() + offset, sizeof(T));
  return value;
}

// The names of the defined global and weak symbols in .dynsym.
std::vector<std::string> exported_names(const std::vector<char>& image) {
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

TEST(Exports, EveryExportedNameIsListed) {
  std::ifstream in(CARTEX32_LIBRARY_PATH, std::ios::binary);
  ASSERT_TRUE(in) << CARTEX32_LIBRARY_PATH;
  const std::vector<char> image{std::istreambuf_iterator<char>(in), {}};
  const std::set<std::string> listed = listed_names();
  ASSERT_GT(listed.size(), 250u);

  const std::vector<std::string> exported = exported_names(image);
  // The frame is always there; an empty reading would prove nothing.
  ASSERT_NE(std::find(exported.begin(), exported.end(), "paselong"), exported.end());
  for (const std::string& name : exported)
    EXPECT_TRUE(listed.count(name)) << name << " is exported but not in exports.txt";
}

}  // namespace
