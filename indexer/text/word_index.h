// Indexing one stored page: its scan (text/page_scan.h), then the
// recording of its words in Words and WordsDocs, its links, description and
// status, in one transaction; and the removal of a document's words.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

#include "shell/database.h"
#include "shell/indexer_state.h"
#include "shell/user_interface.h"
#include "text/page_scan.h"

namespace trawlix {

// Receives every HREF and SRC value of the page, as the page writes it.
using LinkHandler = std::function<void(const std::string& link_text)>;

inline constexpr size_t kDescriptionWidth = 100;

// The WordIDs of words met on earlier pages, so that their totals are
// found by WordID instead of by word. Every use checks the WordID against
// its word, so an entry a re-initialised index or a rolled-back page left
// behind costs one lookup more and never a wrong row.
using WordIds = std::unordered_map<std::string, int64_t>;

class WordIndexer {
 public:
  WordIndexer(Database& db, IndexerState& state, UserInterface& ui)
      : db_(db), state_(state), ui_(ui), ids_(&own_ids_) {}

  // Keeps the WordIDs it learns in `ids` (which outlives the indexer), for
  // the indexers of the next pages.
  void share_word_ids(WordIds& ids) { ids_ = &ids; }

  // Decides whether the words of state.current are recorded again. When they
  // are, its old occurrences are removed by the next index_document, inside
  // the page's own transaction, so a page that is never indexed keeps them.
  void check_reindex();

  enum class Result { kIndexed, kNotOpened, kDatabaseError };
  // Indexes the page file as state.current (url, doc_id, page_title): its
  // words, its links (through `links`, which may add Docs rows), and the
  // document's description and status, all in one transaction. On a
  // database error nothing of the page is kept; db.last_error() says why.
  // `ahead`, the scan of the file's text made beforehand, stands for the
  // scan of the file when it was made with the options this page is
  // scanned with; otherwise the file is scanned.
  [[nodiscard]] Result index_document(const std::string& path, const LinkHandler& links,
                                      std::optional<ScannedAhead> ahead = std::nullopt);

  // Stores a scanned page as the document `doc_id`: the step of
  // index_document after the scan. False on a database error, when nothing
  // of the page is kept.
  [[nodiscard]] bool store_page(int32_t doc_id, const PageScan& page, const LinkHandler& links);

  bool record_words() const { return record_words_; }

  // Called by the link handler when it could not record a link: the page's
  // transaction is rolled back, so that a page is never kept without its
  // links.
  void fail_page() { page_failed_ = true; }

 private:
  [[nodiscard]] bool write_words(int32_t doc_id, const std::vector<WordCount>& words);
  // The WordID of `word`, which the kept WordIDs lack, after adding `count`
  // to its total (a new row when it has none); 0 on a database error.
  [[nodiscard]] int64_t add_to_total(const std::string& word, int64_t count);

  Database& db_;
  IndexerState& state_;
  UserInterface& ui_;
  bool record_words_ = true;
  bool delete_old_ = false;
  bool page_failed_ = false;
  WordIds own_ids_;
  WordIds* ids_;
};

// The options index_document scans the page of the document at `url` with,
// when its words are recorded or not (check_reindex decides) and it has
// `title` already.
ScanOptions scan_options_for(const std::string& url, const std::string& title, bool record_words,
                             const CrawlSettings& settings);

// Removes a document and its occurrences (one transaction), taking them off
// the totals in Words. Reports each failing statement and goes on with the
// next; when one failed, nothing is removed.
[[nodiscard]] bool delete_document(Database& db, UserInterface& ui, int32_t doc_id);

}  // namespace trawlix
