// The base-wide edit lock: single-user without PERMISO.DAT, nesting within
// a process, and exclusion between processes.
#include "records/edit_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/files.h"
#include "support/recording_sink.h"
#include "support/temp_base.h"

namespace cx {
namespace {

using testing::RecordingSink;
using testing::TempBase;

class EditLock : public ::testing::Test {
 protected:
  void SetUp() override {
    set_lock_timing(1, 1);  // 101 quick attempts: about a tenth of a second
    ASSERT_EQ(cree_permiso(), 0);
  }
  void TearDown() override {
    cierre_permiso();
    set_lock_timing(10, 100);
  }
  // Whether another open of the lock file could take the lock now.
  static bool free_for_others() {
    const int other = files().open_shared("PERMISO.DAT");
    const bool free = files().try_lock(other, 0, 100);
    files().close(other);
    return free;
  }
  TempBase base;
  RecordingSink sink;
};

TEST_F(EditLock, WithoutTheLockFileOpenEditsAreSingleUser) {
  EXPECT_EQ(TempBase::size("PERMISO.DAT"), 100u);
  EXPECT_EQ(bloquee_base(), 1);
  EXPECT_TRUE(free_for_others());
  EXPECT_EQ(libere_base(), 0);
  EXPECT_EQ(libere_base(), 0);
}

TEST_F(EditLock, NestedEditsKeepTheLockUntilTheOutermostRelease) {
  ASSERT_EQ(abra_permiso(), 0);
  EXPECT_EQ(bloquee_base(), 1);
  EXPECT_FALSE(free_for_others());
  EXPECT_EQ(bloquee_base(), 1);  // an edit inside an edit
  EXPECT_EQ(libere_base(), 0);
  EXPECT_FALSE(free_for_others());  // still held for the outer edit
  EXPECT_EQ(libere_base(), 0);
  EXPECT_TRUE(free_for_others());
  EXPECT_EQ(libere_base(), -1);  // nothing left to release
}

TEST_F(EditLock, ASecondProcessWaitsAndGivesUpWhileTheFirstEdits) {
  ASSERT_EQ(abra_permiso(), 0);
  int to_child[2], to_parent[2];
  ASSERT_EQ(pipe(to_child), 0);
  ASSERT_EQ(pipe(to_parent), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The other copy of the host: opens the base's lock, edits, waits.
    char c = 0;
    abra_permiso();
    const char took = bloquee_base() == 1 ? 'y' : 'n';
    (void)!write(to_parent[1], &took, 1);
    (void)!read(to_child[0], &c, 1);
    const char released = libere_base() == 0 ? 'y' : 'n';
    (void)!write(to_parent[1], &released, 1);
    (void)!read(to_child[0], &c, 1);
    _exit(0);
  }
  char reply = 0;
  ASSERT_EQ(read(to_parent[0], &reply, 1), 1);
  EXPECT_EQ(reply, 'y');
  EXPECT_EQ(bloquee_base(), 0);  // gives up after its attempts
  EXPECT_EQ(libere_base(), -1);  // it holds nothing

  const char go = 'g';
  ASSERT_EQ(write(to_child[1], &go, 1), 1);
  ASSERT_EQ(read(to_parent[0], &reply, 1), 1);
  EXPECT_EQ(reply, 'y');
  EXPECT_EQ(bloquee_base(), 1);  // the other edit has ended
  EXPECT_EQ(libere_base(), 0);
  ASSERT_EQ(write(to_child[1], &go, 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace cx
