// A scratch base directory: created empty, made the current directory (the
// engine's file names are relative to it) and removed with its files.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace cx::testing {

class TempBase {
 public:
  TempBase() {
    char name[] = "/tmp/cartex32_base_XXXXXX";
    path_ = mkdtemp(name) ? name : "";
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~TempBase() {
    std::filesystem::current_path(old_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempBase(const TempBase&) = delete;
  TempBase& operator=(const TempBase&) = delete;

  const std::string& path() const { return path_; }

  static std::vector<unsigned char> bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void write(const std::string& file, const std::vector<unsigned char>& data) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
  }
  static bool exists(const std::string& file) { return std::filesystem::exists(file); }
  static std::uintmax_t size(const std::string& file) { return std::filesystem::file_size(file); }

 private:
  std::string path_;
  std::filesystem::path old_;
};

}  // namespace cx::testing
