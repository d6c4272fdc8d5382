// fetch: what the crawler receives for a URL ("Open URL"): the page is
// stored in the WorkSpace's working file and printed as the document list
// shows it.
#include <ostream>

#include "cli/cli.h"
#include "crawler/curl_http_client.h"
#include "crawler/page_fetcher.h"
#include "crawler/url_text.h"
#include "shell/run_lock.h"

namespace trawlix::cli {

int cmd_fetch(Context& ctx, const Arguments& args) {
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  IndexerState state;
  state.current.url = typed_url(args.positional[0]);
  if (state.current.url.empty()) {
    ctx.ui.show_message("Information not provided:", "Please type an URL to load/index",
                        Icon::kExclamation);
    return kExitUsage;
  }
  auto lock = lock_for_run(ws->dir(), "the fetch of a page", ctx.ui);
  if (!lock) return kExitFailure;
  CurlHttpClient http;
  PageFetcher fetcher(http, ctx.ui);
  FetchOutcome got = fetcher.fetch_page(ws->dir(), state, true);
  if (!got.stored()) {
    if (!got.error.empty()) ctx.err << "fetch: " << terminal_text(got.error) << "\n";
    return kExitFailure;
  }
  if (got.final_url != state.current.url) {
    ctx.err << "fetch: redirected to " << terminal_field(got.final_url) << "\n";
  }
  if (got.end == FetchOutcome::End::kCutOff) {
    ctx.err << "fetch: cut off: " << terminal_text(got.error) << "\n";
  }
  if (got.http_status >= 400) ctx.err << "fetch: HTTP status " << got.http_status << "\n";
  return got.indexable() ? kExitOk : kExitFailure;
}

}  // namespace trawlix::cli
