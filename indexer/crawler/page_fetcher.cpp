// Fetching a page into the working file.
#include "crawler/page_fetcher.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/cp1252.h"
#include "base/paths.h"
#include "crawler/url_text.h"
#include "crawler/working_file_text.h"
#include "shell/workspace.h"
#include "text/page_decoding.h"

namespace trawlix {
namespace {

constexpr const char kOpenUrlTitle[] = "Open URL:";

// Writes the body to the working file with the line-end rule.
class WorkingFileWriter {
 public:
  explicit WorkingFileWriter(std::string path) : path_(std::move(path)) {}
  ~WorkingFileWriter() {
    if (file_) std::fclose(file_);
  }

  bool write(std::string_view piece) {
    if (!file_ && !open()) return false;
    out_.clear();
    text_.append(piece, out_);
    if (std::fwrite(out_.data(), 1, out_.size(), file_) != out_.size()) return fail();
    return true;
  }

  // Closes the file, creating it first for an empty page.
  bool finish() {
    if (!file_ && !open()) return false;
    FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) return fail();
    return error_.empty();
  }

  void discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    std::remove(path_.c_str());
  }

  const std::string& error() const { return error_; }

 private:
  bool open() {
    if (!error_.empty()) return false;
    file_ = std::fopen(path_.c_str(), "wb");
    return file_ ? true : fail();
  }
  bool fail() {
    if (error_.empty()) error_ = std::strerror(errno);
    return false;
  }

  std::string path_;
  FILE* file_ = nullptr;
  WorkingFileText text_;
  std::string out_;
  std::string error_;
};

class BusyPointer {
 public:
  explicit BusyPointer(UserInterface& ui) : ui_(ui) { ui_.set_busy(true); }
  ~BusyPointer() { ui_.set_busy(false); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  UserInterface& ui_;
};

}  // namespace

PageFetcher::PageFetcher(HttpClient& http, UserInterface& ui, FetchLimits limits)
    : http_(http), ui_(ui), limits_(limits) {}

FetchOutcome PageFetcher::fetch_page(const std::string& workspace_dir, const IndexerState& state,
                                     bool show_page) {
  BusyPointer busy(ui_);
  FetchOutcome outcome;
  const std::string& url = state.current.url;
  const std::string path = join_path(workspace_dir, kWorkingFile);

  // The last page's file is emptied in place rather than deleted: making a
  // new file for every page costs the file system more than the page's own
  // writes. A fetch that fails removes it, as before.
  if (::truncate(path.c_str(), 0) != 0 && errno != ENOENT) {
    // A stale page left in place would be taken for this one.
    outcome.error = std::strerror(errno);
    outcome.local_failure = true;
    ui_.show_message(kOpenUrlTitle,
                     "Could not delete the working file " + path + "\r" + outcome.error,
                     Icon::kCritical);
    return outcome;
  }

  HttpResponse response;
  if (is_web_url(url)) {
    HttpRequest request = request_for(url, state.settings);
    WorkingFileWriter writer(path);
    size_t received = 0;
    bool size_limit_reached = false;
    response = http_.get(request, [&](std::string_view piece) {
      size_t room = limits_.max_page_bytes - received;
      if (piece.size() > room) {
        size_limit_reached = true;
        piece = piece.substr(0, room);
      }
      received += piece.size();
      return writer.write(piece) && !size_limit_reached;
    });

    bool opened =
        response.end == HttpResponse::End::kComplete || response.end == HttpResponse::End::kCutOff;
    if (opened && !writer.finish()) {
      writer.discard();
      outcome.error = writer.error();
      outcome.local_failure = true;
      ui_.show_message(kOpenUrlTitle,
                       "Could not write the working file " + path + "\r" + outcome.error,
                       Icon::kCritical);
      return outcome;
    }
    if (!opened) writer.discard();
    if (size_limit_reached) {
      response.end = HttpResponse::End::kCutOff;
      response.error =
          "the page is longer than " + std::to_string(limits_.max_page_bytes) + " bytes";
    }
  } else {
    std::remove(path.c_str());
    response.error = "only http and https URLs are fetched";
  }

  outcome.http_status = response.status;
  outcome.error = response.error;
  switch (response.end) {
    case HttpResponse::End::kComplete:
      outcome.end = FetchOutcome::End::kComplete;
      outcome.error.clear();
      break;
    case HttpResponse::End::kCutOff:
      outcome.end = FetchOutcome::End::kCutOff;
      break;
    case HttpResponse::End::kNoSession:
      ui_.show_message(kOpenUrlTitle, "Could not get InternetHandle\rError opening URL...",
                       Icon::kExclamation);
      return outcome;
    case HttpResponse::End::kNotOpened:
      if (state.settings.mail_robot_mode != -1) {
        ui_.show_message(kOpenUrlTitle, "Could not get URL_Handle\rError opening URL...",
                         Icon::kExclamation);
      }
      return outcome;
  }
  // The URL as stored, unless redirects led elsewhere.
  outcome.final_url = response.redirects > 0 ? response.final_url : url;
  if (show_page) list_page(path);
  return outcome;
}

HttpRequest PageFetcher::request_for(const std::string& url, const CrawlSettings& settings) const {
  HttpRequest request;
  request.url = request_url(url);
  request.user_agent = kFetchAgent;
  request.headers = {"Cache-Control: no-cache", "Pragma: no-cache"};
  int timeout = settings.access_timeout;
  request.timeout_seconds = timeout >= 1 ? timeout : limits_.default_timeout;
  request.max_redirects = limits_.max_redirects;
  return request;
}

void PageFetcher::list_page(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The list shows Windows-1252 text; a UTF-8 page is shown as the scanner reads it.
  page = page_to_cp1252(page);
  ui_.list_clear();
  size_t start = 0;
  while (start < page.size()) {
    size_t end = page.find('\r', start);
    if (end == std::string::npos) end = page.size();
    std::string_view line(page.data() + start, end - start);
    ui_.list_append(cut_text(line, kListedLineWidth));
    if (line.size() < kListedLineWidth) {
      list_extent_ = std::max(list_extent_, ui_.list_text_width(std::string(line)));
    }
    start = end + 1;
  }
  ui_.list_set_extent(list_extent_);
}

}  // namespace trawlix
