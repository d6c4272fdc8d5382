// Runs of separate processes on one WorkSpace over a real HTTP server: a
// second crawl refused while the first runs, and the tables then those of
// one crawl; a crawl that waits for another process's write; a crawl on a
// full disk; a run killed while it held the WorkSpace.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "cli/cli.h"
#include "support/cli_process.h"
#include "support/cli_run.h"
#include "support/http_server.h"
#include "support/index_invariants.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

using testing::run_cli;

// A site of six pages. While the gate is closed, the request for p3.htm
// waits for it; the test learns when that request came.
class Site {
 public:
  Site() {
    server_.server().Get(
        R"(/d/(\w+)\.htm)", [this](const httplib::Request& req, httplib::Response& res) {
          std::string name = req.matches[1];
          if (name == "p3") wait_at_gate();
          std::string body = "<title>Page " + name + "</title><p>words of " + name + " shared";
          if (name == "index") {
            for (int k = 1; k <= 5; ++k) body += " <a href=p" + std::to_string(k) + ".htm>p</a>";
          }
          res.set_content(body + "</p>", "text/html");
        });
  }
  ~Site() { open_gate(); }

  std::string start() const { return server_.url("/d/index.htm"); }
  void close_gate() {
    std::lock_guard<std::mutex> hold(mutex_);
    closed_ = true;
    waiting_ = false;
  }
  void open_gate() {
    std::lock_guard<std::mutex> hold(mutex_);
    closed_ = false;
    changed_.notify_all();
  }
  // Waits until a request stands at the closed gate.
  bool wait_for_visitor() {
    std::unique_lock<std::mutex> hold(mutex_);
    return changed_.wait_for(hold, std::chrono::minutes(1), [this] { return waiting_; });
  }

 private:
  void wait_at_gate() {
    std::unique_lock<std::mutex> hold(mutex_);
    if (!closed_) return;
    waiting_ = true;
    changed_.notify_all();
    changed_.wait_for(hold, std::chrono::minutes(1), [this] { return !closed_; });
  }

  testing::TestHttpServer server_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool closed_ = false;
  bool waiting_ = false;
};

std::string new_workspace(const std::string& dir, const std::string& start) {
  EXPECT_EQ(run_cli({"-w", dir, "init"}).status, cli::kExitOk);
  EXPECT_EQ(run_cli({"-w", dir, "add-url", start, "--depth", "3"}).status, cli::kExitOk);
  return dir;
}

std::unique_ptr<Database> open_db(const std::string& dir) {
  return Database::open(dir + "/lexmine.mdb", Database::Mode::kOpenExisting, nullptr);
}

// Everything one crawl leaves in the tables, in a form to compare.
std::vector<std::vector<DbValue>> tables(const std::string& dir) {
  auto db = open_db(dir);
  if (!db) return {};
  std::vector<std::vector<DbValue>> out;
  for (const char* sql :
       {"select DocID, URLDocument, URLDescription, URLLevel, URLParent, nStatus, bIndexed "
        "from Docs order by DocID",
        "select Word, Occurrences from Words order by Word",
        "select DocID, Word, WordsDocs.Occurrences from WordsDocs join Words using (WordID) "
        "order by DocID, Word"}) {
    auto rows = db->query_rows(sql);
    if (rows) out.insert(out.end(), rows->begin(), rows->end());
  }
  return out;
}

TEST(WorkspaceRuns, ASecondCrawlIsRefusedWhileTheFirstRunsAndTheTablesAreThoseOfOne) {
  Site site;
  testing::TempDir dir;
  std::string ws = new_workspace(dir.file("ws"), site.start());
  std::string alone = new_workspace(dir.file("alone"), site.start());
  ASSERT_EQ(run_cli({"-w", alone, "crawl"}).status, cli::kExitOk);

  site.close_gate();
  testing::CliProcess first({"-w", ws, "crawl"});
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(site.wait_for_visitor());
  for (const char* command : {"crawl", "survey"}) {
    testing::CliResult second = run_cli({"-w", ws, command});
    EXPECT_EQ(second.status, cli::kExitFailure) << command;
    EXPECT_NE(second.err.find("The WorkSpace is busy: a crawl (process "), std::string::npos)
        << second.err;
  }
  testing::CliResult fetch = run_cli({"-w", ws, "fetch", site.start()});
  EXPECT_EQ(fetch.status, cli::kExitFailure);
  // Searches, lists and statistics go on beside the crawl.
  EXPECT_EQ(run_cli({"-w", ws, "search", "shared"}).status, cli::kExitOk);
  EXPECT_EQ(run_cli({"-w", ws, "list"}).status, cli::kExitOk);
  EXPECT_EQ(run_cli({"-w", ws, "stats"}).status, cli::kExitOk);
  site.open_gate();
  EXPECT_EQ(first.wait(), cli::kExitOk);

  std::vector<std::vector<DbValue>> both = tables(ws);
  EXPECT_EQ(both, tables(alone));
  EXPECT_EQ(open_db(ws)->query_int("select count(*) from Docs where bIndexed = -1"), 6);
  testing::expect_consistent_index(*open_db(ws));
}

