// A fresh directory under the system's temporary folder, removed with its
// contents at the end of the test. The one scratch-folder helper of every
// suite: the indexer's, the engine's (TempBase makes it the current
// directory) and the Windows ones under Wine.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace trawlix::testing {

class TempDir {
 public:
  TempDir() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path parent = fs::temp_directory_path(ec);
    std::random_device random;
    // create_directory says false for a name that exists: try another.
    for (int attempt = 0; attempt < 100 && path_.empty() && !ec; ++attempt) {
      const fs::path candidate = parent / ("trawlix-test-" + std::to_string(random()));
      if (fs::create_directory(candidate, ec)) path_ = candidate.string();
    }
  }
  ~TempDir() {
    if (path_.empty()) return;
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Empty when no directory could be made.
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

  // Files and folders in it.
  int entries() const {
    int n = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec))
      ++n;
    return n;
  }

 private:
  std::string path_;
};

}  // namespace trawlix::testing
