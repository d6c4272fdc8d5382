// Local search: the documents of the word index that hold all, or any, of
// the query's words, written as a results page for the browser.
#pragma once

#include <string>
#include <vector>

#include "search/results_page.h"
#include "shell/database.h"
#include "shell/user_interface.h"

namespace trawlix {

enum class SearchType { kAllWords = 0, kAnyWord = 1 };

inline constexpr size_t kMaxQueryTokens = 20;

struct SearchRequest {
  std::string query;  // Windows-1252
  SearchType type = SearchType::kAllWords;
  bool partial = false;  // a query word matches every word that begins with it
};

struct SearchResult {
  enum class Status { kNoWords, kNoDocuments, kNothingFound, kFound, kFailed };
  Status status = Status::kFailed;
  std::vector<SearchHit> hits;  // ascending DocID, each with its score
  std::vector<std::string> tokens;
  bool truncated = false;     // the query had more tokens than were searched
  bool page_written = false;  // the results page was written (kFound only)
};

// Runs a search, telling the user through `ui` when there is nothing to
// search, nothing was found, or the query was cut. When documents are
// found, writes the results page to `results_path`.
SearchResult run_search(Database& db, UserInterface& ui, const SearchRequest& request,
                        const std::string& results_path);

// Opens the results page in the browser; when nothing opens it, tells the
// user where it was written.
void open_results_page(UserInterface& ui, const std::string& results_path);

// Opens one found document in the browser, or says why it could not.
void open_search_hit(UserInterface& ui, const std::string& url);

}  // namespace trawlix
