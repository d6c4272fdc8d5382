// Search benchmark: indexes every page file under a folder (bench/search
// generates 10,000 with bench/make_site.py) into a fresh WorkSpace through
// the word indexer, then times local searches of one, two and three words,
// all and any, exact and partial, and prints queries per second.
//
//   bench_search SITE_DIR [--queries N] [--keep WORKSPACE_DIR]
//
// A WorkSpace kept from an earlier run is searched as it is, so that the
// searches can be timed again after a change of its indexes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/quiet_ui.h"
#include "search/local_search.h"
#include "shell/workspace.h"
#include "text/word_index.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::string> page_files(const std::string& dir) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file() && entry.path().extension() == ".htm") {
      files.push_back(entry.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Indexes the files as documents 1..n; false on a database error.
bool build_index(Database& db, UserInterface& ui, const std::string& site,
                 const std::vector<std::string>& files) {
  IndexerState state;
  WordIndexer indexer(db, state, ui);
  // One transaction around all: each page's own becomes a savepoint.
  Transaction all(db);
  for (const std::string& file : files) {
    std::string url = "http://bench.example/" + fs::relative(file, site).string();
    if (!db.exec("insert into Docs (URLDocument, URLDescription, URLLevel, URLParent, nMaxDepth, "
                 "bCrawlAbove, nStatus, bIndexed) values (?, '', 1, 0, 0, 0, 0, 0)",
                 {url})) {
      return false;
    }
    state.current.doc_id = static_cast<int32_t>(db.last_insert_id());
    state.current.url = url;
    state.current.already_indexed = false;
    indexer.check_reindex();
    if (indexer.index_document(file, nullptr) != WordIndexer::Result::kIndexed) return false;
  }
  return all.commit();
}

struct Kind {
  int words;
  SearchType type;
  bool partial;
  std::string name() const {
    return std::to_string(words) + (words == 1 ? " word,  " : " words, ") +
           (type == SearchType::kAllWords ? "all" : "any") + (partial ? ", partial" : ", exact  ");
  }
};

int run(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_search SITE_DIR [--queries N] [--keep WORKSPACE_DIR]\n");
    return 2;
  }
  std::string site = argv[1];
  int queries = 1000;
  std::string keep;
  for (int k = 2; k + 1 < argc; k += 2) {
    std::string option = argv[k];
    if (option == "--queries") {
      queries = std::atoi(argv[k + 1]);
    } else if (option == "--keep") {
      keep = argv[k + 1];
    }
  }
  QuietUi ui("bench_search");
  std::string dir = keep;
  if (dir.empty()) {
    std::string pattern = (fs::temp_directory_path() / "trawlix-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 3;
    dir = pattern;
  }
  fs::create_directories(dir);
  Workspace ws(ui);
  if (!ws.start_up(dir) || !ws.db()) return 3;
  Database& db = *ws.db();

  int64_t documents = db.query_int("select count(*) from Docs");
  if (documents > 0) {
    std::printf("index: the WorkSpace's own, %lld documents\n", static_cast<long long>(documents));
  } else {
    std::vector<std::string> files = page_files(site);
    auto start = Clock::now();
    if (!build_index(db, ui, site, files)) {
      std::fprintf(stderr, "bench_search: indexing failed: %s\n", db.last_error().c_str());
      return 3;
    }
    std::printf("index: %zu documents, built in %.1f s\n", files.size(), seconds_since(start));
  }
  std::printf("       %lld distinct words, %lld occurrences\n",
              static_cast<long long>(db.query_int("select count(*) from Words")),
              static_cast<long long>(db.query_int("select sum(Occurrences) from WordsDocs")));

  // Query words: half from the 200 most frequent words, half from all of
  // them; a partial query word is the first three to five letters.
  std::vector<std::string> frequent, all;
  {
    Statement st = db.prepare("select Word from Words order by Occurrences desc");
    while (st.step()) {
      std::string w = st.get_text(0);
      if (frequent.size() < 200) frequent.push_back(w);
      all.push_back(w);
    }
  }
  if (all.empty()) return 3;
  std::mt19937 rng(7);
  auto pick = [&](bool partial) {
    const std::vector<std::string>& from = rng() % 2 ? frequent : all;
    std::string w = from[rng() % from.size()];
    if (partial) w = w.substr(0, std::min<size_t>(w.size(), 3 + rng() % 3));
    return w;
  };

  std::vector<Kind> kinds;
  for (int words = 1; words <= 3; ++words) {
    for (SearchType type : {SearchType::kAllWords, SearchType::kAnyWord}) {
      for (bool partial : {false, true}) kinds.push_back({words, type, partial});
    }
  }
  std::vector<double> time_of(kinds.size());
  std::vector<int> count_of(kinds.size()), found_of(kinds.size());
  std::string results = ws.file(kResultsFile);
  for (int q = 0; q < queries; ++q) {
    size_t k = static_cast<size_t>(q) % kinds.size();
    const Kind& kind = kinds[k];
    SearchRequest request;
    request.type = kind.type;
    request.partial = kind.partial;
    for (int w = 0; w < kind.words; ++w) {
      if (w) request.query += ' ';
      request.query += pick(kind.partial);
    }
    auto t = Clock::now();
    SearchResult r = run_search(db, ui, request, results);
    time_of[k] += seconds_since(t);
    ++count_of[k];
    if (r.status == SearchResult::Status::kFound) found_of[k] += 1;
    if (r.status == SearchResult::Status::kFailed) ui.failures++;
  }
  double total = 0;
  for (size_t k = 0; k < kinds.size(); ++k) {
    total += time_of[k];
    std::printf("%s  %4d queries, %4d found something: %8.1f queries/s\n", kinds[k].name().c_str(),
                count_of[k], found_of[k], time_of[k] > 0 ? count_of[k] / time_of[k] : 0.0);
  }
  std::printf("all kinds: %d queries in %.2f s: %.1f queries/s\n", queries, total,
              total > 0 ? queries / total : 0.0);
  if (keep.empty()) {
    ws.close();
    fs::remove_all(dir);
  } else {
    std::printf("the WorkSpace stays in %s\n", dir.c_str());
  }
  return ui.failures ? 3 : 0;
}

}  // namespace
}  // namespace trawlix

int main(int argc, char** argv) {
  return trawlix::run(argc, argv);
}
