// A scratch base directory: a fresh TempDir made the current directory (the
// engine's file names are relative to it) until the test ends, with the
// file helpers of the engine's tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "../../support/temp_dir.h"

namespace cx::testing {

class TempBase {
 public:
  TempBase() : old_(std::filesystem::current_path()) { std::filesystem::current_path(dir_.path()); }
  // Back to where the test was before the folder goes (a current directory
  // cannot be removed on Windows).
  ~TempBase() {
    std::error_code ignored;
    std::filesystem::current_path(old_, ignored);
  }
  TempBase(const TempBase&) = delete;
  TempBase& operator=(const TempBase&) = delete;

  const std::string& path() const { return dir_.path(); }
  int entries() const { return dir_.entries(); }

  static std::vector<unsigned char> bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void write(const std::string& file, const std::vector<unsigned char>& data) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
  }
  // Appends a record to a table file of the base and counts it in the
  // header's first four bytes; false when the file is not whole records.
  template <typename Record>
  static bool append(const std::string& file, const Record& record) {
    std::vector<unsigned char> data = bytes(file);
    if (data.size() % sizeof record != 0) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(&record);
    data.insert(data.end(), p, p + sizeof record);
    const uint32_t count = static_cast<uint32_t>(data.size() / sizeof record - 1);
    for (int i = 0; i < 4; ++i) data[i] = static_cast<unsigned char>(count >> (8 * i));
    write(file, data);
    return true;
  }
  static bool exists(const std::string& file) { return std::filesystem::exists(file); }
  static std::uintmax_t size(const std::string& file) { return std::filesystem::file_size(file); }

 private:
  std::filesystem::path old_;
  trawlix::testing::TempDir dir_;
};

}  // namespace cx::testing
