// The crawl loop: Docs is the work list, every row with nStatus 0 waits to
// be fetched. A pass takes the waiting rows level by level, fetches each
// page, indexes it (its links becoming waiting rows one level deeper) and
// marks it processed; passes repeat until nothing new waits or Stop.
//
// The pages of a pass are fetched ahead on settings.connections transfers
// at once, and scanned where they were fetched; indexing and every write of
// the database stay on the calling thread, page after page in the pass's
// order, so the tables end as a crawl on one connection leaves them. With
// settings.respect_robots each host's robots.txt is read once per crawl,
// and a page it refuses is not fetched: its row keeps waiting.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "crawler/crawl_progress.h"
#include "crawler/fetch_ahead.h"
#include "crawler/http_client.h"
#include "crawler/page_fetcher.h"
#include "crawler/robots_rules.h"
#include "crawler/start_urls.h"
#include "shell/indexer_state.h"
#include "shell/user_interface.h"
#include "shell/workspace.h"
#include "text/word_index.h"

namespace trawlix {

// What happened to one row of the work list.
struct ProcessedRow {
  int32_t doc_id = 0;
  std::string url;
  enum class Fate {
    kIndexed,     // fetched and indexed: nStatus 1
    kTooDeep,     // beyond its exploration depth
    kNotFetched,  // the page could not be fetched
    kErrorPage,   // an HTTP error page or a cut-off transfer: not indexed
    kNotOpened,   // the stored page could not be read
    kDatabaseError,
  } fate = Fate::kIndexed;
  std::string reason;  // for the rows that were not indexed
  // The WorkSpace itself failed (its database, or the working file), not
  // the page: the crawl stops here.
  bool fatal = false;
  int links_added = 0;  // the waiting rows the page's links entered
};

class CrawlScheduler {
 public:
  CrawlScheduler(Workspace& ws, IndexerState& state, UserInterface& ui, HttpClient& http);

  // Runs a crawl with the current settings: "Start exploration" when
  // state.restart_all (every row waits again), else "Resume exploration
  // process". Returns false, doing nothing, while a crawl already runs or
  // another run holds the WorkSpace (the person is told which), or when the
  // rows cannot all be put back to waiting (which is reported).
  bool start_crawl();
  // Crawls the waiting rows, pass after pass, until a pass finds none it
  // has not already tried in this crawl, Stop, or a failure of the
  // WorkSpace, which stops the crawl at once and is told once.
  void crawl_waiting();
  // Why the last crawl stopped on a failure of the WorkSpace; empty when
  // it did not.
  const std::string& failure() const { return failure_; }
  // Stop: the crawl ends before the next document.
  void stop() { state_.keep_running = false; }
  bool running() const { return running_; }

  // "Explore individual URL": the URL gets its row (found, or made as a
  // start URL is), which is then fetched, listed and indexed as the crawl
  // loop processes a row.
  ProcessedRow explore_url(const StartUrl& start);

  // "Open URL": fetches a page into the working file and lists it.
  FetchOutcome open_url(const std::string& typed);

  // Called after every row, for a running report.
  void set_on_row(std::function<void(const ProcessedRow&)> on_row) { on_row_ = std::move(on_row); }
  // Called after every page of a crawl with the run's counts.
  void set_on_progress(ProgressCounter::Listener listener) {
    progress_.set_listener(std::move(listener));
  }
  // Pause of an empty pass when crawling continuously, in milliseconds.
  void set_idle_pause(int milliseconds) { idle_pause_ms_ = milliseconds; }

 private:
  struct Row {
    int32_t doc_id;
    std::string url;
    int level;
    int max_depth;
    bool crawl_above;
    bool indexed;
  };
  static Row read_row(const Statement& st);
  ProcessedRow process_row(const Row& row, bool show_page);
  // Whether robots.txt lets the crawl fetch `url` (always, unless the
  // settings ask to respect it).
  bool robots_allow(const std::string& url);
  // crawl_waiting, with the word indexes of WordsDocs built at its end when
  // defers_word_indexes() (a failure to build them stops the crawl as a
  // failure of the WorkSpace does).
  void crawl_waiting_deferred();
  // Whether the pages waiting will add at least as many documents' words
  // as the index holds, so that building its indexes once costs less than
  // keeping them row by row.
  bool defers_word_indexes();
  void plan_pass(const std::vector<Row>& rows);
  bool load_row(int32_t doc_id, Row* row);
  void fail(const std::string& reason);
  // The rows waiting after `done`, for the progress report.
  int64_t waiting_after(const ProcessedRow& done);

  Workspace& ws_;
  IndexerState& state_;
  UserInterface& ui_;
  HttpClient& http_;
  FetchAhead ahead_;
  PageFetcher fetcher_;
  std::map<std::string, RobotsRules> robots_;  // by robots.txt URL, for this crawl
  bool running_ = false;
  int idle_pause_ms_ = 250;
  std::set<int32_t> tried_;  // rows this crawl could not process
  std::string failure_;
  std::function<void(const ProcessedRow&)> on_row_;
  ProgressCounter progress_;
  // The waiting rows when last counted, and when that was.
  int64_t waiting_ = -1;
  std::chrono::steady_clock::time_point counted_at_;
  WordIds word_ids_;  // the WordIDs met in this crawl
};

}  // namespace trawlix
