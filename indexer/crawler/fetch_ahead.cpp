// Fetching the planned pages on worker threads.
#include "crawler/fetch_ahead.h"

#include <algorithm>

#include "crawler/working_file_text.h"
#include "text/scanner.h"

namespace trawlix {
namespace {

// A stored body is handed over in pieces of this size, as a transfer would.
constexpr size_t kReplayPiece = 64 * 1024;

}  // namespace

FetchAhead::FetchAhead(HttpClient& transport, size_t max_body)
    : transport_(transport), max_body_(max_body) {}

FetchAhead::~FetchAhead() {
  drop();
}

void FetchAhead::plan(std::vector<PlannedPage> pages, int connections) {
  drop();
  if (connections < 2 || pages.empty()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  for (PlannedPage& page : pages) {
    slots_.push_back(std::make_unique<Slot>());
    Slot& slot = *slots_.back();
    slot.request = std::move(page.request);
    slot.request.abandon = &slot.abandon;
    slot.scan_with = std::move(page.scan);
  }
  window_ = 2 * static_cast<size_t>(connections);
  stopping_ = false;
  int threads = std::min<int>(connections, static_cast<int>(slots_.size()));
  for (int k = 0; k < threads; ++k) workers_.emplace_back([this] { work(); });
}

void FetchAhead::drop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    for (auto& slot : slots_) slot->abandon = true;
  }
  changed_.notify_all();
  for (std::thread& t : workers_) t.join();
  workers_.clear();
  std::lock_guard<std::mutex> lock(mutex_);
  slots_.clear();
  handed_url_.clear();
  handed_scan_.reset();
}

void FetchAhead::work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    Slot* next = nullptr;
    changed_.wait(lock, [&] {
      if (stopping_) return true;
      size_t limit = std::min(window_, slots_.size());
      for (size_t k = 0; k < limit; ++k) {
        if (!slots_[k]->started) {
          next = slots_[k].get();
          return true;
        }
      }
      return false;
    });
    if (stopping_) return;
    next->started = true;
    lock.unlock();
    fetch(*next);
    scan(*next);
    lock.lock();
    next->done = true;
    changed_.notify_all();
  }
}

void FetchAhead::fetch(Slot& slot) {
  size_t limit = max_body_ + 1;
  slot.response = transport_.get(slot.request, [&](std::string_view piece) {
    if (slot.abandon) return false;
    size_t room = limit - slot.body.size();
    slot.body.append(piece.substr(0, room));
    return piece.size() < room;
  });
}

void FetchAhead::scan(Slot& slot) const {
  // Only a whole page can be indexed: an error page, a transfer cut off
  // or a body over the limit is not scanned.
  const HttpResponse& got = slot.response;
  bool whole =
      got.end == HttpResponse::End::kComplete && got.status < 400 && slot.body.size() <= max_body_;
  if (!slot.scan_with || slot.abandon || !whole) return;
  // The text the working file will hold, read as the scanner reads that file.
  Scanner scanner;
  scanner.open_text(working_file_text(slot.body));
  // A page abandoned meanwhile (Stop, or passed over) ends its scan at the
  // next step: a closed scanner has no token left.
  PageScan page = scan_page(scanner, *slot.scan_with, [&] {
    if (slot.abandon) scanner.close();
  });
  if (!slot.abandon) slot.scanned = ScannedAhead{*slot.scan_with, std::move(page)};
}

std::optional<ScannedAhead> FetchAhead::take_scan(const std::string& url) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<ScannedAhead> scan;
  if (handed_url_ == url) scan = std::move(handed_scan_);
  handed_url_.clear();
  handed_scan_.reset();
  return scan;
}

HttpResponse FetchAhead::get(const HttpRequest& request, const BodySink& body) {
  std::unique_ptr<Slot> slot;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    handed_url_.clear();
    handed_scan_.reset();
    auto it = std::find_if(slots_.begin(), slots_.end(), [&](const auto& s) {
      return !s->abandon && s->request.url == request.url;
    });
    if (it == slots_.end()) {
      lock.unlock();
      return transport_.get(request, body);
    }
    Slot* wanted = it->get();
    // Planned pages passed over are not wanted any more; those still in
    // flight stay queued until their transfer has ended.
    for (auto s = slots_.begin(); s != it; ++s) (*s)->abandon = true;
    if (!wanted->started) {
      // Not reached yet by the workers: fetched here, as without a plan.
      wanted->started = true;
      lock.unlock();
      fetch(*wanted);
      scan(*wanted);
      lock.lock();
      wanted->done = true;
    }
    changed_.wait(lock, [&] { return wanted->done; });
    std::deque<std::unique_ptr<Slot>> kept;
    bool before = true;
    for (auto& s : slots_) {
      if (s.get() == wanted) {
        slot = std::move(s);
        before = false;
      } else if (!before || (s->started && !s->done)) {
        kept.push_back(std::move(s));
      }
    }
    slots_ = std::move(kept);
  }
  changed_.notify_all();
  HttpResponse response = std::move(slot->response);
  std::string_view rest = slot->body;
  while (!rest.empty()) {
    std::string_view piece = rest.substr(0, kReplayPiece);
    rest.remove_prefix(piece.size());
    if (!body(piece)) {
      response.end = HttpResponse::End::kCutOff;
      response.error = "the transfer was stopped by its receiver";
      return response;
    }
  }
  // The receiver has the whole body the scan was made of.
  std::lock_guard<std::mutex> lock(mutex_);
  handed_url_ = request.url;
  handed_scan_ = std::move(slot->scanned);
  return response;
}

}  // namespace trawlix
