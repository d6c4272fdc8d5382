// HttpClient over libcurl: proxies as the environment configures them,
// certificates verified, compressed bodies decoded.
#pragma once

#include "crawler/http_client.h"

namespace trawlix {

class CurlHttpClient : public HttpClient {
 public:
  // Initialises libcurl on first use in the process.
  CurlHttpClient();
  HttpResponse get(const HttpRequest& request, const BodySink& body) override;
};

}  // namespace trawlix
