// HttpClient over libcurl: proxies as the environment configures them,
// certificates verified, compressed bodies decoded. Transfers that end
// hand their handle back to a pool, so the next request to the same host
// reuses its open connection.
#pragma once

#include <mutex>
#include <vector>

#include "crawler/http_client.h"

namespace trawlix {

class CurlHttpClient : public HttpClient {
 public:
  // Initialises libcurl on first use in the process.
  CurlHttpClient();
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;
  HttpResponse get(const HttpRequest& request, const BodySink& body) override;

 private:
  void* take_handle();
  void give_back(void* handle);

  std::mutex mutex_;
  std::vector<void*> idle_;  // CURL handles, each with its connection cache
};

}  // namespace trawlix
