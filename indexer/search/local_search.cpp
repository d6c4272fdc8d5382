// Running a local search over Words and WordsDocs.
#include "search/local_search.h"

#include <fstream>
#include <unordered_map>

#include "base/cp1252.h"
#include "search/query_tokenizer.h"
#include "text/word_index.h"

namespace trawlix {
namespace {

constexpr const char kResultsTitle[] = "Local Search Results: ";

// Occurrences of one query token per document. A prefix match is a range
// on the Word key, so that "_" and "%" in a word are plain characters.
bool token_hits(Database& db, const std::string& token, bool partial,
                std::unordered_map<int64_t, int64_t>* hits) {
  static constexpr const char kSelect[] =
      "select WordsDocs.DocID, wordsdocs.Occurrences from wordsdocs, words where ";
  Statement st;
  if (partial) {
    // Words hold characters up to U+00FE, so every word that begins with
    // the token sorts below the token followed by U+00FF.
    st =
        db.prepare(std::string(kSelect) +
                   "(Word >= ?1 and Word < ?1 || char(255)) and (Words.WordID = WordsDocs.WordID)");
  } else {
    st = db.prepare(std::string(kSelect) + "(Word = ?1) and (Words.WordID = WordsDocs.WordID)");
  }
  if (!st.ok() || !st.bind({token})) return false;
  // A prefix matches several words of one document: their counts add up.
  while (st.step()) (*hits)[st.get_int(0)] += st.get_int(1);
  return !st.failed();
}

}  // namespace

SearchResult run_search(Database& db, UserInterface& ui, const SearchRequest& request,
                        const std::string& results_path) {
  SearchResult result;
  // One token more than is searched tells a long query; the rest is never read.
  std::vector<std::string> tokens = query_tokens(request.query, kMaxQueryTokens + 1);
  if (tokens.empty()) {
    ui.show_message("", "NO Words to search!!!", Icon::kNone);
    result.status = SearchResult::Status::kNoWords;
    return result;
  }
  std::vector<SearchHit> documents;
  {
    Statement docs =
        db.prepare("select DocID, URLDocument, URLDescription from docs order by DocID");
    while (docs.ok() && docs.step()) {
      documents.push_back(
          {static_cast<int32_t>(docs.get_int(0)), docs.get_text(1), docs.get_text(2)});
    }
    if (!docs.ok() || docs.failed()) return result;
  }
  if (documents.empty()) {
    ui.show_message("", "NO documents to search!!!", Icon::kNone);
    result.status = SearchResult::Status::kNoDocuments;
    return result;
  }
  ui.set_busy(true);
  if (tokens.size() > kMaxQueryTokens) {
    tokens.resize(kMaxQueryTokens);
    result.truncated = true;
  }
  for (std::string& t : tokens) t = cut_text(t, kWordWidth);
  result.tokens = tokens;

  std::vector<std::unordered_map<int64_t, int64_t>> hits(tokens.size());
  for (size_t w = 0; w < tokens.size(); ++w) {
    if (!token_hits(db, tokens[w], request.partial, &hits[w])) {
      ui.set_busy(false);
      ui.show_message(kResultsTitle, "The search failed: " + db.last_error(), Icon::kCritical);
      return result;
    }
  }
  for (SearchHit& doc : documents) {
    size_t found = 0;
    for (const auto& per_token : hits) {
      auto it = per_token.find(doc.doc_id);
      if (it != per_token.end() && it->second != 0) {
        ++found;
        doc.score += it->second;
      }
    }
    bool match = request.type == SearchType::kAllWords ? found == tokens.size() : found > 0;
    if (match) result.hits.push_back(std::move(doc));
  }
  ui.set_busy(false);
  if (result.truncated) {
    ui.show_message(
        "Please note:", "The query has more than 20 words: only the first 20 were searched.",
        Icon::kInformation);
  }
  if (result.hits.empty()) {
    ui.show_message(kResultsTitle, "No documents found...", Icon::kExclamation);
    result.status = SearchResult::Status::kNothingFound;
    return result;
  }
  std::ofstream out(results_path, std::ios::binary | std::ios::trunc);
  out << results_page(result.hits);
  out.close();
  result.page_written = static_cast<bool>(out);
  if (!out) {
    ui.show_message(kResultsTitle, "The results page could not be written to " + results_path,
                    Icon::kExclamation);
  }
  result.status = SearchResult::Status::kFound;
  return result;
}

void open_results_page(UserInterface& ui, const std::string& results_path) {
  if (ui.open_in_browser(results_path)) return;
  ui.show_message("URL Failed",
                  "Web Page not Opened\rThe results page was written to " + results_path,
                  Icon::kExclamation);
}

void open_search_hit(UserInterface& ui, const std::string& url) {
  if (!ui.open_in_browser(url)) {
    ui.show_message("Browser Not Found", "Could not find associated Browser", Icon::kExclamation);
  }
}

}  // namespace trawlix
