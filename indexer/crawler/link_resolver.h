// The link resolver: turns a link value read on a page into an absolute
// URL against that page, decides whether the crawler follows it, and
// enters a followed link in Docs as a document waiting one level deeper,
// with the page as its parent. In mail robot mode a link that leaves the
// site is recorded in URLexternos for the external link survey.
//
// How the crawl loop and the indexer use it, for each page:
//
//   state.current = the page's row (url, doc_id, level, max_depth, crawl_above);
//   LinkResolver resolver(db, state, ui);
//   FetchOutcome got = fetcher.fetch_page(workspace_dir, state, false);
//   resolver.set_page_context(got.final_url);   // the page really served
//   indexer.index_document(path, [&](const std::string& link) {
//     if (resolver.resolve_link(link).fate == LinkFate::kFailed) indexer.fail_page();
//   });
//
// resolve_link does its database work at once, inside whatever transaction
// the caller holds; values reach SQL only as bound parameters.
#pragma once

#include <string>
#include <string_view>

#include "shell/database.h"
#include "shell/indexer_state.h"
#include "shell/user_interface.h"

namespace trawlix {

inline constexpr size_t kMaxUrlLength = 255;

// Where the links of a page are resolved against. Positions are counted
// after the URL's "scheme://" prefix, so that an https page resolves as
// the same page over http does. For http://H/dir/page.htm: page_dir and
// link_base are http://H/dir, site_root is http://H; for http://H all
// three are the URL.
struct PageContext {
  std::string page_dir;   // the URL without its last path segment and the slash before it
  std::string site_root;  // scheme and host: up to the first slash after the scheme
  std::string link_base;  // the URL up to its last ":", "/" or "\" after the host
};

PageContext page_context(std::string_view url);

// "Can handle such a long URL: " and the URL (title "Limit reached:").
void report_long_url(UserInterface& ui, const std::string& url);

enum class LinkFate {
  kAdded,     // a new waiting Docs row
  kKnown,     // already in Docs (in any case); the row is left as it is
  kSkipped,   // not followed: not a page, outside the directory, too deep, too long...
  kExternal,  // leads off the site (recorded in URLexternos in mail robot mode)
  kFailed,    // a statement failed; reported, and the caller goes on
};

struct ResolvedLink {
  std::string url;  // the link as resolved
  LinkFate fate = LinkFate::kSkipped;
};

class LinkResolver {
 public:
  // Reads state.current and state.settings.mail_robot_mode; counts
  // state.external_count and shows it in the label kExternal.
  LinkResolver(Database& db, IndexerState& state, UserInterface& ui)
      : db_(db), state_(state), ui_(ui) {}

  // Derives the page context from the URL of the page being indexed.
  void set_page_context(std::string_view url) { context_ = page_context(url); }
  // Every link of the page counts as leading off the site: the page was
  // served by a host the crawl was not given.
  void set_links_external(bool external) { links_external_ = external; }
  const PageContext& context() const { return context_; }

  // Resolves one HREF or SRC value of the page and, when the crawler may
  // follow it, adds it to Docs. A link over 255 characters is refused with
  // the message "Can handle such a long URL: " (title "Limit reached:").
  ResolvedLink resolve_link(const std::string& link_text);

 private:
  bool record_external(const std::string& url);
  LinkFate add_document(const std::string& url);
  void report_failure(const std::string& url);

  Database& db_;
  IndexerState& state_;
  UserInterface& ui_;
  PageContext context_;
  bool links_external_ = false;
};

}  // namespace trawlix
