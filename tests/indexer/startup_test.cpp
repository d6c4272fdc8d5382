// The WorkSpace the desktop program starts in.
#include "shell/startup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "base/paths.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(StartupWorkspace, IsTheProgramFolderWhenItIsWritable) {
  testing::TempDir program;
  EXPECT_EQ(startup_workspace_dir(program.path()), program.path());
}

TEST(StartupWorkspace, IsTheUserDataFolderForAnInstalledProgram) {
  testing::TempDir data;
  ScopedEnv xdg("XDG_DATA_HOME", data.path().c_str());
  std::string dir = startup_workspace_dir("/no/such/program/folder");
  EXPECT_EQ(dir, data.path() + "/trawlix");
  EXPECT_TRUE(is_directory(dir));
  // Already there the second time.
  EXPECT_EQ(startup_workspace_dir(""), dir);
}

TEST(StartupWorkspace, DataFolderDefaultsToLocalShareUnderHome) {
  testing::TempDir home;
  ScopedEnv no_xdg("XDG_DATA_HOME", "relative/is/ignored");
  ScopedEnv home_env("HOME", home.path().c_str());
  EXPECT_EQ(user_data_directory(), home.path() + "/.local/share/trawlix");
  std::string dir = startup_workspace_dir("/no/such/program/folder");
  EXPECT_EQ(dir, home.path() + "/.local/share/trawlix");
  EXPECT_TRUE(is_directory(dir));
}

}  // namespace
}  // namespace trawlix
