// Entering start URLs.
#include "crawler/start_urls.h"

#include "base/cp1252.h"
#include "crawler/link_resolver.h"
#include "crawler/url_text.h"
#include "shell/indexer_state.h"

namespace trawlix {

std::vector<ParentChoice> parent_choices(Database& db) {
  std::vector<ParentChoice> out{{"(HOME PAGE)", 0}};
  Statement st = db.prepare("select DocID, URLDocument from docs order by DocID");
  while (st.ok() && st.step()) {
    std::string url = st.get_text(1);
    out.push_back(
        {url.size() > 7 ? url.substr(7) : std::string(), static_cast<int32_t>(st.get_int(0))});
  }
  return out;
}

int typed_number(const std::string& text) {
  return numeric_argument(text);
}

AddResult add_start_url(Database& db, UserInterface& ui, const StartUrl& start, int32_t* doc_id,
                        bool quiet_when_known) {
  std::string url = typed_url(start.url);
  if (url.empty()) {
    ui.show_message("Information not provided:", "Please type an URL to load/index",
                    Icon::kExclamation);
    return AddResult::kEmptyUrl;
  }
  if (url.size() > kMaxUrlLength) {
    report_long_url(ui, url);
    return AddResult::kTooLong;
  }
  Statement found = db.prepare("select DocID from Docs where URLDocument = ?");
  if (!found.ok() || !found.bind({url})) return AddResult::kFailed;
  if (found.step()) {
    if (doc_id) *doc_id = static_cast<int32_t>(found.get_int(0));
    if (!quiet_when_known) {
      ui.show_message("Please note:", "That URL is already loaded into the system",
                      Icon::kExclamation);
    }
    return AddResult::kAlreadyLoaded;
  }
  if (found.failed()) return AddResult::kFailed;
  bool ok = db.exec(
      "insert into Docs (URLDocument, URLDescription, URLLevel, nMaxDepth, bCrawlAbove, "
      "URLParent, nStatus, bIndexed) values (?, ?, ?, ?, ?, ?, 0, 0)",
      {url, cut_text(start.description, 100), int64_t{start.level + 1}, int64_t{start.max_depth},
       int64_t{start.crawl_above ? -1 : 0}, int64_t{start.parent}});
  if (!ok) {
    ui.show_message("Creation error:", "The URL could not be added: " + db.last_error(),
                    Icon::kCritical);
    return AddResult::kFailed;
  }
  if (doc_id) *doc_id = static_cast<int32_t>(db.last_insert_id());
  return AddResult::kAdded;
}

}  // namespace trawlix
