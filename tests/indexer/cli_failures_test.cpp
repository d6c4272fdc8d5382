// The command line's failure cases: each says why, exits with its status and
// leaves the WorkSpace as it was; stored text reaches the terminal escaped.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/cli.h"
#include "shell/run_lock.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace trawlix::cli {
namespace {

using testing::run_cli;

struct CliFailures : ::testing::Test {
  void SetUp() override {
    ASSERT_EQ(run_cli({"-w", ws, "init"}).status, kExitOk);
    db = Database::open(ws + "/lexmine.mdb", Database::Mode::kOpenExisting, nullptr);
    ASSERT_TRUE(
        db->exec("insert into Docs (DocID, URLDocument, URLDescription, nStatus) values "
                 "(1, ?, ?, 0), (40000, 'http://h/far', '', 0)",
                 {std::string("http://h/\x1b]0;owned\x07"), std::string("Ta\tb\r\n\x9d")}));
    ASSERT_TRUE(db->exec("insert into Words values (1, 'HOME', 1)"));
    ASSERT_TRUE(db->exec("insert into WordsDocs values (1, 1, 1)"));
  }
  testing::TempDir dir;
  std::string ws = dir.file("ws");
  std::unique_ptr<Database> db;
};

TEST_F(CliFailures, EachSaysWhyAndExitsWithItsStatus) {
  std::ofstream(dir.file("big.htm")) << "<p>text</p>";
  std::filesystem::resize_file(dir.file("big.htm"), 60u << 20);  // sparse
  std::filesystem::create_directory(ws + "/results.html");
  const std::string busy = "The WorkSpace is busy: a test run (process ", url = "http://h/";
  const struct {
    std::vector<std::string> words;
    bool held;  // another run holds the WorkSpace
    int status;
    std::string says;
  } cases[] = {
      {{"tokens", ws}, false, kExitFailure, "Error opening page: \nIs a directory"},
      {{"tokens", ws + "/none.htm"}, false, kExitFailure, "No such file"},
      {{"tokens", dir.file("big.htm")}, false, kExitFailure, "longer than 52428800 bytes"},
      {{"tokens", "/dev/zero"}, false, kExitFailure, "longer than 52428800 bytes"},
      {{"add-url", url + std::string(247, 'a')}, false, kExitUsage, "Can handle such a long URL"},
      {{"explore", "h/" + std::string(248, 'a')}, false, kExitUsage, "Can handle such a long URL"},
      {{"add-url", url + "b", "--parent", "abc"}, false, kExitUsage, "must be a DocID"},
      {{"add-url", url + "b", "--parent", "40001"}, false, kExitUsage, "no document 40001"},
      {{"crawl", "--restart"}, true, kExitFailure, busy},
      {{"explore", "http://127.0.0.1:9/x.htm"}, true, kExitFailure, busy},
      {{"fetch", "http://127.0.0.1:9/x.htm"}, true, kExitFailure, busy},
      {{"survey"}, true, kExitFailure, busy},
      // A search runs beside a crawl; its results page here cannot be written.
      {{"search", "home"}, true, kExitFailure, "could not be written"},
      {{"stats"}, true, kExitOk, ""},
      {{"add-url", url + std::string(246, 'c'), "--parent", "40000"}, true, kExitOk, ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> words{"-w", ws};
    words.insert(words.end(), c.words.begin(), c.words.end());
    SCOPED_TRACE(c.words[0] + " " + (c.words.size() > 1 ? c.words[1].substr(0, 30) : ""));
    RunLock::Result taken;
    std::string holder;
    auto lock = c.held ? RunLock::take(ws, "a test run", &taken, &holder) : nullptr;
    testing::CliResult r = run_cli(words);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(db->query_int("select count(*) from Docs where nStatus = 0 and DocID < 40001"), 2);
  }
  // The URL of 255 characters was kept whole, under a parent above 16 bits.
  EXPECT_EQ(db->query_int("select length(URLDocument) from Docs where URLParent = 40000"), 255);
}

TEST_F(CliFailures, StoredTextReachesTheTerminalWithItsControlCharactersEscaped) {
  for (std::vector<std::string> words : std::vector<std::vector<std::string>>{
           {"-w", ws, "list"}, {"-w", ws, "search", "home"}, {"-w", ws, "edit", "1"}}) {
    testing::CliResult r = run_cli(words);
    EXPECT_NE(r.out.find("http://h/\\x1b]0;owned\\x07"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find_first_of("\x1b\x07\r"), std::string::npos) << r.out;
  }
  // A field stays one field on one line.
  EXPECT_NE(run_cli({"-w", ws, "search", "home"}).out.find("\tTa\\tb\\r\\n\\x9d\n"),
            std::string::npos);
}

}  // namespace
}  // namespace trawlix::cli
