// The crawler's HTTP transport: one GET of one URL, its body handed over in
// pieces as they arrive. The page fetcher is written against this interface;
// CurlHttpClient is the real one, tests use doubles that inject faults.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace trawlix {

struct HttpRequest {
  std::string url;  // absolute http or https URL in its wire form (request_url)
  std::string user_agent;
  std::vector<std::string> headers;  // "Name: value"
  // Bounds the connection and every stall of the transfer (no byte for this
  // long ends it).
  int timeout_seconds = 50;
  int max_redirects = 10;  // redirects are followed, only to http and https
  // When set, the transfer is abandoned (ending kCutOff or kNotOpened) soon
  // after the flag turns true, even while the server sends nothing.
  const std::atomic<bool>* abandon = nullptr;
};

struct HttpResponse {
  enum class End {
    kComplete,   // the whole body arrived
    kCutOff,     // a response arrived but its body was cut short, or the sink stopped it
    kNotOpened,  // no response: bad URL, refused, unreachable, timed out, too many redirects
    kNoSession,  // the transport itself could not be set up
  };
  End end = End::kNotOpened;
  int status = 0;         // HTTP status of the final response; 0 when none arrived
  std::string final_url;  // the URL that answered, after redirects (wire form)
  int redirects = 0;      // how many redirects were followed
  std::string error;      // the transport's words for what went wrong; empty when complete
};

// Receives the body piece by piece; returns false to abandon the transfer
// (the response then ends kCutOff).
using BodySink = std::function<bool(std::string_view piece)>;

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Blocks until the transfer ends. Never throws. The sink is only called
  // for the body of the final response (not for those of redirects). May be
  // called from several threads at once.
  virtual HttpResponse get(const HttpRequest& request, const BodySink& body) = 0;
};

}  // namespace trawlix
