// URL text helpers.
#include "crawler/url_text.h"

#include <cctype>

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

namespace {

// The host and port of a URL, lower case, without user information, a
// default port or a leading "www.".
std::string site_host(std::string_view url) {
  size_t prefix = scheme_prefix_length(url);
  bool https = starts_with_upper(url, "HTTPS://");
  std::string_view rest = url.substr(prefix);
  rest = rest.substr(0, rest.find_first_of("/\\?#"));
  if (size_t at = rest.rfind('@'); at != std::string_view::npos) rest.remove_prefix(at + 1);
  std::string host;
  for (char c : rest) host += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string_view default_port = https ? ":443" : ":80";
  if (host.ends_with(default_port)) host.resize(host.size() - default_port.size());
  if (host.starts_with("www.")) host.erase(0, 4);
  return host;
}

}  // namespace

bool same_site_host(std::string_view a, std::string_view b) {
  return site_host(a) == site_host(b);
}

std::string typed_url(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string();
  size_t last = text.find_last_not_of(' ');
  std::string url(text.substr(first, last - first + 1));
  return scheme_prefix_length(url) > 0 ? url : "http://" + url;
}

}  // namespace trawlix
