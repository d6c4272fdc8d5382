// The results page of a local search, "results.html" in the WorkSpace.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trawlix {

struct SearchHit {
  int32_t doc_id;
  std::string url;
  std::string description;
  // The occurrences of the query's words in the document, summed.
  int64_t score = 0;
};

inline constexpr const char kResultsFile[] = "results.html";

// The page's text: CR LF line ends, Windows-1252, URLs and descriptions
// escaped so that nothing of a page's title runs as mark-up.
std::string results_page(const std::vector<SearchHit>& hits);

// Text safe inside HTML content and single-quoted attributes.
std::string html_escape(const std::string& text);

}  // namespace trawlix
