// The index writes of a crawl alone: reads the word rows of every indexed
// page of a crawled WorkSpace and writes them again, through the word
// indexer, into fresh WorkSpaces: with one transaction per page, as a crawl
// commits, keeping the WordsDocs indexes row by row and building them at
// the end as a first crawl does, and in one transaction for all. Nothing is
// fetched or scanned, so the times are what the database's work costs a
// crawl of the same pages at the least (bench/crawl runs it after its
// crawls).
//
//   bench_word_rows CRAWLED_WORKSPACE_DIR SCRATCH_DIR
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/quiet_ui.h"
#include "shell/deferred_indexes.h"
#include "shell/workspace.h"
#include "text/word_index.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Each indexed page's words in the order of their WordIDs, which is the
// order the crawl met them first.
std::vector<PageScan> crawled_pages(Database& db) {
  std::vector<PageScan> pages;
  Statement st = db.prepare(
      "select d.DocID, w.Word, d.Occurrences from WordsDocs d join Words w using (WordID) "
      "order by d.DocID, d.WordID");
  int64_t last = -1;
  while (st.step()) {
    if (st.get_int(0) != last) pages.emplace_back();
    last = st.get_int(0);
    pages.back().words.push_back({st.get_text(1), st.get_int(2)});
  }
  return pages;
}

// Writes the pages as documents 1..n of a new WorkSpace in `dir`; the
// seconds it took, closing included (the last checkpoint), or -1.
double write_pages(const std::vector<PageScan>& pages, const std::string& dir, bool one_transaction,
                   bool deferred_indexes, QuietUi& ui) {
  fs::remove_all(dir);
  fs::create_directories(dir);
  Workspace ws(ui);
  if (!ws.start_up(dir)) return -1;
  Database& db = *ws.db();
  for (size_t k = 0; k < pages.size(); ++k) {
    if (!db.exec("insert into Docs (URLDocument, URLDescription, URLLevel, URLParent, nMaxDepth, "
                 "bCrawlAbove, nStatus, bIndexed) values (?, '', 1, 0, 0, 0, 0, 0)",
                 {"http://bench.example/" + std::to_string(k)})) {
      return -1;
    }
  }
  IndexerState state;
  WordIds ids;
  auto start = Clock::now();
  {
    DeferredWordIndexes deferred(db, deferred_indexes);
    // Inside one transaction, each page's own becomes a savepoint.
    std::optional<Transaction> all;
    if (one_transaction) all.emplace(db);
    for (size_t k = 0; k < pages.size(); ++k) {
      WordIndexer indexer(db, state, ui);
      indexer.share_word_ids(ids);
      if (!indexer.store_page(static_cast<int32_t>(k + 1), pages[k], nullptr)) return -1;
    }
    if ((all && !all->commit()) || !deferred.rebuild()) return -1;
  }
  ws.close();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

int run(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_word_rows CRAWLED_WORKSPACE_DIR SCRATCH_DIR\n");
    return 2;
  }
  QuietUi ui("bench_word_rows");
  std::vector<PageScan> pages;
  {
    Workspace crawled(ui);
    if (crawled.open_existing(argv[1]) != Workspace::OpenResult::kOpened) return 3;
    pages = crawled_pages(*crawled.db());
  }
  size_t rows = 0;
  for (const PageScan& page : pages) rows += page.words.size();
  const std::string scratch = argv[2];
  double kept = write_pages(pages, scratch + "/kept", false, false, ui);
  double each = write_pages(pages, scratch + "/each", false, true, ui);
  double all = write_pages(pages, scratch + "/all", true, true, ui);
  fs::remove_all(scratch);
  if (kept < 0 || each < 0 || all < 0) return 3;
  std::printf(
      "%zu pages, %zu word rows: %.2f s one transaction per page, %.2f s with the indexes "
      "kept row by row, %.2f s in one transaction\n",
      pages.size(), rows, each, kept, all);
  return ui.failures ? 3 : 0;
}

}  // namespace
}  // namespace trawlix

int main(int argc, char** argv) {
  return trawlix::run(argc, argv);
}
