// The document listing, its pages, the PDF it is printed to, and the
// statistics.
#include "search/document_reports.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "base/paths.h"
#include "search/text_pdf.h"
#include "shell/workspace.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

class ReportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ws.start_up(dir.path()));
    db = ws.db();
  }
  int32_t add_doc(const std::string& url, int indexed) {
    EXPECT_TRUE(db->exec(
        "insert into Docs (URLDocument, URLLevel, nMaxDepth, bCrawlAbove, URLParent, nStatus, "
        "bIndexed) values (?, 1, 0, 0, 0, 1, ?)",
        {url, int64_t{indexed}}));
    return static_cast<int32_t>(db->last_insert_id());
  }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  Workspace ws{ui};
  Database* db = nullptr;
};

TEST_F(ReportsTest, ListingHasItsHeadingThenOneLinePerDocument) {
  auto none = document_listing(*db, ui);
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "NO documents to search!!!");

  add_doc("http://h/a.htm", 0);
  add_doc("http://h/caf\xE9.htm", 0);
  auto lines = document_listing(*db, ui);
  ASSERT_TRUE(lines);
  EXPECT_EQ(*lines, (std::vector<std::string>{"Document Listing", "------------------", " ", " ",
                                              "1  http://h/a.htm", "2  http://h/caf\xE9.htm"}));
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(ListingPages, BreaksPagesAndContinuesLongLines) {
  auto pages = listing_pages({"one", "two", "three", "four", "five"}, 10, 2);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[2], (std::vector<std::string>{"five"}));
  // A line of 25 characters on lines of 10, across a page break.
  pages = listing_pages({"x", std::string(10, 'a') + std::string(10, 'b') + "ccccc"}, 10, 2);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0], (std::vector<std::string>{"x", std::string(10, 'a')}));
  EXPECT_EQ(pages[1], (std::vector<std::string>{std::string(10, 'b'), "ccccc"}));
  EXPECT_TRUE(listing_pages({}, 10, 2).empty());
}

TEST_F(ReportsTest, StatisticsCountTheirFourThings) {
  DocumentStatistics zero;
  ASSERT_TRUE(document_statistics(*db, ui, &zero));
  EXPECT_EQ(statistics_text(zero),
            "Total documents: 0\rTotal Previously Indexed documents: 0\r"
            "Total Indexed in this crawl: 0\rTotal words: 0");

  int32_t a = add_doc("http://h/a.htm", -1);
  int32_t b = add_doc("http://h/b.htm", 0);
  add_doc("http://h/c.htm", 1);
  for (const char* word : {"ALPHA", "BETA", "GAMMA"}) {
    ASSERT_TRUE(db->exec("insert into Words (Word, Occurrences) values (?, 1)", {word}));
  }
  for (auto [doc, word] : {std::pair{a, 1}, {a, 2}, {a, 3}, {b, 1}}) {
    ASSERT_TRUE(db->exec("insert into WordsDocs (DocID, WordID, Occurrences) values (?, ?, 1)",
                         {int64_t{doc}, int64_t{word}}));
  }
  show_statistics(*db, ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "System Statistics");
  EXPECT_EQ(ui.messages[0].icon, Icon::kInformation);
  EXPECT_EQ(ui.messages[0].text,
            "Total documents: 3\rTotal Previously Indexed documents: 2\r"
            "Total Indexed in this crawl: 2\rTotal words: 3");
}

TEST_F(ReportsTest, StatisticsReportAMissingTable) {
  ASSERT_TRUE(db->exec("drop table WordsDocs"));
  DocumentStatistics stats;
  EXPECT_FALSE(document_statistics(*db, ui, &stats));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Database error:");
}

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(TextPdf, WritesEveryPageWithAWorkingCrossReferenceTable) {
  testing::TempDir dir;
  std::string path = dir.file("list.pdf");
  std::vector<std::vector<std::string>> pages = {
      {"Document Listing", "1  (a)\\b"}, {"2  caf\xE9"}, {}};
  std::string error;
  ASSERT_TRUE(write_text_pdf(path, pages, &error)) << error;
  std::string pdf = read_all(path);
  ASSERT_TRUE(pdf.starts_with("%PDF-1.4\n"));
  EXPECT_TRUE(pdf.ends_with("%%EOF\n"));
  EXPECT_NE(pdf.find("/Count 3"), std::string::npos);
  EXPECT_NE(pdf.find("(1  \\(a\\)\\\\b) Tj"), std::string::npos);
  EXPECT_NE(pdf.find("(2  caf\\351) Tj"), std::string::npos);

  // startxref names the table; each entry names the offset of its object.
  size_t startxref = pdf.rfind("startxref\n");
  ASSERT_NE(startxref, std::string::npos);
  size_t xref = std::stoul(pdf.substr(startxref + 10));
  ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
  std::smatch m;
  std::string table = pdf.substr(xref);
  ASSERT_TRUE(std::regex_search(table, m, std::regex("^xref\n0 (\\d+)\n")));
  int objects = std::stoi(m[1]);
  EXPECT_EQ(objects, 1 + 3 + 2 * 3);
  size_t entry = xref + m.length(0) + 20;  // after the free entry
  for (int k = 1; k < objects; ++k, entry += 20) {
    size_t offset = std::stoul(pdf.substr(entry, 10));
    std::string head = std::to_string(k) + " 0 obj\n";
    EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "object " << k;
  }
  // Each stream's /Length is its length.
  std::regex stream("/Length (\\d+) >>\nstream\n");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), stream); it != std::sregex_iterator();
       ++it) {
    size_t begin = static_cast<size_t>(it->position(0) + it->length(0));
    EXPECT_EQ(pdf.compare(begin + std::stoul((*it)[1]), 9, "endstream"), 0);
  }
}

TEST(TextPdf, AFileThatCannotBeWrittenIsReportedAndLeftNoTrace) {
  testing::TempDir dir;
  std::string path = dir.file("missing/list.pdf");
  std::string error;
  EXPECT_FALSE(write_text_pdf(path, {{"x"}}, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(path_exists(path));
}

}  // namespace
}  // namespace trawlix
