// Loading and unloading the library: no files are opened or created at load,
// no session exists until inigks, and unloading is clean.
#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

int open_descriptors() {
  int n = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir)) ++n;
    closedir(dir);
  }
  return n;
}

int entries_in(const std::string& path) {
  int n = 0;
  if (DIR* dir = opendir(path.c_str())) {
    while (dirent* e = readdir(dir))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") ++n;
    closedir(dir);
  }
  return n;
}

TEST(Load, OpensAndCreatesNoFiles) {
  char dir_template[] = "/tmp/cartex32_load_XXXXXX";
  ASSERT_NE(mkdtemp(dir_template), nullptr);
  char old_dir[4096];
  ASSERT_NE(getcwd(old_dir, sizeof old_dir), nullptr);
  ASSERT_EQ(chdir(dir_template), 0);

  const int before = open_descriptors();
  void* lib = dlopen(CARTEX32_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  EXPECT_EQ(open_descriptors(), before);
  EXPECT_EQ(entries_in("."), 0);
  EXPECT_EQ(dlclose(lib), 0);
  EXPECT_EQ(entries_in("."), 0);

  ASSERT_EQ(chdir(old_dir), 0);
  rmdir(dir_template);
}

}  // namespace
