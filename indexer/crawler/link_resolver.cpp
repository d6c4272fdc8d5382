// Resolving the links of a page. Positions in the comments count from 1,
// as the rules were first written down.
#include "crawler/link_resolver.h"

#include <algorithm>
#include <optional>

#include "base/cp1252.h"
#include "crawler/url_text.h"
#include "text/scanner_tables.h"

namespace trawlix {
namespace {

bool is_separator(char c) {
  return c == '/' || c == '\\';
}
bool is_base_separator(char c) {
  return c == ':' || c == '/' || c == '\\';
}

bool starts_with_upper(std::string_view text, std::string_view upper_prefix) {
  return text.size() >= upper_prefix.size() &&
         upper_cp1252(text.substr(0, upper_prefix.size())) == upper_prefix;
}

// The first characters of `text`, as many as `prefix` has, equal `prefix`
// regardless of case.
bool same_prefix(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         upper_cp1252(text.substr(0, prefix.size())) == upper_cp1252(prefix);
}

// `base` without its last ":", "/" or "\" segment; empty when it has none
// after its first character.
std::string without_last_segment(const std::string& base) {
  for (size_t p = base.size(); p >= 2; --p) {
    if (is_base_separator(base[p - 1])) return base.substr(0, p - 1);
  }
  return std::string();
}

// The extension of the last path segment, when it has a dot.
std::optional<std::string> extension_of(const std::string& url) {
  for (size_t p = url.size(); p >= 2; --p) {
    char c = url[p - 1];
    if (c == '.') return url.substr(p);
    if (c == '/') break;
  }
  return std::nullopt;
}

}  // namespace

PageContext page_context(std::string_view url) {
  std::string whole(url);
  PageContext c{whole, whole, whole};
  size_t prefix = scheme_prefix_length(url);
  if (prefix == 0) prefix = 7;  // as if "http://"
  const size_t n = url.size();
  if (n <= prefix) return c;
  auto at = [&](size_t p) { return url[p - 1]; };

  size_t p = n;
  while (p > prefix + 1 && !is_separator(at(p))) --p;
  if (is_separator(at(p))) c.page_dir = whole.substr(0, p - 1);

  p = prefix + 1;
  while (p < n && !is_separator(at(p))) ++p;
  if (is_separator(at(p))) c.site_root = whole.substr(0, p - 1);

  p = n;
  while (p > prefix && !is_base_separator(at(p))) --p;
  // A colon inside the host part is a port ("http://H:8080"), not the end
  // of a path segment: such a URL has no path to cut.
  bool port_colon = at(p) == ':' && p <= c.site_root.size();
  if (p > prefix && !port_colon) c.link_base = whole.substr(0, p - 1);
  return c;
}

void report_long_url(UserInterface& ui, const std::string& url) {
  ui.show_message("Limit reached:", "Can handle such a long URL: " + url, Icon::kCritical);
}

ResolvedLink LinkResolver::resolve_link(const std::string& link_text) {
  const CurrentDocument& page = state_.current;
  std::string link = link_text;
  bool skip = false;

  if (size_t hash = link.find('#'); hash != std::string::npos) link.resize(hash);

  if (link.empty() || link[0] == '.' || is_separator(link[0])) {
    if (link.empty() || link[0] != '.') {
      link = context_.site_root + link;
    } else {
      std::string base = context_.link_base;
      while (link.starts_with("..")) {
        base = without_last_segment(base);
        link.erase(0, std::min<size_t>(3, link.size()));
      }
      link = base + "/" + link;
    }
  } else if (starts_with_upper(link, "MAILTO:") || starts_with_upper(link, "GOPHER:") ||
             starts_with_upper(link, "NEWS:") || starts_with_upper(link, "FTP:") ||
             link.find("/?", 1) != std::string::npos) {
    skip = true;
  } else if (!starts_with_upper(link, "HTTP://") && !starts_with_upper(link, "HTTPS://") &&
             !starts_with_upper(link, "WWW")) {
    link = context_.link_base + "/" + link;
  }

  bool external = links_external_ || !same_prefix(link, context_.site_root);
  bool failed = false;
  if (external) {
    skip = true;
    if (link.find("yahoo") == std::string::npos && state_.settings.mail_robot_mode != 0) {
      failed = !record_external(link);
    }
  } else if (!link.ends_with('/') && link.find('?') == std::string::npos) {
    std::optional<std::string> extension = extension_of(link);
    if (extension && !accept_extension(*extension)) skip = true;
  }

  if (link.size() > kMaxUrlLength) {
    skip = true;
    report_long_url(ui_, link);
  }
  if (!same_prefix(link, context_.page_dir) && !page.crawl_above) skip = true;
  if (link.find("/?", 1) != std::string::npos) skip = true;
  if (link.find("javascript:", 1) != std::string::npos) skip = true;
  if (page.max_depth >= 1 && page.level >= page.max_depth) skip = true;

  ResolvedLink result{link, LinkFate::kSkipped};
  if (failed) {
    result.fate = LinkFate::kFailed;
  } else if (external) {
    result.fate = LinkFate::kExternal;
  } else if (!skip) {
    result.fate = add_document(link);
  }
  return result;
}

bool LinkResolver::record_external(const std::string& url) {
  if (!db_.exec_kept("insert into URLexternos (URLExternal,URLDescription) values (?,?)",
                     {url, state_.current.url})) {
    report_failure(url);
    return false;
  }
  ++state_.external_count;
  ui_.set_label(Label::kExternal, std::to_string(state_.external_count));
  return true;
}

LinkFate LinkResolver::add_document(const std::string& url) {
  {
    KeptStatement known = db_.kept("select 1 from Docs where URLDocument = ?");
    bool ran = known->ok() && known->bind({url});
    if (ran && known->step()) return LinkFate::kKnown;
    if (!ran || known->failed()) {
      report_failure(url);
      return LinkFate::kFailed;
    }
  }
  const CurrentDocument& page = state_.current;
  if (!db_.exec_kept(
          "insert into Docs (URLDocument, URLDescription, URLLevel, URLParent, nMaxDepth, "
          "bCrawlAbove, nStatus, bIndexed) values (?, '', ?, ?, ?, ?, 0, 0)",
          {url, int64_t{page.level + 1}, int64_t{page.doc_id}, int64_t{page.max_depth},
           int64_t{page.crawl_above ? -1 : 0}})) {
    report_failure(url);
    return LinkFate::kFailed;
  }
  return LinkFate::kAdded;
}

void LinkResolver::report_failure(const std::string& url) {
  ui_.show_message("Database error:",
                   "Error: recording the link " + url + ": \r" + db_.last_error(), Icon::kCritical);
}

}  // namespace trawlix
