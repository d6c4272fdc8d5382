// The text the working file j_URL_t.txt holds for a page's body: every line
// feed removed and a carriage return ending every line that did not already
// end with one (a line being the text between two line feeds, however the
// transfer splits the body). The fetcher writes it piece by piece; the
// pages fetched ahead are scanned from it whole, so both read the same text.
#pragma once

#include <string>
#include <string_view>

namespace trawlix {

// The line-end rule over a body handed over in pieces. Whether the current
// line already ends with a carriage return is carried from piece to piece,
// so a CR LF split between two pieces gives one CR, as a whole one does.
class WorkingFileText {
 public:
  // Appends to `out` the stored form of the next piece of the body.
  void append(std::string_view piece, std::string& out);

 private:
  bool line_ends_with_cr_ = false;
};

// The stored form of a whole body.
std::string working_file_text(std::string_view body);

}  // namespace trawlix
