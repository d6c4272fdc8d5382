// webindex: generating the web index files from the command line.
#include <ostream>

#include "cli/cli.h"
#include "search/search_page.h"
#include "search/web_index.h"

namespace trawlix::cli {

int cmd_webindex(Context& ctx, const Arguments&) {
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  if (!confirm_web_index(ctx.ui)) {
    ctx.err << "No web index was written.\n";
    return kExitFailure;
  }
  WebIndexReport report = generate_web_index(*ws->db(), ctx.ui, engine_byte_order(), ws->dir(),
                                             [] { return interrupted(); });
  switch (report.status) {
    case WebIndexReport::Status::kStopped:
      ctx.err << "Stopped; the web index files were left as they were.\n";
      return kExitStopped;
    case WebIndexReport::Status::kFailed:
      return kExitFailure;
    case WebIndexReport::Status::kWritten:
      break;
  }
  ctx.out << "documents\t" << report.documents << "\n"
          << "group\twords\tindex records\tcross-reference records\n";
  for (const GroupSummary& g : report.groups) {
    ctx.out << (g.letter.empty() ? std::string("other") : g.letter) << "\t" << g.words << "\t"
            << g.index_records << "\t" << g.cross_records << "\n";
  }
  ctx.err << "web index written to " << ws->dir() << "\n";
  if (!copy_search_page(ctx.ui, ws->dir())) return kExitFailure;
  ctx.err << "search page " << search_page_files().front() << " copied beside it\n";
  return kExitOk;
}

}  // namespace trawlix::cli
