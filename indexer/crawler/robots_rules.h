// A site's robots.txt as the crawler obeys it: the Allow and Disallow rules
// of the groups that name the crawler (or, when none does, of the "*"
// groups), matched against the path and query of a URL. The longest
// matching pattern decides, Allow winning a tie; "*" matches any run of
// characters and a final "$" anchors the pattern at the end of the path.
// A path no rule matches is allowed. Patterns and paths are compared as
// written, percent escapes included.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trawlix {

class RobotsRules {
 public:
  // Every path allowed: no robots.txt, or one the server says is not there.
  static RobotsRules allow_all() { return RobotsRules(); }
  // Every path refused: a robots.txt that could not be read.
  static RobotsRules disallow_all();
  // The rules of `text` for `agent`. A group names the crawler when one of
  // its User-agent lines is the agent or its first word, in any case.
  static RobotsRules parse(std::string_view text, std::string_view agent);

  // Whether the crawler may fetch `path` ("/dir/page.htm?q=1").
  bool allows(std::string_view path) const;

 private:
  struct Rule {
    bool allow;
    std::string pattern;
  };
  std::vector<Rule> rules_;
};

// Whether a robots.txt pattern matches the path from its start.
bool robots_pattern_matches(std::string_view pattern, std::string_view path);

// The part of an http or https URL robots.txt rules apply to: its path and
// query ("/" when it has no path), without the fragment.
std::string robots_path(std::string_view url);
// The URL of the robots.txt governing an http or https URL:
// "scheme://host[:port]/robots.txt".
std::string robots_url(std::string_view url);

}  // namespace trawlix
