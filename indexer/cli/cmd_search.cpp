// search: the local search from the command line.
#include <ostream>

#include "base/cp1252.h"
#include "cli/cli.h"
#include "search/local_search.h"

namespace trawlix::cli {

int cmd_search(Context& ctx, const Arguments& args) {
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
  for (const SearchHit& hit : result.hits) {
    ctx.out << hit.doc_id << "\t" << terminal_field(hit.url) << "\t"
            << terminal_field(hit.description) << "\n";
  }
  if (!result.page_written) return kExitFailure;
  ctx.err << "results page: " << terminal_field(page) << "\n";
  if (args.has("--open")) open_results_page(ctx.ui, page);
  return kExitOk;
}

}  // namespace trawlix::cli
