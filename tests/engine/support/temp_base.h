// A scratch base directory for one test: created empty under the system's
// temporary folder, made the current directory (the engine's file names are
// relative to it) and removed with its files. The one helper of the Linux
// and the Windows suites alike.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace cx::testing {

class TempBase {
 public:
  TempBase() {
    namespace fs = std::filesystem;
    old_ = fs::current_path();
    std::random_device random;
    const fs::path parent = fs::temp_directory_path();
    std::error_code error;
    // A fresh name: create_directory says false for one that exists.
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const fs::path candidate = parent / ("cartex32_base_" + std::to_string(random()));
      if (fs::create_directory(candidate, error)) path_ = candidate.string();
    }
    fs::current_path(path_);
  }
  ~TempBase() {
    std::error_code ignored;
    std::filesystem::current_path(old_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempBase(const TempBase&) = delete;
  TempBase& operator=(const TempBase&) = delete;

  const std::string& path() const { return path_; }

  // Files and folders in the base.
  int entries() const {
    int n = 0;
    std::error_code ignored;
    for (auto it = std::filesystem::directory_iterator(path_, ignored);
         it != std::filesystem::directory_iterator(); ++it)
      ++n;
    return n;
  }

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
