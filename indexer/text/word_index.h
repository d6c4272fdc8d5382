// Indexing one stored page: the scan of its tokens through a small state
// machine that knows comments, scripts and style sheets, the title, anchors,
// frames, META and ALT text; the recording of its words in Words and
// WordsDocs; and the removal of a document's words.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "shell/database.h"
#include "shell/indexer_state.h"
#include "shell/user_interface.h"

namespace trawlix {

// Receives every HREF and SRC value of the page, as the page writes it.
using LinkHandler = std::function<void(const std::string& link_text)>;

inline constexpr size_t kWordWidth = 19;
inline constexpr size_t kDescriptionWidth = 100;

class WordIndexer {
 public:
  WordIndexer(Database& db, IndexerState& state, UserInterface& ui)
      : db_(db), state_(state), ui_(ui) {}

  // Decides whether the words of the document are recorded again. When they
  // are, its old occurrences are removed by the next index_document, inside
  // the page's own transaction, so a page that is never indexed keeps them.
  void check_reindex(int32_t doc_id);

  enum class Result { kIndexed, kNotOpened, kDatabaseError };
  // Indexes the page file as state.current (url, doc_id, page_title): its
  // words, its links (through `links`, which may add Docs rows), and the
  // document's description and status, all in one transaction. On a
  // database error nothing of the page is kept; db.last_error() says why.
  Result index_document(const std::string& path, const LinkHandler& links);

  // Counts one occurrence of a token (upper case, folded) for the page
  // being indexed. Words of one character, tokens that do not begin with a
  // word character, and everything in mail robot mode are left out.
  void add_word(const std::string& token);

  bool record_words() const { return record_words_; }

  // Called by the link handler when it could not record a link: the scan
  // stops and the page's transaction is rolled back, so that a page is
  // never kept without its links.
  void fail_page() { page_failed_ = true; }

 private:
  bool write_words(int32_t doc_id);

  Database& db_;
  IndexerState& state_;
  UserInterface& ui_;
  bool record_words_ = true;
  bool delete_old_ = false;
  bool page_failed_ = false;
  // The page's words in the order they first occur, with their counts.
  std::vector<std::pair<std::string, int64_t>> words_;
  std::unordered_map<std::string, size_t> word_slot_;
};

// Removes a document and its occurrences (one transaction), taking them off
// the totals in Words. Reports each failing statement and goes on with the
// next; when one failed, nothing is removed.
bool delete_document(Database& db, UserInterface& ui, int32_t doc_id);

}  // namespace trawlix
