// The command line: statuses, messages and the first commands.
#include "cli/cli.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/paths.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace trawlix::cli {
namespace {

using Result = testing::CliResult;
using testing::run_cli;

TEST(Cli, UsageErrorsAndHelp) {
  EXPECT_EQ(run_cli({}).status, kExitUsage);
  EXPECT_EQ(run_cli({"nosuch"}).status, kExitUsage);
  EXPECT_EQ(run_cli({"-w"}).status, kExitUsage);
  EXPECT_EQ(run_cli({"tokens"}).status, kExitUsage);
  EXPECT_EQ(run_cli({"reinit", "--bogus"}).status, kExitUsage);
  Result help = run_cli({"--help"});
  EXPECT_EQ(help.status, kExitOk);
  for (const Command& c : commands()) {
    EXPECT_NE(help.out.find(c.name), std::string::npos);
    Result one = run_cli({c.name, "--help"});
    EXPECT_EQ(one.status, kExitOk) << c.name;
    EXPECT_NE(one.out.find(c.usage), std::string::npos) << c.name;
  }
}

TEST(Cli, InitInfoAndReinit) {
  testing::TempDir dir;
  std::string ws = dir.file("a/b");
  Result init = run_cli({"-w", ws, "init"});
  ASSERT_EQ(init.status, kExitOk) << init.err;
  EXPECT_EQ(init.out, ws + "\n");
  EXPECT_TRUE(path_exists(ws + "/lexmine.mdb"));
  EXPECT_EQ(run_cli({"-w", ws, "init"}).status, kExitOk);

  Result info = run_cli({"--workspace", ws, "info"});
  ASSERT_EQ(info.status, kExitOk) << info.err;
  EXPECT_NE(info.out.find("documents: 0\n"), std::string::npos);
  EXPECT_NE(info.out.find("words: 0\n"), std::string::npos);

  // Without --yes and without a terminal, the question gets the safe answer.
  Result refused = run_cli({"-w", ws, "reinit"});
  EXPECT_EQ(refused.status, kExitFailure);
  EXPECT_NE(refused.err.find("Are you sure"), std::string::npos);
  EXPECT_EQ(run_cli({"-w", ws, "reinit", "--yes"}).status, kExitOk);
  EXPECT_EQ(run_cli({"-w", ws, "reinit", "--all", "--yes"}).status, kExitOk);
}

TEST(Cli, InitReportsAFolderThatCannotBeMade) {
  testing::TempDir dir;
  std::ofstream(dir.file("plain")) << "a file, not a folder";
  Result r = run_cli({"-w", dir.file("plain/ws"), "init"});
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_NE(r.err.find("ERROR:  unable to create directory."), std::string::npos);
  std::string content;
  std::getline(std::ifstream(dir.file("plain")), content);
  EXPECT_EQ(content, "a file, not a folder");
}

TEST(Cli, CommandsOnAFolderWithoutAWorkspaceFail) {
  testing::TempDir dir;
  Result info = run_cli({"-w", dir.path(), "info"});
  EXPECT_EQ(info.status, kExitFailure);
  EXPECT_NE(info.err.find("doesn't contain a WorkSpace"), std::string::npos);
  EXPECT_FALSE(path_exists(dir.file("lexmine.mdb")));
}

TEST(Cli, TokensPrintsTheStream) {
  testing::TempDir dir;
  std::ofstream(dir.file("p.htm"), std::ios::binary) << "<B>\xC9t\xE9\t!</B>";
  Result r = run_cli({"tokens", dir.file("p.htm")});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "<B\t<B\n>\t>\nETE\t\xC3\x89t\xC3\xA9\n\\t\t\\t\n!\t!\n</B\t</B\n>\t>\n");
  Result missing = run_cli({"tokens", dir.file("none.htm")});
  EXPECT_EQ(missing.status, kExitFailure);
  EXPECT_NE(missing.err.find("Error opening page:"), std::string::npos);
}

}  // namespace
}  // namespace trawlix::cli