TEST(WorkspaceRuns, TheWorkSpaceIsFreeAgainWhenItsRunIsKilled) {
  Site site;
  testing::TempDir dir;
  std::string ws = new_workspace(dir.file("ws"), site.start());
  site.close_gate();
  {
    testing::CliProcess first({"-w", ws, "crawl"});
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(site.wait_for_visitor());
    first.kill_now();
    first.wait();
  }
  site.open_gate();
  testing::CliResult again = run_cli({"-w", ws, "crawl"});
  EXPECT_EQ(again.status, cli::kExitOk) << again.err;
  EXPECT_EQ(open_db(ws)->query_int("select count(*) from Docs where bIndexed = -1"), 6);
  testing::expect_consistent_index(*open_db(ws));
}

TEST(WorkspaceRuns, ACrawlWaitsForAnotherProcessThatHoldsTheDatabaseForASecond) {
  Site site;
  testing::TempDir dir;
  std::string ws = new_workspace(dir.file("ws"), site.start());
  ASSERT_EQ(run_cli({"-w", ws, "crawl"}).status, cli::kExitOk);
  // Another program writes to the database and keeps its write lock a second.
  std::string script = dir.file("hold.py");
  std::ofstream(script) << "import sqlite3, sys, time\n"
                           "db = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                           "db.execute('begin immediate')\n"
                           "db.execute('update Docs set nMaxDepth = nMaxDepth')\n"
                           "print('locked', flush=True)\n"
                           "time.sleep(1)\n"
                           "db.execute('commit')\n";
  FILE* holder = popen(("python3 " + script + " " + ws + "/lexmine.mdb").c_str(), "r");
  ASSERT_TRUE(holder);
  char line[16] = {};
  ASSERT_TRUE(fgets(line, sizeof line, holder)) << "python3 with sqlite3 is needed";
  ASSERT_STREQ(line, "locked\n");
  testing::CliResult crawl = run_cli({"-w", ws, "crawl", "--restart"});
  EXPECT_EQ(pclose(holder), 0);
  EXPECT_EQ(crawl.status, cli::kExitOk) << crawl.err;
  EXPECT_EQ(crawl.err.find("locked"), std::string::npos) << crawl.err;
  EXPECT_EQ(open_db(ws)->query_int("select count(*) from Docs where nStatus = 1"), 6);
  testing::expect_consistent_index(*open_db(ws));
}

// A small file system of its own, filled to the last byte on request.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& dir) : dir_(dir) {
    std::filesystem::create_directories(dir);
    mounted_ = ::mount("trawlix-test", dir.c_str(), "tmpfs", 0, "size=4m") == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  void fill() {
    std::FILE* f = std::fopen((dir_ + "/filler").c_str(), "ab");
    std::string block(4096, 'x');
    while (f && std::fwrite(block.data(), 1, block.size(), f) == block.size()) {
    }
    if (f) std::fclose(f);
  }
  void free() { std::filesystem::remove(dir_ + "/filler"); }

 private:
  std::string dir_;
  bool mounted_ = false;
};

TEST(WorkspaceRuns, AFullDiskStopsTheCrawlWithStatus3AndAConsistentIndex) {
  Site site;
  testing::TempDir dir;
  SmallDisk disk(dir.file("disk"));
  if (!disk.mounted()) {
    GTEST_SKIP() << "no tmpfs can be mounted here; CrawlFaults covers a full database";
  }
  std::string ws = new_workspace(dir.file("disk/ws"), site.start());
  ASSERT_EQ(run_cli({"-w", ws, "crawl"}).status, cli::kExitOk);
  std::vector<std::vector<DbValue>> before = tables(ws);

  // The disk fills while the crawl waits for p3.htm: p3 fails, and the
  // crawl stops there.
  site.close_gate();
  std::vector<std::string> rows;
  {
    testing::CliProcess crawl({"-w", ws, "crawl", "--restart"});
    ASSERT_TRUE(crawl.started());
    ASSERT_TRUE(site.wait_for_visitor());
    disk.fill();
    site.open_gate();
    std::string line;
    while (crawl.read_line(&line)) rows.push_back(line);
    EXPECT_EQ(crawl.wait(), cli::kExitFailure);
  }
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3].find("4\tindexed\t"), std::string::npos) << rows[3];
  // A crawl begun on a full disk fails at once, and says why. (The first
  // one freed its log as it ended: fill what it freed.)
  disk.fill();
  testing::CliResult full = run_cli({"-w", ws, "crawl"});
  EXPECT_EQ(full.status, cli::kExitFailure) << full.out;
  EXPECT_FALSE(full.err.empty());

  disk.free();
  testing::expect_consistent_index(*open_db(ws));
  // With room again the crawl ends as the first one did.
  ASSERT_EQ(run_cli({"-w", ws, "crawl", "--restart"}).status, cli::kExitOk);
  EXPECT_EQ(tables(ws), before);
}

}  // namespace
}  // namespace trawlix
