// The page fetcher: downloads the current document into the WorkSpace's
// working file j_URL_t.txt, with its line ends normalised, and lists it in
// the main window's document list on request. Every other step of the
// crawler reads the page from that file.
//
// The working file holds the bytes as received, with every line feed
// removed and a carriage return ending every line that did not already end
// with one (crawler/working_file_text.h). It is emptied before each fetch,
// and it does not exist after a fetch that failed.
#pragma once

#include <cstddef>
#include <string>

#include "crawler/http_client.h"
#include "shell/indexer_state.h"
#include "shell/user_interface.h"
#include "text/scanner.h"

namespace trawlix {

inline constexpr const char kFetchAgent[] = "VB OpenUrl";
inline constexpr size_t kListedLineWidth = 500;

struct FetchLimits {
  size_t max_page_bytes = kMaxPageBytes;  // a longer body is cut here
  int max_redirects = 10;
  int default_timeout = 50;  // seconds, used while settings.access_timeout is below 1
};

// How a fetch ended.
struct FetchOutcome {
  enum class End {
    kComplete,  // the whole page is in the working file
    kCutOff,    // the working file holds what arrived before the transfer broke,
                // stalled for access_timeout or reached the size limit
    kFailed,    // no page: the working file does not exist
  };
  End end = End::kFailed;
  int http_status = 0;    // of the final response; 0 when none arrived
  std::string final_url;  // the page that answered: the URL fetched, or where redirects led
  std::string error;      // why it failed or was cut off; empty when complete
  // The working file could not be written: a fault of this machine (a full
  // disk), not of the page or its server.
  bool local_failure = false;

  // The working file holds (part of) a page; the survey reads such pages.
  bool stored() const { return end != End::kFailed; }
  // A whole page that is not an HTTP error page: the one the crawl indexes.
  bool indexable() const { return end == End::kComplete && http_status < 400; }
};

class PageFetcher {
 public:
  PageFetcher(HttpClient& http, UserInterface& ui, FetchLimits limits = {});

  // Fetches state.current.url into workspace_dir + "/j_URL_t.txt". Only
  // http and https URLs are requested, with the agent "VB OpenUrl" and
  // caches bypassed; access_timeout (seconds) bounds the connection and
  // any stall. A URL that cannot be opened is reported as "Could not get
  // URL_Handle" unless mail_robot_mode is -1. With `show_page` the stored
  // page is listed through the UserInterface (the first 500 characters of
  // each line). Blocks until the transfer ends.
  FetchOutcome fetch_page(const std::string& workspace_dir, const IndexerState& state,
                          bool show_page);

  // The request fetch_page sends for `url` with these settings (for an
  // http or https URL).
  HttpRequest request_for(const std::string& url, const CrawlSettings& settings) const;
  const FetchLimits& limits() const { return limits_; }

  // The widest line listed so far, in the list's own unit; it only grows.
  int list_extent() const { return list_extent_; }

 private:
  void list_page(const std::string& path);

  HttpClient& http_;
  UserInterface& ui_;
  FetchLimits limits_;
  int list_extent_ = 0;
};

}  // namespace trawlix
