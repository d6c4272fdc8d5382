// An HttpClient for tests: answers each URL with a scripted reply whose body
// arrives in the given pieces, and injects the faults of a real network: a
// connection that drops after some pieces, a URL that cannot be opened, a
// transport that cannot be set up. Records every request. Safe to call from
// several threads once scripted.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "crawler/http_client.h"

namespace trawlix::testing {

class ScriptedHttp : public HttpClient {
 public:
  struct Reply {
    std::vector<std::string> pieces;
    int status = 200;
    // kCutOff: the connection drops after the pieces; kNotOpened and
    // kNoSession: nothing is delivered.
    HttpResponse::End end = HttpResponse::End::kComplete;
    std::string redirected_to;  // the final URL when redirects were followed
  };

  static Reply page(std::vector<std::string> pieces, int status = 200,
                    HttpResponse::End end = HttpResponse::End::kComplete) {
    Reply reply;
    reply.pieces = std::move(pieces);
    reply.status = status;
    reply.end = end;
    return reply;
  }

  // Scripts the reply to a request for `url` (in its wire form).
  void answer(const std::string& url, Reply reply) { replies_[url] = std::move(reply); }

  HttpResponse get(const HttpRequest& request, const BodySink& body) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests.push_back(request);
    }
    HttpResponse response;
    auto it = replies_.find(request.url);
    if (it == replies_.end()) {
      response.error = "Could not resolve host";
      return response;
    }
    const Reply& reply = it->second;
    response.end = reply.end;
    if (reply.end == HttpResponse::End::kNotOpened || reply.end == HttpResponse::End::kNoSession) {
      response.error = "scripted failure";
      return response;
    }
    response.status = reply.status;
    response.final_url = reply.redirected_to.empty() ? request.url : reply.redirected_to;
    response.redirects = reply.redirected_to.empty() ? 0 : 1;
    for (const std::string& piece : reply.pieces) {
      if (!body(piece)) {
        response.end = HttpResponse::End::kCutOff;
        response.error = "stopped by the receiver";
        return response;
      }
    }
    if (reply.end == HttpResponse::End::kCutOff) response.error = "Connection reset by peer";
    return response;
  }

  std::vector<HttpRequest> requests;

 private:
  std::map<std::string, Reply> replies_;
  std::mutex mutex_;
};

}  // namespace trawlix::testing
