// Pages fetched ahead of the crawl. A pass knows the pages it will ask for,
// in order; FetchAhead fetches them into memory on a few threads while the
// crawl indexes the current one, and answers each get() of a planned page
// with the stored reply, its body handed to the sink as it would have
// arrived. A page planned with scan options is also scanned, from the text
// the working file will hold, by the thread that fetched it once its whole
// body has arrived (a worker's, or the caller's when it asked for the page
// before any worker took it); the caller takes that scan after the get().
// Everything else the caller does with a page stays on the caller's
// thread, in the caller's order: only the transfers and the scans run ahead.
//
// A request that was not planned next (or when nothing is planned) goes
// straight to the transport.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "crawler/http_client.h"
#include "text/page_scan.h"

namespace trawlix {

// A page a pass will ask for.
struct PlannedPage {
  HttpRequest request;
  // The options the page will most likely be scanned with; none, it is
  // not scanned ahead.
  std::optional<ScanOptions> scan;
};

class FetchAhead : public HttpClient {
 public:
  // Bodies longer than `max_body` bytes are kept to max_body + 1 bytes and
  // end cut off, which the sink then sees as a page over the limit.
  FetchAhead(HttpClient& transport, size_t max_body);
  ~FetchAhead() override;
  FetchAhead(const FetchAhead&) = delete;
  FetchAhead& operator=(const FetchAhead&) = delete;

  // Drops any earlier plan and starts fetching `pages`, at most
  // `connections` at a time and never more than twice that many ahead of
  // the page being asked for. Fewer than two connections plan nothing.
  void plan(std::vector<PlannedPage> pages, int connections);
  // Abandons the transfers in flight and forgets what was fetched ahead.
  void drop();

  HttpResponse get(const HttpRequest& request, const BodySink& body) override;

  // The scan made of the page the last get() handed over, when that get()
  // asked for `url` (the request's URL), was answered by a planned page
  // that was scanned, and handed its whole body to the sink. Taken once.
  std::optional<ScannedAhead> take_scan(const std::string& url);

 private:
  struct Slot {
    HttpRequest request;
    std::optional<ScanOptions> scan_with;
    std::atomic<bool> abandon{false};
    bool started = false;
    bool done = false;
    HttpResponse response;
    std::string body;
    std::optional<ScannedAhead> scanned;
  };
  void work();
  void fetch(Slot& slot);
  void scan(Slot& slot) const;

  HttpClient& transport_;
  size_t max_body_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Slot>> slots_;  // planned, not yet asked for
  size_t window_ = 0;                        // how many slots may be started
  bool stopping_ = false;
  std::vector<std::thread> workers_;
  // What the last get() handed over: its URL and the scan of its page.
  std::string handed_url_;
  std::optional<ScannedAhead> handed_scan_;
};

}  // namespace trawlix
