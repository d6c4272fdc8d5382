// Writing the results page.
#include "search/results_page.h"

namespace trawlix {

std::string html_escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string results_page(const std::vector<SearchHit>& hits) {
  std::string page;
  auto line = [&page](const std::string& text) { page += text + "\r\n"; };
  line("<HTML>");
  line("<head><TITLE>Result Pages - Trawlix</title></head>");
  line("<BODY>");
  line("<h2>Result Pages - Trawlix</h2>");
  int i = 0;
  for (const SearchHit& hit : hits) {
    std::string url = html_escape(hit.url);
    line("<br><b>" + std::to_string(++i) + ". <a href='" + url + "'>" + url + "</b></a>");
    if (!hit.description.empty()) line("<br><i>" + html_escape(hit.description) + "</i>");
    line("<br>");
  }
  line("</BODY>");
  line("</HTML>");
  return page;
}

}  // namespace trawlix
