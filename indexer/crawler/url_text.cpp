// URL text helpers.
#include "crawler/url_text.h"

#include "base/cp1252.h"

namespace trawlix {
namespace {

bool starts_with_upper(std::string_view text, std::string_view upper_prefix) {
  return text.size() >= upper_prefix.size() &&
         upper_cp1252(text.substr(0, upper_prefix.size())) == upper_prefix;
}

bool is_scheme_char(char c, bool first) {
  bool alpha = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (first) return alpha;
  return alpha || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

}  // namespace

size_t scheme_prefix_length(std::string_view url) {
  size_t colon = url.find("://");
  if (colon == std::string_view::npos || colon == 0) return 0;
  for (size_t k = 0; k < colon; ++k) {
    if (!is_scheme_char(url[k], k == 0)) return 0;
  }
  return colon + 3;
}

bool is_web_url(std::string_view url) {
  return starts_with_upper(url, "HTTP://") || starts_with_upper(url, "HTTPS://");
}

std::string request_url(std::string_view url) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(url.size());
  for (char c : url) {
    auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) {
      out += c;
      continue;
    }
    std::string encoded = byte < 0x80 ? std::string(1, c) : cp1252_to_utf8(std::string_view(&c, 1));
    for (char e : encoded) {
      auto b = static_cast<unsigned char>(e);
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    }
  }
  return out;
}

std::string typed_url(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string();
  size_t last = text.find_last_not_of(' ');
  std::string url(text.substr(first, last - first + 1));
  return scheme_prefix_length(url) > 0 ? url : "http://" + url;
}

}  // namespace trawlix
