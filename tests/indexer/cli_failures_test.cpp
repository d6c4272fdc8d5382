// The command line's failure cases: each says why, exits with its status,
// and leaves the WorkSpace as it was.
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

class CliFailures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(run_cli({"-w", ws, "init"}).status, kExitOk);
    db = Database::open(dir.file("ws/lexmine.mdb"), Database::Mode::kOpenExisting, nullptr);
    ASSERT_TRUE(db);
    ASSERT_TRUE(
        db->exec("insert into Docs (DocID, URLDocument, URLDescription) values "
                 "(1, 'http://h/a', 'Home'), (40000, 'http://h/far', '')"));
    ASSERT_TRUE(db->exec("insert into Words (Word, Occurrences) values ('HOME', 1)"));
    ASSERT_TRUE(db->exec("insert into WordsDocs values (1, 1, 1)"));
  }
  int64_t docs() { return db->query_int("select count(*) from Docs"); }

  testing::TempDir dir;
  std::string ws = dir.file("ws");
  std::unique_ptr<Database> db;
};

TEST_F(CliFailures, EachSaysWhyAndExitsWithItsStatus) {
  std::ofstream(dir.file("page.htm")) << "<p>text</p>";
  std::filesystem::resize_file(dir.file("page.htm"), 60u * 1024 * 1024);  // sparse
  std::string long_url = "http://h/" + std::string(247, 'a');             // 256 characters
  struct Case {
    std::vector<std::string> words;
    bool held;  // another run holds the WorkSpace
    int status;
    const char* says;
  };
  const std::string busy = "The WorkSpace is busy: a test run (process ";
  const Case cases[] = {
      {{"tokens", ws}, false, kExitFailure, "Error opening page: \nIs a directory"},
      {{"tokens", ws + "/none.htm"}, false, kExitFailure, "No such file"},
      {{"tokens", dir.file("page.htm")}, false, kExitFailure, "longer than 52428800 bytes"},
      {{"tokens", "/dev/zero"}, false, kExitFailure, "longer than 52428800 bytes"},
      {{"add-url", long_url}, false, kExitUsage, "Can handle such a long URL: http://h/aaa"},
      {{"add-url", "h/" + std::string(248, 'b')}, false, kExitUsage, "Can handle such a long"},
      {{"explore", long_url}, false, kExitUsage, "Can handle such a long URL"},
      {{"add-url", "http://h/b", "--parent", "abc"}, false, kExitUsage, "must be a DocID"},
      {{"add-url", "http://h/b", "--parent", "-1"}, false, kExitUsage, "must be a DocID"},
      {{"add-url", "http://h/b", "--parent", "40001"}, false, kExitUsage, "no document 40001"},
      {{"crawl"}, true, kExitFailure, busy.c_str()},
      {{"crawl", "--restart"}, true, kExitFailure, busy.c_str()},
      {{"explore", "http://127.0.0.1:9/x.htm"}, true, kExitFailure, busy.c_str()},
      {{"fetch", "http://127.0.0.1:9/x.htm"}, true, kExitFailure, busy.c_str()},
      {{"survey"}, true, kExitFailure, busy.c_str()},
      // What only reads works beside a run.
      {{"search", "home"}, true, kExitOk, "results page: "},
      {{"list"}, true, kExitOk, ""},
      {{"stats"}, true, kExitOk, ""},
      {{"info"}, true, kExitOk, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> words{"-w", ws};
    words.insert(words.end(), c.words.begin(), c.words.end());
    SCOPED_TRACE(c.words[0] + (c.words.size() > 1 ? " " + c.words[1].substr(0, 40) : ""));
    std::unique_ptr<RunLock> lock;
    if (c.held) {
      RunLock::Result result;
      std::string holder;
      lock = RunLock::take(ws, "a test run", &result, &holder);
      ASSERT_EQ(result, RunLock::Result::kTaken) << holder;
    }
    testing::CliResult r = run_cli(words);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(docs(), 2);
    EXPECT_EQ(db->query_int("select nStatus from Docs where DocID = 1"), 0);
  }
}

TEST_F(CliFailures, StartUrlsAtTheLimitsAreKeptWhole) {
  std::string url = "http://h/" + std::string(246, 'c');  // 255 characters
  testing::CliResult r = run_cli({"-w", ws, "add-url", url, "--parent", "40000"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  auto rows = db->query_rows("select URLDocument, URLParent from Docs where DocID = ?",
                             {std::stoll(r.out)});
  ASSERT_TRUE(rows && rows->size() == 1);
  EXPECT_EQ(std::get<std::string>((*rows)[0][0]), url);
  EXPECT_EQ(std::get<int64_t>((*rows)[0][1]), 40000);
}

TEST_F(CliFailures, ASearchWhoseResultsPageCannotBeWrittenFails) {
  std::filesystem::create_directory(dir.file("ws/results.html"));
  testing::CliResult r = run_cli({"-w", ws, "search", "home"});
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_NE(r.err.find("could not be written"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("results page:"), std::string::npos) << r.err;
}

TEST_F(CliFailures, StoredTextReachesTheTerminalWithItsControlCharactersEscaped) {
  ASSERT_TRUE(db->exec(
      "update Docs set URLDocument = ?, URLDescription = ? where DocID = 1",
      {std::string("http://h/\x1b]0;owned\x07"), std::string("Tab\there\r\nand \x9b\x9d end")}));
  for (std::vector<std::string> words :
       {std::vector<std::string>{"list"}, {"search", "home"}, {"edit", "1"}}) {
    words.insert(words.begin(), {"-w", ws});
    testing::CliResult r = run_cli(words);
    SCOPED_TRACE(words[2]);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.out.find("http://h/\\x1b]0;owned\\x07"), std::string::npos) << r.out;
    for (char c : r.out) {
      auto byte = static_cast<unsigned char>(c);
      EXPECT_TRUE(byte >= 0x20 || c == '\n' || c == '\t') << int{byte};
    }
  }
  testing::CliResult found = run_cli({"-w", ws, "search", "home"});
  // A field stays one field on one line; a defined character (U+203A) stays.
  EXPECT_NE(found.out.find("\tTab\\there\\r\\nand \xE2\x80\xBA\\x9d end\n"), std::string::npos)
      << found.out;
}

}  // namespace
}  // namespace trawlix::cli
