// Loading and unloading the library: no files are opened or created at load,
// no session exists until inigks, and unloading is clean.
#include <dirent.h>
#include <gtest/gtest.h>

#include <string>

#include "support/engine_library.h"
#include "support/temp_base.h"

namespace {

int open_descriptors() {
  int n = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir)) ++n;
    closedir(dir);
  }
  return n;
}

TEST(Load, OpensAndCreatesNoFiles) {
  cx::testing::TempBase base;
  const int before = open_descriptors();
  cx::testing::EngineLibrary lib;
  ASSERT_TRUE(lib.loaded()) << CARTEX32_LIBRARY_PATH;
  EXPECT_EQ(open_descriptors(), before);
  EXPECT_EQ(base.entries(), 0);
  EXPECT_TRUE(lib.unload());
  EXPECT_EQ(base.entries(), 0);
}

}  // namespace
