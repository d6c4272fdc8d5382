// search: the local search from the command line, best documents first.
#include <algorithm>
#include <cstdio>
#include <ostream>

#include "base/cp1252.h"
#include "cli/cli.h"
#include "cli/document_argument.h"
#include "search/local_search.h"

namespace trawlix::cli {
namespace {

// A JSON string of Windows-1252 text: UTF-8, with quotes, backslashes and
// control characters escaped.
std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (char c : cp1252_to_utf8(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned char>(c));
      out += code;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// Best first: the higher score, then the lower DocID.
void order_by_score(std::vector<SearchHit>& hits) {
  std::sort(hits.begin(), hits.end(), [](const SearchHit& a, const SearchHit& b) {
    return a.score != b.score ? a.score > b.score : a.doc_id < b.doc_id;
  });
}

}  // namespace

int cmd_search(Context& ctx, const Arguments& args) {
  std::string order = args.option("--order").value_or("score");
  if (order != "score" && order != "docid") {
    ctx.err << "trawlix-cli search: --order is score or docid, not '" << terminal_field(order)
            << "'\n";
    return kExitUsage;
  }
  std::optional<int64_t> limit = whole_number(args.option("--limit").value_or("0"));
  if (!limit || *limit < 0) {
    ctx.err << "trawlix-cli search: --limit needs a whole number (0: no limit)\n";
    return kExitUsage;
  }
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  SearchRequest request;
  for (const std::string& word : args.positional) {
    if (!request.query.empty()) request.query += ' ';
    request.query += utf8_to_cp1252(word);
  }
  request.type = args.has("--any") ? SearchType::kAnyWord : SearchType::kAllWords;
  request.partial = args.has("--partial");
  std::string page = ws->file(kResultsFile);
  SearchResult result = run_search(*ws->db(), ctx.ui, request, page);
  switch (result.status) {
    case SearchResult::Status::kNoWords:
      return kExitUsage;
    case SearchResult::Status::kNoDocuments:
    case SearchResult::Status::kNothingFound:
      return kExitNothingFound;
    case SearchResult::Status::kFailed:
      return kExitFailure;
    case SearchResult::Status::kFound:
      break;
  }
  std::vector<SearchHit>& hits = result.hits;
  size_t found = hits.size();
  if (order == "score") order_by_score(hits);
  if (*limit > 0 && static_cast<uint64_t>(*limit) < hits.size()) {
    hits.resize(static_cast<size_t>(*limit));
  }
  bool json = args.has("--json");
  for (const SearchHit& hit : hits) {
    if (json) {
      ctx.out << "{\"docid\":" << hit.doc_id << ",\"url\":" << json_string(hit.url)
              << ",\"description\":" << json_string(hit.description) << ",\"score\":" << hit.score
              << "}\n";
    } else {
      ctx.out << hit.doc_id << "\t" << terminal_field(hit.url) << "\t"
              << terminal_field(hit.description) << "\n";
    }
  }
  ctx.err << found << (found == 1 ? " document\n" : " documents\n");
  if (!result.page_written) return kExitFailure;
  ctx.err << "results page: " << terminal_field(page) << "\n";
  if (args.has("--open")) open_results_page(ctx.ui, page);
  return kExitOk;
}

}  // namespace trawlix::cli
