// The crawl commands: add-url, crawl, explore.
#include <unistd.h>

#include <iostream>
#include <ostream>

#include "base/cp1252.h"
#include "cli/cli.h"
#include "cli/document_argument.h"
#include "crawler/crawl_scheduler.h"
#include "crawler/curl_http_client.h"
#include "crawler/link_resolver.h"
#include "crawler/url_text.h"

namespace trawlix::cli {
namespace {

bool read_start_url(Context& ctx, const Arguments& args, StartUrl* start) {
  start->url = utf8_to_cp1252(args.positional[0]);
  start->description = utf8_to_cp1252(args.option("--description").value_or(""));
  start->max_depth = typed_number(args.option("--depth").value_or("0"));
  start->level = typed_number(args.option("--level").value_or("0"));
  start->crawl_above = args.has("--crawl-above");
  // A start URL is never cut: a longer one would be another page.
  if (std::string url = typed_url(start->url); url.size() > kMaxUrlLength) {
    report_long_url(ctx.ui, url);
    return false;
  }
  if (auto parent = args.option("--parent")) {
    if (!read_doc_id(ctx, "--parent", *parent, &start->parent)) return false;
    auto ws = open_workspace(ctx);
    if (!ws) return false;
    for (const ParentChoice& p : parent_choices(*ws->db())) {
      if (p.doc_id == start->parent) return true;
    }
    ctx.err << "trawlix-cli: no document " << *parent << " to be the parent\n";
    return false;
  }
  return true;
}

const char* fate_name(ProcessedRow::Fate fate) {
  switch (fate) {
    case ProcessedRow::Fate::kIndexed:
      return "indexed";
    case ProcessedRow::Fate::kTooDeep:
      return "too deep";
    case ProcessedRow::Fate::kNotFetched:
      return "not fetched";
    case ProcessedRow::Fate::kErrorPage:
      return "not indexed";
    case ProcessedRow::Fate::kNotOpened:
      return "not read";
    case ProcessedRow::Fate::kDatabaseError:
      return "failed";
  }
  return "";
}

// The running line on a terminal: the crawl's counts, drawn on standard
// error after every page and cleared before the next page's line.
class RunningLine {
 public:
  explicit RunningLine(std::ostream& err)
      : err_(err), live_(&err == &std::cerr && isatty(STDERR_FILENO)) {}
  void show(const CrawlProgress& progress) {
    if (!live_) return;
    err_ << "\r" << progress_text(progress) << "\x1b[K" << std::flush;
    shown_ = true;
  }
  void clear() {
    if (!shown_) return;
    err_ << "\r\x1b[K" << std::flush;
    shown_ = false;
  }

 private:
  std::ostream& err_;
  bool live_;
  bool shown_ = false;
};

// One line per row: a running count, what happened, the URL and why.
auto row_reporter(Context& ctx, int* count) {
  return [&ctx, count](const ProcessedRow& row) {
    ctx.out << ++*count << "\t" << fate_name(row.fate) << "\t" << row.doc_id << "\t"
            << terminal_field(row.url);
    if (row.fate != ProcessedRow::Fate::kIndexed) ctx.out << "\t" << terminal_field(row.reason);
    ctx.out << std::endl;
  };
}

}  // namespace

int cmd_add_url(Context& ctx, const Arguments& args) {
  StartUrl start;
  if (!read_start_url(ctx, args, &start)) return kExitUsage;
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  int32_t doc_id = 0;
  switch (add_start_url(*ws->db(), ctx.ui, start, &doc_id)) {
    case AddResult::kAdded:
      ctx.out << doc_id << "\n";
      return kExitOk;
    case AddResult::kEmptyUrl:
    case AddResult::kTooLong:
      return kExitUsage;
    default:
      return kExitFailure;
  }
}

int cmd_crawl(Context& ctx, const Arguments& args) {
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  IndexerState state;
  state.restart_all = args.has("--restart");
  state.settings.keep_cycling = args.has("--cycle");
  std::string reindex = args.option("--reindex").value_or("always");
  if (reindex == "never") {
    state.settings.reindex_mode = 0;
  } else if (reindex == "always") {
    state.settings.reindex_mode = 1;
  } else if (reindex == "ask") {
    state.settings.reindex_mode = 2;
  } else {
    ctx.err << "trawlix-cli crawl: --reindex takes never, always or ask\n";
    return kExitUsage;
  }
  if (auto timeout = args.option("--timeout"))
    state.settings.access_timeout = typed_number(*timeout);
  if (auto connections = args.option("--connections")) {
    int n = typed_number(*connections);
    if (n < 1 || n > kMaxConnections) {
      ctx.err << "trawlix-cli crawl: --connections takes a number from 1 to " << kMaxConnections
              << "\n";
      return kExitUsage;
    }
    state.settings.connections = n;
  }
  state.settings.respect_robots = args.has("--respect-robots");
  CurlHttpClient http;
  CrawlScheduler crawler(*ws, state, ctx.ui, http);
  int count = 0;
  RunningLine line(ctx.err);
  crawler.set_on_row([&line, report = row_reporter(ctx, &count)](const ProcessedRow& row) {
    line.clear();
    report(row);
  });
  crawler.set_on_progress([&line](const CrawlProgress& progress) { line.show(progress); });
  ctx.ui.set_show_list(false);
  ctx.ui.set_on_interrupt([&crawler] { crawler.stop(); });
  bool ran = crawler.start_crawl();
  line.clear();
  if (!ran) return kExitFailure;
  if (!crawler.failure().empty()) {
    ctx.err << "Stopped after " << count << " documents.\n";
    return kExitFailure;
  }
  if (interrupted()) {
    ctx.err << "Stopped after " << count << " documents.\n";
    return kExitStopped;
  }
  ctx.err << count << " documents processed, "
          << ws->db()->query_int("select count(*) from Docs where nStatus = 0") << " waiting.\n";
  return kExitOk;
}

int cmd_explore(Context& ctx, const Arguments& args) {
  StartUrl start;
  if (!read_start_url(ctx, args, &start)) return kExitUsage;
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  IndexerState state;
  CurlHttpClient http;
  CrawlScheduler crawler(*ws, state, ctx.ui, http);
  int count = 0;
  crawler.set_on_row(row_reporter(ctx, &count));
  ProcessedRow row = crawler.explore_url(start);
  return row.fate == ProcessedRow::Fate::kIndexed ? kExitOk : kExitFailure;
}

}  // namespace trawlix::cli
