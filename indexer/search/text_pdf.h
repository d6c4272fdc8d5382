// A PDF file of plain text lines, written without any printing system: the
// command line's printed document listing. Pages are A4 in Courier 10 pt,
// the text Windows-1252, which is the PDF's own WinAnsiEncoding.
#pragma once

#include <string>
#include <vector>

namespace trawlix {

// The most a page holds: characters a line, lines a page.
inline constexpr size_t kPdfColumns = 80;
inline constexpr size_t kPdfRows = 60;

// Writes `pages` (each a list of at most kPdfRows lines of at most
// kPdfColumns characters; longer lines run past the margin) to `path`,
// replacing it. No pages give one blank page. On failure removes what was
// written, puts the reason in `error` and returns false.
bool write_text_pdf(const std::string& path, const std::vector<std::vector<std::string>>& pages,
                    std::string* error);

}  // namespace trawlix
