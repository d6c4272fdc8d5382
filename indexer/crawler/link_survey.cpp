// Surveying the external links.
#include "crawler/link_survey.h"

#include <fstream>
#include <iterator>

#include "base/cp1252.h"
#include "crawler/page_fetcher.h"
#include "shell/run_lock.h"
#include "text/scanner.h"

namespace trawlix {
namespace {

constexpr size_t kMailtoWidth = 255;
constexpr size_t kShortPage = 100;

bool is_capital(char c) {
  return c >= 'A' && c <= 'Z';
}

// True when some "SEARCH" of the upper-cased line begins a word: at the
// start of the line or after anything but a letter A to Z. Every occurrence
// counts, so "RESEARCH AND SEARCH" is a search page.
bool offers_search(const std::string& upper) {
  for (size_t p = upper.find("SEARCH"); p != std::string::npos; p = upper.find("SEARCH", p + 1)) {
    if (p == 0 || !is_capital(upper[p - 1])) return true;
  }
  return false;
}

void report_error(UserInterface& ui, Database& db) {
  ui.show_message("Database error:", "The external links could not be updated:\r" + db.last_error(),
                  Icon::kCritical);
}

}  // namespace

std::string mail_address(const std::string& line) {
  size_t m = upper_cp1252(line).find("MAILTO");
  if (m == std::string::npos || m + 7 > line.size()) return std::string();
  std::string address = trim_blanks(std::string_view(line).substr(m + 7));
  auto first_quote = [&address] {
    size_t q = address.find('"');
    return q != std::string::npos ? q : address.find('\'');
  };
  size_t q = first_quote();
  if (q == 0) {
    address.erase(0, 1);
    q = first_quote();
  }
  if (q != std::string::npos) address.resize(q);
  address = address.substr(0, address.find(' '));
  return address.substr(0, address.find('>'));
}

PageClassification classify_page(const std::string& path) {
  PageClassification page;
  std::ifstream in(path, std::ios::binary);
  if (!in) return page;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return page;
  page.error = false;
  bool first_address = true;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\r', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    std::string upper = upper_cp1252(line);
    if (text.size() < kShortPage && upper.find(" 404") != std::string::npos) page.error = true;
    if (offers_search(upper)) page.search = true;
    if (upper.find("FRAMESET") != std::string::npos ||
        (upper.find("META HTTP-EQUIV") != std::string::npos &&
         upper.find("REFRESH") != std::string::npos)) {
      page.frames = true;
    }
    if (upper.find("MAILTO") == std::string::npos) continue;
    std::string address = cut_text(mail_address(line), kMailtoWidth);
    if (address.empty()) continue;
    (first_address ? page.mailto1 : page.mailto2) = address;
    first_address = false;
  }
  return page;
}

SurveyReport survey_external_links(Workspace& ws, IndexerState& state, UserInterface& ui,
                                   HttpClient& http,
                                   const std::function<void(const SurveyedLink&)>& on_link) {
  SurveyReport report;
  auto lock = lock_for_run(ws.dir(), "a Mail Robot survey", ui);
  if (!lock) {
    report.failed = true;
    return report;
  }
  Database& db = *ws.db();
  ui.list_clear();
  state.keep_running = true;
  state.external_count = 0;

  Statement next = db.prepare(
      "select rowid, URLExternal from URLexternos where rowid > ? and urlSearch is null "
      "order by rowid limit 1");
  Statement done = db.prepare("select count(*) from URLexternos where urlSearch is not null");
  if (!next.ok() || !done.ok() || !done.step()) {
    report_error(ui, db);
    report.failed = true;
    return report;
  }
  report.skipped = static_cast<int32_t>(done.get_int(0));
  state.external_count = report.skipped;
  ui.set_label(Label::kExternal, std::to_string(state.external_count));

  PageFetcher fetcher(http, ui);
  const std::string working_file = ws.file(kWorkingFile);
  int64_t last = 0;
  while (true) {
    next.reset();
    if (!next.bind({last})) break;
    if (!next.step()) {
      report.failed = next.failed();
      break;
    }
    if (!state.keep_running) {
      report.stopped = true;
      break;
    }
    SurveyedLink link;
    link.row = last = next.get_int(0);
    link.url = next.get_text(1);
    state.current.url = link.url;

    if (!db.exec("update URLexternos set urlSearch = 0, urlFrames = 0, urlError = -1 "
                 "where rowid = ?",
                 {link.row})) {
      report.failed = true;
      break;
    }
    FetchOutcome fetched = fetcher.fetch_page(ws.dir(), state, true);
    ++state.external_count;
    ++report.surveyed;
    ui.set_label(Label::kExternal, std::to_string(state.external_count) + " " + link.url);
    ui.process_events();

    if (fetched.stored()) link.page = classify_page(working_file);
    // The page's own words are all the text rule sees; the server may
    // have said plainly that it is an error page.
    if (fetched.http_status >= 400) link.page.error = true;
    ui.process_events();
    auto flag = [](bool b) { return int64_t{b ? -1 : 0}; };
    auto text_or_null = [](const std::string& s) -> DbValue {
      if (s.empty()) return std::monostate{};
      return s;
    };
    if (!db.exec("update URLexternos set urlSearch = ?, urlFrames = ?, urlError = ?, "
                 "URLmailto1 = coalesce(?, URLmailto1), URLmailto2 = coalesce(?, URLmailto2) "
                 "where rowid = ?",
                 {flag(link.page.search), flag(link.page.frames), flag(link.page.error),
                  text_or_null(link.page.mailto1), text_or_null(link.page.mailto2), link.row})) {
      report.failed = true;
      break;
    }
    if (on_link) on_link(link);
  }
  if (report.failed) report_error(ui, db);
  return report;
}

}  // namespace trawlix
