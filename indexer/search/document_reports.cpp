// The document listing and the statistics.
#include "search/document_reports.h"

namespace trawlix {
namespace {

void report_error(Database& db, UserInterface& ui, const std::string& what) {
  ui.show_message("Database error:", what + "\r" + db.last_error(), Icon::kCritical);
}

}  // namespace

std::optional<std::vector<std::string>> document_listing(Database& db, UserInterface& ui) {
  std::vector<std::string> lines = {"Document Listing", "------------------", " ", " "};
  Statement st = db.prepare("select DocID, URLDocument from Docs order by DocID");
  while (st.ok() && st.step()) {
    lines.push_back(std::to_string(st.get_int(0)) + "  " + st.get_text(1));
  }
  if (!st.ok() || st.failed()) {
    report_error(db, ui, "The document table could not be read:");
    return std::nullopt;
  }
  if (lines.size() == 4) {
    ui.show_message("", "NO documents to search!!!", Icon::kNone);
    lines.clear();
  }
  return lines;
}

std::vector<std::vector<std::string>> listing_pages(const std::vector<std::string>& lines,
                                                    size_t columns, size_t rows) {
  std::vector<std::vector<std::string>> pages;
  auto put = [&](std::string piece) {
    if (pages.empty() || pages.back().size() >= rows) pages.emplace_back();
    pages.back().push_back(std::move(piece));
  };
  for (const std::string& line : lines) {
    if (line.size() <= columns) {
      put(line);
      continue;
    }
    for (size_t at = 0; at < line.size(); at += columns) put(line.substr(at, columns));
  }
  return pages;
}

bool document_statistics(Database& db, UserInterface& ui, DocumentStatistics* out) {
  struct Count {
    const char* sql;
    int64_t* into;
  };
  const Count counts[] = {
      {"select count(*) as tdocs from Docs", &out->documents},
      // The number of groups of "count(*) ... group by docid".
      {"select count(*) from (select DocID from WordsDocs group by DocID)",
       &out->previously_indexed},
      {"select count(*) from Docs where bIndexed <> 0", &out->indexed_this_crawl},
      {"select count(*) as tdocs from Words", &out->words},
  };
  for (const Count& c : counts) {
    Statement st = db.prepare(c.sql);
    if (!st.ok() || !st.step()) {
      report_error(db, ui, "The statistics could not be counted:");
      return false;
    }
    *c.into = st.get_int(0);
  }
  return true;
}

std::string statistics_text(const DocumentStatistics& stats) {
  return "Total documents: " + std::to_string(stats.documents) + "\r" +
         "Total Previously Indexed documents: " + std::to_string(stats.previously_indexed) + "\r" +
         "Total Indexed in this crawl: " + std::to_string(stats.indexed_this_crawl) + "\r" +
         "Total words: " + std::to_string(stats.words);
}

void show_statistics(Database& db, UserInterface& ui) {
  DocumentStatistics stats;
  if (!document_statistics(db, ui, &stats)) return;
  ui.show_message(kStatisticsTitle, statistics_text(stats), Icon::kInformation);
}

}  // namespace trawlix
