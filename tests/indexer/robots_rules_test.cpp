// robots.txt: which group applies to the crawler, and the matching of its
// rules (the longest match wins, Allow on a tie, "*" and "$").
#include "crawler/robots_rules.h"

#include <gtest/gtest.h>

namespace trawlix {
namespace {

TEST(RobotsRules, DecidesPathsAsTheStandardsExamplesDo) {
  struct Case {
    const char* file;
    const char* path;
    bool allowed;
  };
  const Case cases[] = {
      // Matching: prefixes, "*", "$", the longest match, Allow on a tie.
      {"User-agent: *\nDisallow: /fish", "/fish", false},
      {"User-agent: *\nDisallow: /fish", "/fish.html", false},
      {"User-agent: *\nDisallow: /fish", "/fish/salmon.html", false},
      {"User-agent: *\nDisallow: /fish", "/Fish.asp", true},
      {"User-agent: *\nDisallow: /fish", "/catfish", true},
      {"User-agent: *\nDisallow: /fish*", "/fishheads/yummy.html", false},
      {"User-agent: *\nDisallow: /fish/", "/fish", true},
      {"User-agent: *\nDisallow: /fish/", "/fish/?id=anything", false},
      {"User-agent: *\nDisallow: /*.php", "/folder/filename.php?parameters", false},
      {"User-agent: *\nDisallow: /*.php", "/windows.PHP", true},
      {"User-agent: *\nDisallow: /*.php$", "/filename.php", false},
      {"User-agent: *\nDisallow: /*.php$", "/filename.php?parameters", true},
      {"User-agent: *\nDisallow: /*.php$", "/filename.php5", true},
      {"User-agent: *\nDisallow: /fish*.php", "/fishheads/catfish.php?parameters", false},
      {"User-agent: *\nAllow: /p\nDisallow: /", "/page", true},
      {"User-agent: *\nAllow: /folder\nDisallow: /folder", "/folder/page", true},
      {"User-agent: *\nAllow: /page\nDisallow: /*.htm", "/page.htm", false},
      {"User-agent: *\nAllow: /$\nDisallow: /", "/", true},
      {"User-agent: *\nAllow: /$\nDisallow: /", "/page.htm", false},
      {"User-agent: *\nDisallow: /\n", "/robots.txt", true},
      // Nothing refused: an empty Disallow, no group, an empty file.
      {"User-agent: *\nDisallow:", "/anything", true},
      {"User-agent: other\nDisallow: /", "/anything", true},
      {"", "/anything", true},
      // The crawler's own groups (by its agent or its first word, any case)
      // replace the "*" ones; groups naming it are merged; a group may name
      // several agents; comments and unknown lines are passed over.
      {"User-agent: *\nDisallow: /\n\nUser-agent: vb openurl\nDisallow: /x", "/y", true},
      {"User-agent: *\nDisallow: /\n\nUser-agent: VB\nDisallow: /x", "/x/1", false},
      {"User-agent: VB\nDisallow: /a\nUser-agent: *\nDisallow: /b\nUser-agent: VB\nDisallow: /c",
       "/c", false},
      {"User-agent: VB\nDisallow: /a\nUser-agent: *\nDisallow: /b\nUser-agent: VB\nDisallow: /c",
       "/b", true},
      {"User-agent: a\nUser-agent: vb\nDisallow: /z # not this\nSitemap: /s.xml", "/z", false},
      {"user-agent:*\r\ndisallow:/crlf\r\n", "/crlf", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RobotsRules::parse(c.file, "VB OpenUrl").allows(c.path), c.allowed)
        << c.path << " under:\n"
        << c.file;
  }
  EXPECT_FALSE(RobotsRules::disallow_all().allows("/"));
}

TEST(RobotsRules, TakesThePathAndHostOfAUrl) {
  EXPECT_EQ(robots_path("http://h:8080/a/b.htm?q=1#frag"), "/a/b.htm?q=1");
  EXPECT_EQ(robots_path("https://h"), "/");
  EXPECT_EQ(robots_path("http://h?q"), "/?q");
  EXPECT_EQ(robots_url("http://h:8080/a/b.htm?q=1"), "http://h:8080/robots.txt");
  EXPECT_EQ(robots_url("https://H.example"), "https://H.example/robots.txt");
}

}  // namespace
}  // namespace trawlix
