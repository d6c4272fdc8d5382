// The command line's document table commands (list, stats, edit, delete)
// and the survey, with Ctrl-C during a survey.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "support/cli_process.h"
#include "support/cli_run.h"
#include "support/http_server.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

using testing::run_cli;

class CliDocuments : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(run_cli({"-w", ws, "init"}).status, 0); }
  void add(const std::string& url, const std::string& description = "") {
    ASSERT_EQ(run_cli({"-w", ws, "add-url", url, "--description", description}).status, 0);
  }
  std::vector<DbValue> doc(int64_t id) {
    testing::ScriptedUi ui;
    Workspace w(ui);
    if (w.open_existing(ws) != Workspace::OpenResult::kOpened) return {};
    auto rows = w.db()->query_rows(
        "select URLDescription, URLLevel, URLParent from Docs where DocID = ?", {id});
    return rows && rows->size() == 1 ? (*rows)[0] : std::vector<DbValue>{};
  }
  std::string sql(const std::string& statement) {
    testing::ScriptedUi ui;
    Workspace w(ui);
    if (w.open_existing(ws) != Workspace::OpenResult::kOpened) return "no workspace";
    return w.db()->exec(statement) ? "" : w.db()->last_error();
  }

  testing::TempDir dir;
  std::string ws = dir.file("ws");
};

TEST_F(CliDocuments, ListAndStats) {
  testing::CliResult empty = run_cli({"-w", ws, "list"});
  EXPECT_EQ(empty.status, cli::kExitNothingFound);
  EXPECT_EQ(empty.out, "");
  EXPECT_NE(empty.err.find("NO documents to search!!!"), std::string::npos);

  add("http://h/a.htm");
  add("http://h/caf\xC3\xA9.htm");
  testing::CliResult list = run_cli({"-w", ws, "list"});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out,
            "Document Listing\n------------------\n \n \n1  http://h/a.htm\n"
            "2  http://h/caf\xC3\xA9.htm\n");

  testing::CliResult stats = run_cli({"-w", ws, "stats"});
  ASSERT_EQ(stats.status, 0) << stats.err;
  EXPECT_EQ(stats.out,
            "Total documents: 2\nTotal Previously Indexed documents: 0\n"
            "Total Indexed in this crawl: 0\nTotal words: 0\n");
}

TEST_F(CliDocuments, ListPrintsToAPdfFileBreakingPages) {
  for (int k = 0; k < 70; ++k) add("http://h/page" + std::to_string(k) + ".htm");
  std::string pdf = dir.file("list.pdf");
  testing::CliResult r = run_cli({"-w", ws, "list", "--pdf", pdf});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("(2 pages)"), std::string::npos) << r.err;  // 74 lines, 60 a page
  std::ifstream in(pdf, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(text.starts_with("%PDF-"));
  EXPECT_NE(text.find("(70  http://h/page69.htm) Tj"), std::string::npos);
  EXPECT_EQ(run_cli({"-w", ws, "list", "--pdf", dir.file("no/such/dir.pdf")}).status,
            cli::kExitFailure);
}

