// Crawl passes over the work list.
#include "crawler/crawl_scheduler.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "base/paths.h"
#include "crawler/link_resolver.h"
#include "crawler/url_text.h"
#include "shell/deferred_indexes.h"
#include "shell/run_lock.h"
#include "text/word_index.h"

namespace trawlix {
namespace {

// Clears a flag on leaving a scope.
struct Running {
  explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
  ~Running() { flag_ = false; }
  bool& flag_;
};

// The work-list columns a row is processed with, and the row they give.
constexpr const char kRowColumns[] =
    "select DocID, URLDocument, URLLevel, nMaxDepth, bCrawlAbove, bIndexed from docs ";

std::string why_not_indexed(const FetchOutcome& got) {
  if (got.end == FetchOutcome::End::kCutOff) return "the transfer was cut off: " + got.error;
  return "the server answered HTTP " + std::to_string(got.http_status);
}

}  // namespace

CrawlScheduler::CrawlScheduler(Workspace& ws, IndexerState& state, UserInterface& ui,
                               HttpClient& http)
    : ws_(ws),
      state_(state),
      ui_(ui),
      http_(http),
      ahead_(http, FetchLimits{}.max_page_bytes),
      fetcher_(ahead_, ui) {}

bool CrawlScheduler::start_crawl() {
  if (running_ || !ws_.db()) return false;
  auto lock = lock_for_run(ws_.dir(), "a crawl", ui_);
  if (!lock) return false;
  Running guard(running_);
  tried_.clear();
  robots_.clear();
  failure_.clear();
  word_ids_.clear();
  progress_.begin();
  waiting_ = -1;
  state_.keep_running = true;
  // A restart that cannot put every document back to waiting would resume
  // instead, crawling only what happened to wait: it crawls nothing.
  if (state_.restart_all && !ws_.db()->exec("update docs set nStatus=0")) {
    ui_.show_message(
        "Database error:", "Error: restarting the exploration: \r" + ws_.db()->last_error(),
        Icon::kCritical);
    return false;
  }
  if (!state_.settings.keep_cycling) {
    crawl_waiting_deferred();
    return true;
  }
  while (state_.keep_running) {
    crawl_waiting_deferred();
    // Nothing waits: idle until Stop, looking again now and then.
    for (int waited = 0; state_.keep_running && waited < idle_pause_ms_; waited += 50) {
      ui_.process_events();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  return true;
}

void CrawlScheduler::crawl_waiting_deferred() {
  DeferredWordIndexes deferred(*ws_.db(), defers_word_indexes());
  crawl_waiting();
  // Building them sorts the whole table: the busy pointer shows meanwhile.
  ui_.set_busy(true);
  const bool built = deferred.rebuild();
  ui_.set_busy(false);
  if (!built && failure_.empty()) {
    fail("the word indexes could not be built: " + ws_.db()->last_error());
  }
}

bool CrawlScheduler::defers_word_indexes() {
  if (state_.settings.mail_robot_mode != 0) return false;
  // The pages that will add words (those never indexed, and with "always
  // reindex" every waiting one) against the indexed pages that stay.
  const int64_t again = state_.settings.reindex_mode == 1 ? 1 : 0;
  Database& db = *ws_.db();
  int64_t fresh = db.query_int(
      "select count(*) from Docs where nStatus = 0 and (coalesce(bIndexed, 0) = 0 or ?1)", {again},
      0);
  int64_t kept = db.query_int(
      "select count(*) from Docs where coalesce(bIndexed, 0) <> 0 and not (nStatus = 0 and ?1)",
      {again}, 0);
  return fresh > 0 && fresh >= kept;
}

void CrawlScheduler::crawl_waiting() {
  Database& db = *ws_.db();
  bool more = true;
  while (state_.keep_running && more) {
    // The pass works on the rows waiting when it starts; rows added while it
    // runs wait for the next pass.
    std::vector<Row> rows;
    Statement st =
        db.prepare(std::string(kRowColumns) + "where nstatus=0 order by urllevel, DocID");
    while (st.ok() && st.step()) {
      Row row = read_row(st);
      if (!tried_.count(row.doc_id)) rows.push_back(std::move(row));
    }
    if (!st.ok() || st.failed()) {
      fail("database error: " + db.last_error());
      break;
    }
    if (rows.empty()) more = false;
    plan_pass(rows);
    for (const Row& row : rows) {
      if (!state_.keep_running) break;
      ProcessedRow done = process_row(row, false);
      if (done.fate != ProcessedRow::Fate::kIndexed) tried_.insert(row.doc_id);
      if (on_row_) on_row_(done);
      if (progress_.listening()) {
        progress_.page_done(done.fate != ProcessedRow::Fate::kIndexed, waiting_after(done));
      }
      if (done.fatal) fail(done.reason);
      ui_.process_events();
    }
    // After Stop, the pages fetched ahead are dropped.
    ahead_.drop();
  }
  ui_.set_busy(false);
  ui_.process_events();
}

ProcessedRow CrawlScheduler::process_row(const Row& row, bool show_page) {
  ProcessedRow done;
  done.doc_id = row.doc_id;
  done.url = row.url;
  ui_.set_busy(true);
  CurrentDocument& cur = state_.current;
  cur.url = row.url;
  cur.doc_id = row.doc_id;
  cur.level = row.level;
  cur.max_depth = row.max_depth;
  cur.crawl_above = row.crawl_above;
  cur.already_indexed = row.indexed;
  if (!(cur.max_depth < 1 || cur.level <= cur.max_depth)) {
    done.fate = ProcessedRow::Fate::kTooDeep;
    done.reason = "beyond its exploration depth";
    return done;
  }
  if (!robots_allow(row.url)) {
    done.fate = ProcessedRow::Fate::kNotFetched;
    done.reason = "robots.txt";
    ui_.list_append("not fetched: " + row.url + " (robots.txt)");
    return done;
  }
  FetchOutcome got = fetcher_.fetch_page(ws_.dir(), state_, show_page);
  std::optional<ScannedAhead> scanned = ahead_.take_scan(request_url(row.url));
  ui_.process_events();
  if (!got.stored()) {
    done.fate = ProcessedRow::Fate::kNotFetched;
    done.reason = got.error.empty() ? "the page could not be fetched" : got.error;
    if (got.local_failure) {
      done.fatal = true;
      done.reason = "the working file could not be written: " + got.error;
    }
    return done;
  }
  if (!got.indexable()) {
    done.fate = ProcessedRow::Fate::kErrorPage;
    done.reason = why_not_indexed(got);
    ui_.list_append("not indexed: " + row.url + " (" + done.reason + ")");
    return done;
  }
  LinkResolver resolver(*ws_.db(), state_, ui_);
  // Links resolve against the page that was really served. A redirect to
  // another host still gives a page to index, but its links lead off the
  // site, so the crawl does not spread over a site the user never named.
  const std::string& served = got.final_url.empty() ? row.url : got.final_url;
  resolver.set_page_context(served);
  resolver.set_links_external(!same_site_host(row.url, served));
  WordIndexer indexer(*ws_.db(), state_, ui_);
  indexer.share_word_ids(word_ids_);
  indexer.check_reindex();
  WordIndexer::Result r = indexer.index_document(
      ws_.file(kWorkingFile),
      [&](const std::string& link) {
        LinkFate fate = resolver.resolve_link(link).fate;
        if (fate == LinkFate::kFailed) indexer.fail_page();
        if (fate == LinkFate::kAdded) ++done.links_added;
      },
      std::move(scanned));
  if (r != WordIndexer::Result::kIndexed) done.links_added = 0;
  cur.page_title.clear();
  if (r == WordIndexer::Result::kNotOpened) {
    done.fate = ProcessedRow::Fate::kNotOpened;
    done.reason = "the stored page could not be read";
  } else if (r == WordIndexer::Result::kDatabaseError) {
    done.fate = ProcessedRow::Fate::kDatabaseError;
    done.reason = "database error: " + ws_.db()->last_error();
    done.fatal = true;
    ui_.list_append("not indexed: " + row.url + " (" + done.reason + ")");
  }
  return done;
}

void CrawlScheduler::plan_pass(const std::vector<Row>& rows) {
  const CrawlSettings& settings = state_.settings;
  std::vector<PlannedPage> pages;
  for (const Row& row : rows) {
    bool too_deep = !(row.max_depth < 1 || row.level <= row.max_depth);
    if (too_deep || !is_web_url(row.url) || !robots_allow(row.url)) continue;
    // Scanned ahead as a crawl page most likely is: with no title of its
    // own, and, when indexed before, with its words recorded unless the
    // settings say never (asked, the answer is taken to be yes). The
    // indexer checks these against the options it really uses.
    bool record_words = !row.indexed || settings.reindex_mode != 0;
    pages.push_back({fetcher_.request_for(row.url, settings),
                     scan_options_for(row.url, std::string(), record_words, settings)});
  }
  ahead_.plan(std::move(pages), std::min(settings.connections, kMaxConnections));
}

bool CrawlScheduler::robots_allow(const std::string& url) {
  if (!state_.settings.respect_robots || !is_web_url(url)) return true;
  std::string where = robots_url(url);
  auto known = robots_.find(where);
  if (known == robots_.end()) {
    // Read once per crawl, at most this much of it.
    constexpr size_t kMaxRobotsBytes = 512 * 1024;
    HttpRequest request = fetcher_.request_for(where, state_.settings);
    std::string text;
    HttpResponse got = http_.get(request, [&](std::string_view piece) {
      text.append(piece.substr(0, kMaxRobotsBytes - text.size()));
      return text.size() < kMaxRobotsBytes;
    });
    bool read = got.end == HttpResponse::End::kComplete ||
                (got.end == HttpResponse::End::kCutOff && text.size() >= kMaxRobotsBytes);
    RobotsRules rules = RobotsRules::disallow_all();
    if (read && got.status >= 200 && got.status < 300) {
      rules = RobotsRules::parse(text, kFetchAgent);
    } else if (read && got.status >= 400 && got.status < 500) {
      rules = RobotsRules::allow_all();  // no robots.txt: nothing is refused
    }
    known = robots_.emplace(where, std::move(rules)).first;
  }
  return known->second.allows(robots_path(request_url(url)));
}

int64_t CrawlScheduler::waiting_after(const ProcessedRow& done) {
  // Counting reads every row of Docs: it is done at most twice a second.
  // In between, an indexed page waits no more, and its links wait.
  auto now = std::chrono::steady_clock::now();
  if (waiting_ < 0 || now - counted_at_ >= std::chrono::milliseconds(500)) {
    waiting_ = ws_.db()->query_int("select count(*) from Docs where nStatus = 0");
    counted_at_ = now;
  } else {
    waiting_ += done.links_added - (done.fate == ProcessedRow::Fate::kIndexed ? 1 : 0);
  }
  return waiting_;
}

void CrawlScheduler::fail(const std::string& reason) {
  failure_ = reason;
  state_.keep_running = false;
  ui_.show_message("Crawl stopped:", "The crawl stopped: " + reason, Icon::kCritical);
}

CrawlScheduler::Row CrawlScheduler::read_row(const Statement& st) {
  return {static_cast<int32_t>(st.get_int(0)), st.get_text(1),     static_cast<int>(st.get_int(2)),
          static_cast<int>(st.get_int(3)),     st.get_int(4) != 0, st.get_int(5) != 0};
}

bool CrawlScheduler::load_row(int32_t doc_id, Row* row) {
  Statement st = ws_.db()->prepare(std::string(kRowColumns) + "where DocID = ?");
  if (!st.ok() || !st.bind({int64_t{doc_id}}) || !st.step()) return false;
  *row = read_row(st);
  return true;
}

ProcessedRow CrawlScheduler::explore_url(const StartUrl& start) {
  ProcessedRow done;
  done.fate = ProcessedRow::Fate::kNotFetched;
  if (running_ || !ws_.db()) return done;
  auto lock = lock_for_run(ws_.dir(), "the exploration of a URL", ui_);
  if (!lock) {
    done.reason = "the WorkSpace is busy";
    return done;
  }
  Running guard(running_);
  robots_.clear();
  word_ids_.clear();
  int32_t doc_id = 0;
  AddResult added = add_start_url(*ws_.db(), ui_, start, &doc_id, true);
  Row row;
  if ((added != AddResult::kAdded && added != AddResult::kAlreadyLoaded) ||
      !load_row(doc_id, &row)) {
    done.reason = "the URL could not be entered";
    return done;
  }
  state_.current.page_title = start.description;
  ui_.list_clear();
  done = process_row(row, true);
  state_.current.page_title.clear();
  ui_.set_busy(false);
  if (on_row_) on_row_(done);
  return done;
}

FetchOutcome CrawlScheduler::open_url(const std::string& typed) {
  FetchOutcome got;
  std::string url = typed_url(typed);
  if (url.empty()) {
    ui_.show_message("Information not provided:", "Please type an URL to load/index",
                     Icon::kExclamation);
    return got;
  }
  if (running_) return got;
  auto lock = lock_for_run(ws_.dir(), "the fetch of a page", ui_);
  if (!lock) return got;
  Running guard(running_);
  state_.current.url = url;
  got = fetcher_.fetch_page(ws_.dir(), state_, true);
  return got;
}

}  // namespace trawlix
