// The indexes of WordsDocs besides its key (WordsDocs_WordIDinx and
// WordsDocs_DocIDinx) built once after a crawl instead of row by row. Each
// page a crawl indexes adds a few hundred rows to WordsDocs; the WordID
// index takes each of them at a different place, so that a commit writes a
// page of the file for nearly every row. A crawl that is about to at least
// double the index drops the two and builds them again when it ends, which
// costs a sort of what the table holds then. Nothing else changes: the
// rows, their order, the indexes after the crawl. Searches beside the
// crawl find the same rows, reading the table whole.
//
// A run that is killed leaves the indexes missing: the next open of the
// WorkSpace builds them, unless a run holds the WorkSpace (that run builds
// them when it ends).
#pragma once

#include "shell/database.h"

namespace trawlix {

class DeferredWordIndexes {
 public:
  // Drops the indexes when `defer` is true (a failure to drop keeps them,
  // which only costs time).
  DeferredWordIndexes(Database& db, bool defer);
  // Builds what is still missing.
  ~DeferredWordIndexes() { (void)rebuild(); }
  DeferredWordIndexes(const DeferredWordIndexes&) = delete;
  DeferredWordIndexes& operator=(const DeferredWordIndexes&) = delete;

  // Builds the dropped indexes now. False with db.last_error() when they
  // could not be built: they are then built at the next open.
  [[nodiscard]] bool rebuild();

 private:
  Database& db_;
  bool dropped_ = false;
};

// Whether any index of the word tables is missing.
bool word_indexes_missing(Database& db);
// Creates the indexes of the word tables that are missing, in one
// transaction. False with db.last_error() on failure.
[[nodiscard]] bool create_missing_word_indexes(Database& db);

}  // namespace trawlix