TEST_F(CliDocuments, EditChecksItsValuesAndChangesOnlyWhatItIsGiven) {
  add("http://h/a.htm", "Home");
  add("http://h/b.htm", "Second");
  testing::CliResult shown = run_cli({"-w", ws, "edit", "2"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(shown.out, "DocID: 2\nURL: http://h/b.htm\nDescription: Second\nLevel: 1\nParent: 0\n");

  testing::CliResult edited =
      run_cli({"-w", ws, "edit", "2", "--description", "Caf\xC3\xA9", "--parent", "1"});
  ASSERT_EQ(edited.status, 0) << edited.err;
  EXPECT_EQ(doc(2), (std::vector<DbValue>{std::string("Caf\xE9"), int64_t{1}, int64_t{1}}));

  for (std::vector<std::string> bad : {std::vector<std::string>{"--level", "12abc"},
                                       {"--level", "40000"},
                                       {"--parent", "7"},
                                       {"--parent", "-1"},
                                       {"--description", std::string(101, 'x')}}) {
    std::vector<std::string> words = {"-w", ws, "edit", "2"};
    words.insert(words.end(), bad.begin(), bad.end());
    testing::CliResult r = run_cli(words);
    EXPECT_EQ(r.status, cli::kExitUsage) << bad[0] << " " << bad[1];
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_EQ(doc(2), (std::vector<DbValue>{std::string("Caf\xE9"), int64_t{1}, int64_t{1}}));
  EXPECT_EQ(run_cli({"-w", ws, "edit", "2", "--level", "7"}).status, 0);
  EXPECT_EQ(doc(2), (std::vector<DbValue>{std::string("Caf\xE9"), int64_t{7}, int64_t{1}}));
  EXPECT_EQ(run_cli({"-w", ws, "edit", "9", "--level", "3"}).status, cli::kExitFailure);
  EXPECT_EQ(run_cli({"-w", ws, "edit", "two"}).status, cli::kExitFailure);
}

TEST_F(CliDocuments, DeleteAsksFirst) {
  add("http://h/a.htm", "Home");
  // No terminal and no --yes: the question gets Cancel.
  testing::CliResult kept = run_cli({"-w", ws, "delete", "1"});
  EXPECT_EQ(kept.status, cli::kExitFailure);
  EXPECT_NE(kept.err.find("Are you sure you want to delete document \"Home\"?"), std::string::npos);
  EXPECT_FALSE(doc(1).empty());
  testing::CliResult gone = run_cli({"-w", ws, "delete", "1", "--yes"});
  EXPECT_EQ(gone.status, 0) << gone.err;
  EXPECT_TRUE(doc(1).empty());
  EXPECT_EQ(run_cli({"-w", ws, "delete", "1", "--yes"}).status, cli::kExitFailure);
}

TEST_F(CliDocuments, SurveyStopsAtCtrlCAndGoesOnNextTime) {
  testing::TestHttpServer server;
  std::atomic<testing::CliProcess*> running{nullptr};
  auto page = [](const char* text) {
    return
        [text](const httplib::Request&, httplib::Response& r) { r.set_content(text, "text/html"); };
  };
  server.server().Get("/a", page("<p>search</p>"));
  server.server().Get("/b", [&](const httplib::Request&, httplib::Response& r) {
    // Ctrl-C while this page is being fetched.
    for (int k = 0; k < 500 && !running; ++k) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (running) running.load()->interrupt();
    r.set_content("<a href=\"mailto:bob@x.org\">Bob</a>", "text/html");
  });
  server.server().Get("/c", page("<frameset></frameset>"));
  for (const char* path : {"/a", "/b", "/c"}) {
    ASSERT_EQ(sql("insert into URLexternos (URLExternal, URLDescription) values ('" +
                  server.url(path) + "', 'http://home/')"),
              "");
  }

  std::vector<std::string> lines;
  {
    testing::CliProcess cli({"-w", ws, "survey"});
    ASSERT_TRUE(cli.started());
    running = &cli;
    std::string line;
    while (cli.read_line(&line)) lines.push_back(line);
    EXPECT_EQ(cli.wait(), cli::kExitStopped);
    running = nullptr;
  }
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "1\tsearch\t" + server.url("/a"));
  EXPECT_EQ(lines[1], "2\t-\t" + server.url("/b") + "\tbob@x.org");

  testing::CliResult rest = run_cli({"-w", ws, "survey"});
  EXPECT_EQ(rest.status, 0) << rest.err;
  EXPECT_EQ(rest.out, "3\tframes\t" + server.url("/c") + "\n");
  EXPECT_NE(rest.err.find("1 links surveyed, 2 surveyed before."), std::string::npos);
  EXPECT_EQ(run_cli({"-w", ws, "survey"}).status, cli::kExitNothingFound);
}

}  // namespace
}  // namespace trawlix
