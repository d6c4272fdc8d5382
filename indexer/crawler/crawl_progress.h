// The counts a running crawl or survey reports after every page: what the
// desktop program's status bar and the command line's running line show.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace trawlix {

struct CrawlProgress {
  int64_t processed = 0;  // pages finished in this run, failed ones included
  int64_t failed = 0;     // of those, the pages not indexed (or not surveyed)
  int64_t waiting = 0;    // what is still to do
  double seconds = 0;     // since the run began

  // Pages finished per second; 0 before the first second's worth of time.
  double pages_per_second() const { return seconds > 0 ? processed / seconds : 0; }
};

// "12 processed, 30 waiting, 1 failed, 3.4 pages/s"
std::string progress_text(const CrawlProgress& progress);

// Counts one run: begin() at its start, page_done() after every page, each
// call of which passes the new counts to the listener.
class ProgressCounter {
 public:
  using Listener = std::function<void(const CrawlProgress&)>;

  void set_listener(Listener listener) { listener_ = std::move(listener); }
  bool listening() const { return static_cast<bool>(listener_); }
  void begin();
  void page_done(bool failed, int64_t waiting);

 private:
  Listener listener_;
  CrawlProgress progress_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace trawlix
