// Separate processes on one WorkSpace over a real HTTP server: a second run
// refused while a crawl runs, a crawl that waits for another program's
// write, a full disk (a small tmpfs).
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/cli_process.h"
#include "support/cli_run.h"
#include "support/http_server.h"
#include "support/index_invariants.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

using testing::run_cli;

// Six pages; while the gate is shut, the request for p3.htm waits at it.
struct Site {
  Site() {
    server.server().Get(R"(/(\w+)\.htm)", [this](const httplib::Request& req, auto& res) {
      std::string name = req.matches[1], body = "<title>" + name + "</title><p>of " + name;
      std::unique_lock<std::mutex> hold(mutex);
      if (shut && name == "p3") {
        waiting = true;
        changed.notify_all();
        changed.wait_for(hold, std::chrono::minutes(1), [this] { return !shut; });
      }
      for (int k = 1; k <= 5 && name == "index"; ++k)
        body += " <a href=p" + std::to_string(k) + ".htm>";
      res.set_content(body, "text/html");
    });
  }
  void open() {
    std::lock_guard<std::mutex> hold(mutex);
    shut = false;
    changed.notify_all();
  }
  bool visited() {
    std::unique_lock<std::mutex> hold(mutex);
    return changed.wait_for(hold, std::chrono::minutes(1), [this] { return waiting; });
  }
  std::string workspace(const std::string& dir) {
    EXPECT_EQ(run_cli({"-w", dir, "init"}).status, 0);
    EXPECT_EQ(run_cli({"-w", dir, "add-url", server.url("/index.htm")}).status, 0);
    return dir;
  }
  ~Site() { open(); }

  testing::TestHttpServer server;
  std::mutex mutex;
  std::condition_variable changed;
  bool shut = true, waiting = false;
};

std::vector<std::vector<DbValue>> tables(const std::string& dir) {
  auto db = Database::open(dir + "/lexmine.mdb", Database::Mode::kOpenExisting, nullptr);
  testing::expect_consistent_index(*db);
  return *db->query_rows(
      "select DocID, URLDocument, URLDescription, nStatus, bIndexed, Word, WordsDocs.Occurrences "
      "from Docs left join WordsDocs using (DocID) left join Words using (WordID) order by 1, 6");
}

TEST(WorkspaceRuns, ASecondRunIsRefusedWhileACrawlRunsAndTheTablesAreThoseOfOne) {
  Site site;
  testing::TempDir dir;
  std::string ws = site.workspace(dir.file("ws")), alone = site.workspace(dir.file("alone"));
  testing::CliProcess first({"-w", ws, "crawl"});
  ASSERT_TRUE(site.visited());
  for (const char* command : {"crawl", "survey"}) {
    testing::CliResult second = run_cli({"-w", ws, command});
    EXPECT_EQ(second.status, 3);
    EXPECT_NE(second.err.find("The WorkSpace is busy: a crawl (process "), std::string::npos)
        << second.err;
  }
  EXPECT_EQ(run_cli({"-w", ws, "search", "of"}).status, 0);  // searches go on beside it
  site.open();
  EXPECT_EQ(first.wait(), 0);
  ASSERT_EQ(run_cli({"-w", alone, "crawl"}).status, 0);
  EXPECT_EQ(tables(ws), tables(alone));
}

TEST(WorkspaceRuns, ACrawlWaitsForAnotherProgramThatHoldsTheDatabaseForASecond) {
  Site site;
  site.open();
  testing::TempDir dir;
  std::string ws = site.workspace(dir.file("ws"));
  std::ofstream(dir.file("hold.py")) << "import sqlite3, sys, time\n"
                                        "db = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                        "db.execute('begin immediate')\n"
                                        "db.execute('update Docs set nMaxDepth = nMaxDepth')\n"
                                        "print('locked', flush=True)\n"
                                        "time.sleep(1)\n"
                                        "db.execute('commit')\n";
  FILE* other = popen(("python3 " + dir.file("hold.py") + " " + ws + "/lexmine.mdb").c_str(), "r");
  char line[16] = {};
  ASSERT_TRUE(other && fgets(line, sizeof line, other)) << "python3 with sqlite3 is needed";
  testing::CliResult crawl = run_cli({"-w", ws, "crawl"});
  EXPECT_EQ(pclose(other), 0);
  EXPECT_EQ(crawl.status, 0) << crawl.err;
  EXPECT_EQ(tables(ws).size(), 12u);  // six pages indexed, of two words each
}

TEST(WorkspaceRuns, AFullDiskStopsTheCrawlWithStatus3AndAConsistentIndex) {
  Site site;
  testing::TempDir dir;
  std::string disk = dir.file("disk");
  std::filesystem::create_directory(disk);
  if (::mount("trawlix-test", disk.c_str(), "tmpfs", 0, "size=4m") != 0) {
    GTEST_SKIP() << "no tmpfs can be mounted here";
  }
  std::string ws = site.workspace(disk + "/ws");
  // One connection: p3 is then asked for only once p1 and p2 are indexed.
  testing::CliProcess crawl({"-w", ws, "crawl", "--connections", "1"});
  ASSERT_TRUE(site.visited());
  {
    std::ofstream filler(disk + "/filler");
    for (std::string block(4096, 'x'); filler << block;) {
    }
  }
  site.open();
  std::vector<std::string> rows;
  for (std::string row; crawl.read_line(&row);) rows.push_back(row);
  EXPECT_EQ(crawl.wait(), 3);
  EXPECT_EQ(rows.size(), 4u);  // index, p1, p2, and p3 failed: the crawl stopped there
  std::filesystem::remove(disk + "/filler");
  std::vector<std::vector<DbValue>> stopped = tables(ws);
  EXPECT_EQ(run_cli({"-w", ws, "crawl"}).status, 0);  // with room again it goes on
  EXPECT_GT(tables(ws).size(), stopped.size());
  ::umount2(disk.c_str(), MNT_DETACH);
}

}  // namespace
}  // namespace trawlix
