// Counting the pages of a run.
#include "crawler/crawl_progress.h"

#include <cstdio>

namespace trawlix {

std::string progress_text(const CrawlProgress& progress) {
  char rate[32];
  std::snprintf(rate, sizeof rate, "%.1f", progress.pages_per_second());
  return std::to_string(progress.processed) + " processed, " + std::to_string(progress.waiting) +
         " waiting, " + std::to_string(progress.failed) + " failed, " + rate + " pages/s";
}

void ProgressCounter::begin() {
  progress_ = CrawlProgress{};
  start_ = std::chrono::steady_clock::now();
}

void ProgressCounter::page_done(bool failed, int64_t waiting) {
  ++progress_.processed;
  if (failed) ++progress_.failed;
  progress_.waiting = waiting;
  progress_.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  if (listener_) listener_(progress_);
}

}  // namespace trawlix
