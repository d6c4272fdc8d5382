// libcurl transport. Stalls are watched here rather than left to libcurl's
// low-speed check, so that a server that accepts the connection and never
// answers ends the transfer after the same timeout as one that stops
// sending half-way.
#include "crawler/curl_http_client.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "base/ascii_case.h"

namespace trawlix {
namespace {

using Clock = std::chrono::steady_clock;

struct Transfer {
  const BodySink* body = nullptr;
  Clock::time_point last_activity;
  Clock::duration stall_limit{};
  const std::atomic<bool>* abandon = nullptr;
  bool stalled = false;
  bool stopped_by_sink = false;
  bool body_seen = false;
  // The header block being read, and whether a block that is not followed
  // by a redirect has ended: then a response has been opened.
  int block_status = 0;
  bool block_has_location = false;
  bool final_headers = false;
};

bool is_redirect_status(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

size_t on_body(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  size_t n = size * count;
  t->last_activity = Clock::now();
  t->body_seen = true;
  if (!(*t->body)(std::string_view(data, n))) {
    t->stopped_by_sink = true;
    return 0;
  }
  return n;
}

size_t on_header(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  size_t n = size * count;
  std::string_view line(data, n);
  t->last_activity = Clock::now();
  if (line.starts_with("HTTP/")) {
    size_t blank = line.find(' ');
    t->block_status = blank == std::string_view::npos ? 0 : std::atoi(line.data() + blank + 1);
    t->block_has_location = false;
    t->final_headers = false;
  } else if (starts_with_nocase(line, "location:")) {
    t->block_has_location = true;
  } else if (line == "\r\n" || line == "\n") {
    t->final_headers =
        t->block_status >= 200 && !(is_redirect_status(t->block_status) && t->block_has_location);
  }
  return n;
}

int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* t = static_cast<Transfer*>(user);
  if (t->abandon && t->abandon->load()) return 1;
  if (Clock::now() - t->last_activity > t->stall_limit) {
    t->stalled = true;
    return 1;
  }
  return 0;
}

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

CurlHttpClient::CurlHttpClient() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlHttpClient::~CurlHttpClient() {
  for (void* handle : idle_) curl_easy_cleanup(static_cast<CURL*>(handle));
}

void* CurlHttpClient::take_handle() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!idle_.empty()) {
      void* handle = idle_.back();
      idle_.pop_back();
      return handle;
    }
  }
  return curl_easy_init();
}

void CurlHttpClient::give_back(void* handle) {
  // Options go back to their defaults; the connection cache stays.
  curl_easy_reset(static_cast<CURL*>(handle));
  std::lock_guard<std::mutex> lock(mutex_);
  idle_.push_back(handle);
}

HttpResponse CurlHttpClient::get(const HttpRequest& request, const BodySink& body) {
  HttpResponse response;
  struct HandleReturn {
    CurlHttpClient* client;
    void operator()(CURL* handle) const { client->give_back(handle); }
  };
  std::unique_ptr<CURL, HandleReturn> curl(static_cast<CURL*>(take_handle()), HandleReturn{this});
  if (!curl) {
    response.end = HttpResponse::End::kNoSession;
    response.error = "libcurl could not create a transfer";
    return response;
  }
  std::unique_ptr<curl_slist, SlistDeleter> headers;
  for (const std::string& h : request.headers) {
    curl_slist* grown = curl_slist_append(headers.get(), h.c_str());
    if (!grown) {
      response.end = HttpResponse::End::kNoSession;
      response.error = "out of memory";
      return response;
    }
    headers.release();
    headers.reset(grown);
  }
  int timeout = request.timeout_seconds > 0 ? request.timeout_seconds : 50;
  Transfer t;
  t.body = &body;
  t.abandon = request.abandon;
  t.stall_limit = std::chrono::seconds(timeout);
  char error_text[CURL_ERROR_SIZE] = "";

  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(c, CURLOPT_USERAGENT, request.user_agent.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error_text);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075500
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
  curl_easy_setopt(c, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, static_cast<long>(request.max_redirects));
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, static_cast<long>(timeout));
  curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, on_body);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, on_header);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, on_progress);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);

  t.last_activity = Clock::now();
  CURLcode code = curl_easy_perform(c);

  long status = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  long redirects = 0;
  curl_easy_getinfo(c, CURLINFO_REDIRECT_COUNT, &redirects);
  char* effective = nullptr;
  curl_easy_getinfo(c, CURLINFO_EFFECTIVE_URL, &effective);
  response.status = static_cast<int>(status);
  response.redirects = static_cast<int>(redirects);
  response.final_url = effective ? effective : request.url;

  if (code == CURLE_OK) {
    response.end = HttpResponse::End::kComplete;
    return response;
  }
  if (t.stalled) {
    response.error = "no answer for " + std::to_string(timeout) + " s";
  } else if (t.abandon && t.abandon->load()) {
    response.error = "the transfer was abandoned";
  } else if (t.stopped_by_sink) {
    response.error = "the transfer was stopped by its receiver";
  } else {
    response.error = error_text[0] ? error_text : curl_easy_strerror(code);
  }
  bool opened = t.body_seen || t.final_headers;
  response.end = opened ? HttpResponse::End::kCutOff : HttpResponse::End::kNotOpened;
  if (!opened) response.status = 0;
  return response;
}

}  // namespace trawlix
