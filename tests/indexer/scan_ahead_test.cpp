// Pages scanned where they were fetched ahead against the same pages scanned
// from the working file the fetcher wrote, and the working file's text of a
// whole body against the file written piece by piece: the sample site and random bodies
// (line ends of every kind split across the pieces, UTF-8 and Windows-1252
// text, error pages, cut transfers, bodies over the size limit).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string_view>

#include "crawler/fetch_ahead.h"
#include "crawler/page_fetcher.h"
#include "crawler/working_file_text.h"
#include "shell/workspace.h"
#include "support/scripted_http.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

constexpr size_t kLimit = 3000;

// Tags, words, references, line ends and bytes of both encodings.
constexpr std::string_view kParts[] = {
    "<p>",
    "<title>",
    "</title>",
    "<a href=\"x.htm\">",
    "<a href=y\r\n.htm>",
    "word ",
    "Caf\xE9 ",
    "na\xEFve ",
    "Caf\xC3\xA9 ",
    "\xE2\x82\xAC",
    "&amp;",
    "&eacute;",
    "&#233;",
    "\r",
    "\n",
    "\r\n",
    "\n\r",
    "<!--",
    "-->",
    "<script>x",
    "</script>",
    "  ",
    "\t",
    "<img alt=\"some text\">",
    "<frame src=f.htm>",
    "<meta charset=utf-8>",
    "\xEF\xBB\xBF",
    "\xC3",
    "<b>",
    "plain",
};

std::string random_body(std::mt19937& rng) {
  std::string body;
  for (size_t n = rng() % 600; n > 0; --n) body += kParts[rng() % std::size(kParts)];
  return body;
}

// `body` cut at random places, one byte pieces among them.
std::vector<std::string> random_pieces(const std::string& body, std::mt19937& rng) {
  std::vector<std::string> pieces;
  for (size_t at = 0; at < body.size();) {
    size_t n = rng() % 4 == 0 ? 1 : 1 + rng() % 700;
    pieces.push_back(body.substr(at, n));
    at += n;
  }
  return pieces;
}

std::vector<std::string> sample_pages() {
  std::vector<std::string> pages;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(TRAWLIX_DATA_DIR "/site")) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    pages.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return pages;
}

TEST(ScanAhead, EqualsTheScanOfTheWorkingFileOrIsNoneForAPageNotIndexed) {
  std::mt19937 rng(1234);
  std::vector<std::string> bodies = sample_pages();
  ASSERT_GT(bodies.size(), 20u);
  for (int k = 0; k < 200; ++k) bodies.push_back(random_body(rng));
  bodies.push_back(std::string(kLimit, 'w'));
  bodies.push_back(std::string(kLimit, '\n') + "x");

  testing::TempDir dir;
  testing::ScriptedUi ui;
  testing::ScriptedHttp http;
  FetchAhead ahead(http, kLimit);
  PageFetcher fetcher(ahead, ui, FetchLimits{kLimit});
  std::vector<PlannedPage> plan;
  for (size_t k = 0; k < bodies.size(); ++k) {
    std::string url = "http://h/p" + std::to_string(k) + ".htm";
    int fault = static_cast<int>(rng() % 10);
    http.answer(url, testing::ScriptedHttp::page(
                         random_pieces(bodies[k], rng), fault == 0 ? 404 : 200,
                         fault == 1 ? HttpResponse::End::kCutOff : HttpResponse::End::kComplete));
    ScanOptions options;
    options.plain_text = rng() % 4 == 0;
    options.count_words = rng() % 4 != 0;
    if (rng() % 4 == 0) options.title = "Given";
    plan.push_back({fetcher.request_for(url, CrawlSettings{}), options});
  }
  ahead.plan(plan, 3);

  IndexerState state;
  size_t compared = 0;
  for (size_t k = 0; k < bodies.size(); ++k) {
    state.current.url = "http://h/p" + std::to_string(k) + ".htm";
    FetchOutcome got = fetcher.fetch_page(dir.path(), state, false);
    std::optional<ScannedAhead> scan = ahead.take_scan(plan[k].request.url);
    ASSERT_EQ(scan.has_value(), got.indexable()) << "page " << k << ": " << got.error;
    if (!scan) continue;
    EXPECT_EQ(scan->options, plan[k].scan);
    // The text the scan was made of is the file's, wherever the pieces were cut.
    std::ifstream in(dir.file(kWorkingFile), std::ios::binary);
    std::string stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(working_file_text(bodies[k]), stored) << "page " << k;
    Scanner file;
    ASSERT_TRUE(file.open_document(dir.file(kWorkingFile), ui));
    EXPECT_EQ(scan->page, scan_page(file, *plan[k].scan)) << "page " << k;
    ++compared;
  }
  // Most pages were indexable, the long ones not.
  EXPECT_GT(compared, bodies.size() / 2);
  EXPECT_LT(compared, bodies.size());
}

}  // namespace
}  // namespace trawlix
