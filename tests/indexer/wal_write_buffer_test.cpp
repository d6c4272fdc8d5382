// The database's log writes are gathered per transaction: every commit is
// in the log before another connection looks, and a killed process keeps
// what it committed and nothing else.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "shell/database.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

std::unique_ptr<Database> open_db(const std::string& path, Database::Mode mode) {
  std::string error;
  auto db = Database::open(path, mode, &error);
  EXPECT_TRUE(db) << error;
  return db;
}

// Row k holds k * 7919 bytes: the transactions range from one page of log
// to several megabytes, past every size the writes are gathered in.
constexpr int kCommits = 60;
int64_t bytes_of(int k) {
  return k == 30 ? 12 << 20 : k * 7919;
}

TEST(GatheredLog, CommitsAreSeenAtOnceAndOutliveAKilledProcess) {
  testing::TempDir dir;
  const std::string path = dir.file("t.db");
  {
    auto db = open_db(path, Database::Mode::kCreateNew);
    ASSERT_TRUE(db);
    ASSERT_EQ(db->query_rows("PRAGMA journal_mode = WAL")->at(0).at(0),
              DbValue(std::string("wal")));
    ASSERT_TRUE(db->exec("PRAGMA synchronous = NORMAL"));
    ASSERT_TRUE(db->exec("create table t (id integer primary key, v blob)"));
  }
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto db = open_db(path, Database::Mode::kOpenExisting);
    auto reader = open_db(path, Database::Mode::kOpenExisting);
    (void)db->exec("PRAGMA wal_autocheckpoint = 0");  // the kill finds it all in the log
    for (int k = 1; k <= kCommits; ++k) {
      Transaction tx(*db);
      if (!db->exec("insert into t values (?, randomblob(?))", {int64_t{k}, bytes_of(k)}) ||
          !tx.commit() || reader->query_int("select count(*) from t") != k) {
        _exit(1);
      }
    }
    Transaction open_one(*db);  // never committed
    (void)db->exec("insert into t values (?, randomblob(100000))", {int64_t{kCommits + 1}});
    kill(getpid(), SIGKILL);
    _exit(2);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed: status " << WEXITSTATUS(status);

  auto db = open_db(path, Database::Mode::kOpenExisting);
  ASSERT_TRUE(db);
  EXPECT_EQ(db->query_rows("PRAGMA integrity_check")->at(0).at(0), DbValue(std::string("ok")));
  EXPECT_EQ(db->query_int("select count(*) from t"), kCommits);
  int64_t want = 0;
  for (int k = 1; k <= kCommits; ++k) want += bytes_of(k);
  EXPECT_EQ(db->query_int("select sum(length(v)) from t"), want);
}

}  // namespace
}  // namespace trawlix
