// What the fetcher, the link resolver and the commands need to know about
// the text of a URL: its scheme prefix, the schemes the crawler fetches,
// the form a URL takes on the wire, and the form of a URL a person typed.
//
// URLs are Windows-1252 text, as the core holds every text.
#pragma once

#include <string>
#include <string_view>

namespace trawlix {

// Length of the URL's "scheme://" prefix (7 for "http://", 8 for
// "https://"), or 0 when it does not begin with one.
size_t scheme_prefix_length(std::string_view url);

// True when the URL begins, in any case, with "http://" or "https://": the
// only URLs the fetcher requests.
bool is_web_url(std::string_view url);

// The URL as it is sent in a request: blanks, control characters and
// characters above 0x7F (written in UTF-8) are percent-encoded; everything
// else, existing escapes included, stays. The stored URL never changes.
std::string request_url(std::string_view url);

// A URL typed by a person: blanks trimmed, and "http://" put in front
// unless it already begins with a "scheme://" prefix (which the fetcher
// then takes or refuses). Empty stays empty.
std::string typed_url(std::string_view text);

// True when two URLs name the same site for the crawl: the same host (in
// any case) and port, whatever the scheme, with or without "www." in
// front. A site that moves to https, or from H to www.H, stays itself.
bool same_site_host(std::string_view a, std::string_view b);

}  // namespace trawlix
