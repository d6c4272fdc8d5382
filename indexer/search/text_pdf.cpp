// Writing a text PDF: a catalog, a page tree, one standard font, and a page
// object with its content stream for each page, then the cross-reference
// table with the byte offset of every object.
#include "search/text_pdf.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace trawlix {
namespace {

constexpr int kPageWidth = 595;  // A4 in points
constexpr int kPageHeight = 842;
constexpr int kMargin = 56;
constexpr int kFontSize = 10;
constexpr int kLeading = 12;

// A PDF literal string: parentheses and backslashes escaped, bytes outside
// printable ASCII written as octal escapes, control characters as blanks.
std::string literal(const std::string& text) {
  std::string out = "(";
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (c == '(' || c == ')' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || c == 0x7F) {
      out += ' ';
    } else if (c >= 0x80) {
      char octal[5];
      std::snprintf(octal, sizeof octal, "\\%03o", c);
      out += octal;
    } else {
      out += ch;
    }
  }
  return out + ")";
}

std::string content_stream(const std::vector<std::string>& lines) {
  std::string s = "BT\n/F1 " + std::to_string(kFontSize) + " Tf\n" + std::to_string(kLeading) +
                  " TL\n" + std::to_string(kMargin) + " " +
                  std::to_string(kPageHeight - kMargin - kFontSize) + " Td\n";
  for (const std::string& line : lines) s += literal(line) + " Tj T*\n";
  return s + "ET\n";
}

}  // namespace

bool write_text_pdf(const std::string& path, const std::vector<std::vector<std::string>>& pages,
                    std::string* error) {
  std::vector<std::vector<std::string>> body = pages;
  if (body.empty()) body.emplace_back();

  std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::vector<size_t> offsets;  // of objects 1..n
  auto object = [&](const std::string& text) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(offsets.size()) + " 0 obj\n" + text + "\nendobj\n";
  };
  // Objects 1 to 3, then a page and its contents for each page.
  std::string kids;
  for (size_t k = 0; k < body.size(); ++k) {
    kids += (k ? " " : "") + std::to_string(4 + 2 * k) + " 0 R";
  }
  object("<< /Type /Catalog /Pages 2 0 R >>");
  object("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(body.size()) + " >>");
  object("<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>");
  for (size_t k = 0; k < body.size(); ++k) {
    object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + std::to_string(kPageWidth) + " " +
           std::to_string(kPageHeight) + "] /Resources << /Font << /F1 3 0 R >> >> /Contents " +
           std::to_string(5 + 2 * k) + " 0 R >>");
    std::string stream = content_stream(body[k]);
    object("<< /Length " + std::to_string(stream.size()) + " >>\nstream\n" + stream + "endstream");
  }
  size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t offset : offsets) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    pdf += entry;
  }
  pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";

  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(pdf.data(), static_cast<std::streamsize>(pdf.size()));
  if (out) out.close();
  if (!out) {
    *error = std::strerror(errno);
    std::remove(path.c_str());
    return false;
  }
  return true;
}

}  // namespace trawlix
