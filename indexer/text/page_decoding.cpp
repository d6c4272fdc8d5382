// Detecting UTF-8 pages.
#include "text/page_decoding.h"

#include <cctype>

#include "base/cp1252.h"

namespace trawlix {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The charset a page declares (in a meta tag or an XML declaration), lower
// case, or empty. Only the head of the page is looked at.
std::string declared_charset(std::string_view page) {
  std::string head;
  for (char c : page.substr(0, 8192))
    head += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (std::string_view key : {"charset", "encoding"}) {
    size_t at = 0;
    while ((at = head.find(key, at)) != std::string::npos) {
      size_t i = at + key.size();
      while (i < head.size() && head[i] == ' ') ++i;
      if (i < head.size() && head[i] == '=') {
        ++i;
        while (i < head.size() && (head[i] == ' ' || head[i] == '"' || head[i] == '\'')) ++i;
        size_t start = i;
        while (i < head.size() && (std::isalnum(static_cast<unsigned char>(head[i])) ||
                                   head[i] == '-' || head[i] == '_')) {
          ++i;
        }
        if (i > start) return head.substr(start, i - start);
      }
      at += key.size();
    }
  }
  return std::string();
}

bool has_non_ascii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace

bool page_is_utf8(std::string_view page) {
  if (page.starts_with(kBom)) return true;
  std::string charset = declared_charset(page);
  if (!charset.empty()) return charset == "utf-8" || charset == "utf8";
  return has_non_ascii(page) && is_valid_utf8(page);
}

std::string page_to_cp1252(std::string_view page) {
  if (!page_is_utf8(page)) return std::string(page);
  if (page.starts_with(kBom)) page.remove_prefix(kBom.size());
  return utf8_to_cp1252(page, ' ');
}

}  // namespace trawlix
