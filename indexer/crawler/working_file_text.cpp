// The working file's line-end rule.
#include "crawler/working_file_text.h"

namespace trawlix {

void WorkingFileText::append(std::string_view piece, std::string& out) {
  size_t start = 0;
  for (size_t lf = piece.find('\n'); lf != std::string_view::npos;
       start = lf + 1, lf = piece.find('\n', start)) {
    std::string_view part = piece.substr(start, lf - start);
    out += part;
    bool ends_with_cr = part.empty() ? line_ends_with_cr_ : part.back() == '\r';
    if (!ends_with_cr) out += '\r';
    line_ends_with_cr_ = false;
  }
  std::string_view rest = piece.substr(start);
  if (!rest.empty()) {
    out += rest;
    line_ends_with_cr_ = rest.back() == '\r';
  }
}

std::string working_file_text(std::string_view body) {
  std::string out;
  out.reserve(body.size());  // a line feed gives at most one carriage return
  WorkingFileText().append(body, out);
  return out;
}

}  // namespace trawlix
