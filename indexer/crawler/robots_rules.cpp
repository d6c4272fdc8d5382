// Reading robots.txt and matching its rules.
#include "crawler/robots_rules.h"

#include "base/ascii_case.h"
#include "crawler/url_text.h"

namespace trawlix {
namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

bool names_agent(std::string_view value, std::string_view agent) {
  if (value == "*") return false;
  std::string_view first = agent.substr(0, agent.find(' '));
  return equal_nocase(value, agent) || equal_nocase(value, first);
}

// Where the host part of a URL ends: its path, query or fragment begins.
size_t host_end(std::string_view url) {
  size_t start = scheme_prefix_length(url);
  size_t end = url.find_first_of("/?#", start);
  return end == std::string_view::npos ? url.size() : end;
}

}  // namespace

RobotsRules RobotsRules::disallow_all() {
  RobotsRules r;
  r.rules_.push_back({false, "/"});
  return r;
}

RobotsRules RobotsRules::parse(std::string_view text, std::string_view agent) {
  RobotsRules mine, anyone;
  bool named_me = false;
  // The agents of the group being read; a rule line ends the list, the
  // next User-agent line then starts a new group.
  bool group_is_mine = false, group_is_anyone = false, in_agent_list = false;
  while (!text.empty()) {
    size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    line = trimmed(line.substr(0, line.find('#')));
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view field = trimmed(line.substr(0, colon));
    std::string_view value = trimmed(line.substr(colon + 1));
    if (equal_nocase(field, "user-agent")) {
      if (!in_agent_list) group_is_mine = group_is_anyone = false;
      in_agent_list = true;
      if (names_agent(value, agent)) group_is_mine = named_me = true;
      if (value == "*") group_is_anyone = true;
      continue;
    }
    bool allow = equal_nocase(field, "allow");
    if (!allow && !equal_nocase(field, "disallow")) continue;
    in_agent_list = false;
    // An empty Disallow allows everything: it is no rule at all.
    if (value.empty()) continue;
    if (group_is_mine) mine.rules_.push_back({allow, std::string(value)});
    if (group_is_anyone) anyone.rules_.push_back({allow, std::string(value)});
  }
  return named_me ? mine : anyone;
}

bool RobotsRules::allows(std::string_view path) const {
  if (path == "/robots.txt") return true;
  size_t best = 0;
  bool allowed = true, matched = false;
  for (const Rule& rule : rules_) {
    if (!robots_pattern_matches(rule.pattern, path)) continue;
    size_t length = rule.pattern.size();
    if (!matched || length > best || (length == best && rule.allow)) allowed = rule.allow;
    if (length > best) best = length;
    matched = true;
  }
  return allowed;
}

bool robots_pattern_matches(std::string_view pattern, std::string_view path) {
  bool anchored = !pattern.empty() && pattern.back() == '$';
  if (anchored) pattern.remove_suffix(1);
  // Wildcard matching with one backtracking point: the last "*" seen.
  size_t p = 0, s = 0, star = std::string_view::npos, star_s = 0;
  while (s < path.size()) {
    if (p == pattern.size() && !anchored) return true;
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_s = s;
    } else if (p < pattern.size() && pattern[p] == path[s]) {
      ++p;
      ++s;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      s = ++star_s;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string robots_path(std::string_view url) {
  std::string_view rest = url.substr(host_end(url));
  rest = rest.substr(0, rest.find('#'));
  if (rest.empty() || rest.front() != '/') return "/" + std::string(rest);
  return std::string(rest);
}

std::string robots_url(std::string_view url) {
  return std::string(url.substr(0, host_end(url))) + "/robots.txt";
}

}  // namespace trawlix
