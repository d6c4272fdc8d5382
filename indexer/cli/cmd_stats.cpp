// The stats command: the four counts of the statistics box.
#include <ostream>

#include "cli/cli.h"
#include "search/document_reports.h"

namespace trawlix::cli {

int cmd_stats(Context& ctx, const Arguments&) {
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  DocumentStatistics stats;
  if (!document_statistics(*ws->db(), ctx.ui, &stats)) return kExitFailure;
  ctx.out << terminal_text(statistics_text(stats)) << "\n";
  return kExitOk;
}

}  // namespace trawlix::cli
