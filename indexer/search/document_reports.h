// The two reports on the document table: the document listing (its lines,
// laid out on pages for printing) and the statistics box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/database.h"
#include "shell/user_interface.h"

namespace trawlix {

// The listing: "Document Listing", its underline, two blank lines, then
// "DocID  URLDocument" for each document in DocID order. When the table is
// empty, says "NO documents to search!!!" and returns an empty list; on a
// database error reports it and returns nothing.
std::optional<std::vector<std::string>> document_listing(Database& db, UserInterface& ui);

// The lines laid out on pages of `rows` lines of at most `columns`
// characters: a longer line continues on the next lines, so nothing is
// cut off. Requires: rows > 0 and columns > 0.
std::vector<std::vector<std::string>> listing_pages(const std::vector<std::string>& lines,
                                                    size_t columns, size_t rows);

struct DocumentStatistics {
  int64_t documents = 0;           // rows of Docs
  int64_t previously_indexed = 0;  // documents with at least one row in WordsDocs
  int64_t indexed_this_crawl = 0;  // rows of Docs whose bIndexed is set
  int64_t words = 0;               // rows of Words
};

// The four counts; false (with a report) on a database error.
bool document_statistics(Database& db, UserInterface& ui, DocumentStatistics* out);

// The text of the statistics box: four labelled counts, the first three
// ending with a carriage return.
std::string statistics_text(const DocumentStatistics& stats);

inline constexpr const char kStatisticsTitle[] = "System Statistics";

// The statistics box.
void show_statistics(Database& db, UserInterface& ui);

}  // namespace trawlix
