// Pages fetched ahead of the crawl. A pass knows the pages it will ask for,
// in order; FetchAhead fetches them into memory on a few threads while the
// crawl indexes the current one, and answers each get() of a planned page
// with the stored reply, its body handed to the sink as it would have
// arrived. Everything the caller does with a page stays on the caller's
// thread, in the caller's order: only the transfers run ahead.
//
// A request that was not planned next (or when nothing is planned) goes
// straight to the transport.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "crawler/http_client.h"

namespace trawlix {

class FetchAhead : public HttpClient {
 public:
  // Bodies longer than `max_body` bytes are kept to max_body + 1 bytes and
  // end cut off, which the sink then sees as a page over the limit.
  FetchAhead(HttpClient& transport, size_t max_body);
  ~FetchAhead() override;
  FetchAhead(const FetchAhead&) = delete;
  FetchAhead& operator=(const FetchAhead&) = delete;

  // Drops any earlier plan and starts fetching `requests`, at most
  // `connections` at a time and never more than twice that many ahead of
  // the page being asked for. Fewer than two connections plan nothing.
  void plan(std::vector<HttpRequest> requests, int connections);
  // Abandons the transfers in flight and forgets what was fetched ahead.
  void drop();

  HttpResponse get(const HttpRequest& request, const BodySink& body) override;

 private:
  struct Slot {
    HttpRequest request;
    std::atomic<bool> abandon{false};
    bool started = false;
    bool done = false;
    HttpResponse response;
    std::string body;
  };
  void work();
  void fetch(Slot& slot);

  HttpClient& transport_;
  size_t max_body_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Slot>> slots_;  // planned, not yet asked for
  size_t window_ = 0;                        // how many slots may be started
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace trawlix