namespace trawlix::cli {
namespace {

TEST(Cli, SearchPrintsDocumentsAndWritesTheResultsPage) {
  testing::TempDir dir;
  ASSERT_EQ(run_cli({"-w", dir.path(), "init"}).status, kExitOk);
  {
    auto db = Database::open(dir.file("lexmine.mdb"), Database::Mode::kOpenExisting, nullptr);
    ASSERT_TRUE(db);
    EXPECT_TRUE(db->exec("insert into Docs (URLDocument, URLDescription) values ('http://h/a', ?)",
                         {std::string("Caf\xE9")}));
    EXPECT_TRUE(db->exec("insert into Words (Word, Occurrences) values ('CAFE', 1)"));
    EXPECT_TRUE(db->exec("insert into WordsDocs values (1, 1, 1)"));
  }
  Result found = run_cli({"-w", dir.path(), "search", "caf\xC3\xA9"});
  ASSERT_EQ(found.status, kExitOk) << found.err;
  EXPECT_EQ(found.out, "1\thttp://h/a\tCaf\xC3\xA9\n");
  EXPECT_TRUE(path_exists(dir.file("results.html")));
  Result none = run_cli({"-w", dir.path(), "search", "absent", "--any"});
  EXPECT_EQ(none.status, kExitNothingFound);
  EXPECT_NE(none.err.find("No documents found..."), std::string::npos);
  EXPECT_EQ(run_cli({"-w", dir.path(), "search"}).status, kExitUsage);
}

// Four documents whose order was worked out by hand: the score is the sum
// of the occurrences of the query's words (a prefix sums every word it
// matches), ties go to the lower DocID.
TEST(Cli, SearchOrdersCountsLimitsAndPrintsJson) {
  testing::TempDir dir;
  ASSERT_EQ(run_cli({"-w", dir.path(), "init"}).status, kExitOk);
  {
    auto db = Database::open(dir.file("lexmine.mdb"), Database::Mode::kOpenExisting, nullptr);
    ASSERT_TRUE(db);
    for (int d = 1; d <= 4; ++d) {
      EXPECT_TRUE(db->exec("insert into Docs (URLDocument, URLDescription) values (?, ?)",
                           {"http://h/" + std::to_string(d), "D\"" + std::to_string(d)}));
    }
    EXPECT_TRUE(
        db->exec("insert into Words (Word, Occurrences) values ('ALPHA', 6), "
                 "('BETA', 8), ('ALMOND', 4)"));
    // doc 1: ALPHA 1, ALMOND 4; doc 2: ALPHA 3, BETA 1; doc 3: ALPHA 2, BETA 2; doc 4: BETA 5
    EXPECT_TRUE(
        db->exec("insert into WordsDocs values (1, 1, 1), (1, 3, 4), (2, 1, 3), "
                 "(2, 2, 1), (3, 1, 2), (3, 2, 2), (4, 2, 5)"));
  }
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string docids;  // the DocIDs printed, in order
    std::string count;   // the count line
  } cases[] = {
      {{"alpha", "beta"}, kExitOk, "2 3", "2 documents\n"},
      {{"alpha", "beta", "--any"}, kExitOk, "4 2 3 1", "4 documents\n"},
      {{"alpha", "beta", "--any", "--order", "docid"}, kExitOk, "1 2 3 4", "4 documents\n"},
      {{"alpha", "beta", "--any", "--limit=2"}, kExitOk, "4 2", "4 documents\n"},
      {{"al", "--partial"}, kExitOk, "1 2 3", "3 documents\n"},
      {{"almond"}, kExitOk, "1", "1 document\n"},
      {{"alpha", "--order", "best"}, kExitUsage, "", ""},
      {{"alpha", "--limit", "-1"}, kExitUsage, "", ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> argv = {"-w", dir.path(), "search"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    Result r = run_cli(argv);
    std::string what = ::testing::PrintToString(c.args);
    ASSERT_EQ(r.status, c.status) << what << r.err;
    std::string docids;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
      docids += (docids.empty() ? "" : " ") + line.substr(0, line.find('\t'));
    }
    EXPECT_EQ(docids, c.docids) << what;
    EXPECT_EQ(r.err.substr(0, c.count.size()), c.count) << what;
  }
  Result json = run_cli({"-w", dir.path(), "search", "beta", "--json", "--limit", "2"});
  ASSERT_EQ(json.status, kExitOk) << json.err;
  EXPECT_EQ(json.out,
            "{\"docid\":4,\"url\":\"http://h/4\",\"description\":\"D\\\"4\",\"score\":5}\n"
            "{\"docid\":3,\"url\":\"http://h/3\",\"description\":\"D\\\"3\",\"score\":2}\n");
}

}  // namespace
}  // namespace trawlix::cli
