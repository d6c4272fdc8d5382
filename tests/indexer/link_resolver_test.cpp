// The link resolver on a page at S://H/dir/page.htm, for S = http and
// https: what each kind of link resolves to and which are entered in Docs.
#include "crawler/link_resolver.h"

#include <gtest/gtest.h>

#include <optional>

#include "shell/workspace.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "text/scanner.h"

namespace trawlix {
namespace {

TEST(PageContext, CutsTheUrlAfterItsSchemePrefix) {
  struct Case {
    const char* url;
    const char* page_dir;
    const char* site_root;
    const char* link_base;
  } cases[] = {
      {"http://H/dir/page.htm", "http://H/dir", "http://H", "http://H/dir"},
      {"https://H/dir/page.htm", "https://H/dir", "https://H", "https://H/dir"},
      {"http://H", "http://H", "http://H", "http://H"},
      {"HTTPS://H", "HTTPS://H", "HTTPS://H", "HTTPS://H"},
      {"http://H/dir/", "http://H/dir", "http://H", "http://H/dir"},
      {"http://H\\dir\\page.htm", "http://H\\dir", "http://H", "http://H\\dir"},
      {"http://H/a:b", "http://H", "http://H", "http://H/a"},
      // A port is not a path segment.
      {"http://H:8080", "http://H:8080", "http://H:8080", "http://H:8080"},
      {"https://H:8443/dir/p.htm", "https://H:8443/dir", "https://H:8443", "https://H:8443/dir"},
  };
  for (const Case& c : cases) {
    PageContext got = page_context(c.url);
    EXPECT_EQ(got.page_dir, c.page_dir) << c.url;
    EXPECT_EQ(got.site_root, c.site_root) << c.url;
    EXPECT_EQ(got.link_base, c.link_base) << c.url;
  }
}

struct Row {
  int64_t level, parent, max_depth, crawl_above, status, indexed;
  std::string description;
};

class LinkResolverTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(workspace.start_up(dir.path()));
    db = workspace.db();
    state.current.url = at("/dir/page.htm");
    state.current.doc_id = 7;
    state.current.level = 1;
    state.current.max_depth = 3;
    state.current.crawl_above = false;
    resolver = std::make_unique<LinkResolver>(*db, state, ui);
    resolver->set_page_context(state.current.url);
  }

  // S://H + path, S being the scheme under test.
  std::string at(const std::string& path) const { return std::string(GetParam()) + "://H" + path; }

  ResolvedLink resolve(const std::string& link) { return resolver->resolve_link(link); }

  std::optional<Row> row(const std::string& url) {
    Statement st = db->prepare(
        "select URLLevel, URLParent, nMaxDepth, bCrawlAbove, nStatus, bIndexed, URLDescription "
        "from Docs where URLDocument = ?");
    EXPECT_TRUE(st.bind({url}));
    if (!st.step()) return std::nullopt;
    return Row{st.get_int(0), st.get_int(1), st.get_int(2), st.get_int(3),
               st.get_int(4), st.get_int(5), st.get_text(6)};
  }
  int64_t docs() { return db->query_int("select count(*) from Docs"); }
  int64_t externals() { return db->query_int("select count(*) from URLexternos"); }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  Workspace workspace{ui};
  Database* db = nullptr;
  IndexerState state;
  std::unique_ptr<LinkResolver> resolver;
};

INSTANTIATE_TEST_SUITE_P(Schemes, LinkResolverTest, ::testing::Values("http", "https"));

TEST_P(LinkResolverTest, AddsPagesOfTheDirectoryOneLevelDeeper) {
  ResolvedLink got = resolve("other.htm");
  EXPECT_EQ(got.url, at("/dir/other.htm"));
  EXPECT_EQ(got.fate, LinkFate::kAdded);
  std::optional<Row> r = row(at("/dir/other.htm"));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->level, 2);
  EXPECT_EQ(r->parent, 7);
  EXPECT_EQ(r->max_depth, 3);
  EXPECT_EQ(r->crawl_above, 0);
  EXPECT_EQ(r->status, 0);
  EXPECT_EQ(r->indexed, 0);
  EXPECT_EQ(r->description, "");

  got = resolve("sub/a.htm#part");
  EXPECT_EQ(got.url, at("/dir/sub/a.htm"));
  EXPECT_EQ(got.fate, LinkFate::kAdded);
  // A link with "?" is not tested for its extension.
  EXPECT_EQ(resolve("search.cgi?q=1").fate, LinkFate::kAdded);
  EXPECT_EQ(resolve("report.pdf?x").fate, LinkFate::kAdded);
  EXPECT_EQ(resolve("./b.htm").url, at("/dir/./b.htm"));
  // Absolute links of either scheme, in any case, stay as written.
  std::string upper =
      std::string(GetParam()) == "http" ? "HTTP://H/dir/c.htm" : "HTTPS://H/dir/c.htm";
  got = resolve(upper);
  EXPECT_EQ(got.url, upper);
  EXPECT_EQ(got.fate, LinkFate::kAdded);
  // The case-sensitive script test lets "JavaScript:" through as a page name.
  got = resolve("JavaScript:go()");
  EXPECT_EQ(got.url, at("/dir/JavaScript:go()"));
  EXPECT_EQ(got.fate, LinkFate::kAdded);
  EXPECT_EQ(docs(), 7);
}

// The value of a link as the scanner reads it from a page, then resolved:
// blanks, tabs and line breaks around it are what browsers drop.
TEST_P(LinkResolverTest, LinkValuesAreReadAsBrowsersReadThem) {
  struct Case {
    const char* tag;   // an anchor, its link written S://H/... for the scheme
    const char* path;  // what it resolves to, after S://H
  } cases[] = {
      {"<a href=\" S://H/dir/abs.htm\">", "/dir/abs.htm"},
      {"<a href=\"\tS://H/dir/tab.htm\t\">", "/dir/tab.htm"},
      {"<a href=\"\r\n   S://H/dir/broken.htm\r\n\">", "/dir/broken.htm"},
      {"<a href= \"  near.htm  \" >", "/dir/near.htm"},
      {"<a href=\"baker's-corner.htm\">", "/dir/baker's-corner.htm"},
      {"<a href='say \"hi\".htm'>", "/dir/say \"hi\".htm"},
      {"<a href=bare.htm title=x>", "/dir/bare.htm"},
      {"<a href=sub/bare.htm>", "/dir/sub/bare.htm"},
      {"<a href=\"my page.htm\">", "/dir/my page.htm"},
  };
  std::string scheme = GetParam();
  for (const Case& c : cases) {
    std::string page = c.tag;
    for (size_t at = page.find("S://"); at != std::string::npos; at = page.find("S://")) {
      page.replace(at, 1, scheme);
    }
    Scanner scanner;
    scanner.open_text(page);
    do {
      scanner.next_token();
    } while (!scanner.token().empty() && scanner.token() != "HREF");
    ASSERT_EQ(scanner.token(), "HREF") << c.tag;
    scanner.read_link();
    EXPECT_EQ(resolve(scanner.link_text()).url, at(c.path)) << c.tag;
  }
}

TEST_P(LinkResolverTest, SkipsWhatIsNotAPageOfTheDirectory) {
  struct Case {
    std::string link, url;
    LinkFate fate;
  } cases[] = {
      {"/top.htm", at("/top.htm"), LinkFate::kSkipped},
      {"../up.htm", at("/up.htm"), LinkFate::kSkipped},
      {"", at(""), LinkFate::kSkipped},
      {"report.pdf", at("/dir/report.pdf"), LinkFate::kSkipped},
      {"javascript:go()", at("/dir/javascript:go()"), LinkFate::kSkipped},
      {"./?q", at("/dir/./?q"), LinkFate::kSkipped},
      {"dir/?q", "dir/?q", LinkFate::kExternal},
      {"mailto:me@H", "mailto:me@H", LinkFate::kExternal},
      {"MAILTO:me@H", "MAILTO:me@H", LinkFate::kExternal},
      {"ftp://H/f.txt", "ftp://H/f.txt", LinkFate::kExternal},
      {"http://other.org/x.htm", "http://other.org/x.htm", LinkFate::kExternal},
      {"www.other.org/x.htm", "www.other.org/x.htm", LinkFate::kExternal},
  };
  for (const Case& c : cases) {
    ResolvedLink got = resolve(c.link);
    EXPECT_EQ(got.url, c.url) << c.link;
    EXPECT_EQ(got.fate, c.fate) << c.link;
  }
  EXPECT_EQ(docs(), 0);
  // Outside mail robot mode nothing is recorded or counted.
  EXPECT_EQ(externals(), 0);
  EXPECT_EQ(state.external_count, 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_P(LinkResolverTest, CrawlAboveAndDepthDecideTheRest) {
  state.current.crawl_above = true;
  EXPECT_EQ(resolve("/top.htm").fate, LinkFate::kAdded);
  EXPECT_EQ(resolve("../up.htm").fate, LinkFate::kAdded);
  EXPECT_EQ(row(at("/top.htm"))->crawl_above, -1);

  state.current.crawl_above = false;
  state.current.level = 3;
  EXPECT_EQ(resolve("deep.htm").fate, LinkFate::kSkipped);
  state.current.max_depth = 0;  // no depth limit
  EXPECT_EQ(resolve("deep.htm").fate, LinkFate::kAdded);
  EXPECT_EQ(row(at("/dir/deep.htm"))->level, 4);
}

TEST_P(LinkResolverTest, KnownUrlIsFoundWhateverItsCase) {
  ASSERT_EQ(resolve("other.htm").fate, LinkFate::kAdded);
  state.current.level = 2;
  state.current.doc_id = 9;
  EXPECT_EQ(resolve("OTHER.HTM").fate, LinkFate::kKnown);
  EXPECT_EQ(resolve("other.htm#again").fate, LinkFate::kKnown);
  EXPECT_EQ(docs(), 1);
  EXPECT_EQ(row(at("/dir/other.htm"))->level, 2);
  EXPECT_EQ(row(at("/dir/other.htm"))->parent, 7);
}

TEST_P(LinkResolverTest, ApostropheIsStoredIntact) {
  ASSERT_EQ(resolve("it's.htm").fate, LinkFate::kAdded);
  EXPECT_TRUE(row(at("/dir/it's.htm")));
  EXPECT_EQ(resolve("it's.htm").fate, LinkFate::kKnown);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_P(LinkResolverTest, MailRobotModeRecordsLinksLeavingTheSite) {
  state.settings.mail_robot_mode = 1;
  EXPECT_EQ(resolve("http://other.org/o'neil.htm").fate, LinkFate::kExternal);
  EXPECT_EQ(resolve("http://www.yahoo.com/").fate, LinkFate::kExternal);  // never recorded
  EXPECT_EQ(resolve("http://www.Yahoo.com/").fate, LinkFate::kExternal);  // the test is exact
  EXPECT_EQ(resolve("other.htm").fate, LinkFate::kAdded);
  auto rows = db->query_rows("select URLExternal, URLDescription from URLexternos");
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), 2u);
  EXPECT_EQ(std::get<std::string>((*rows)[0][0]), "http://other.org/o'neil.htm");
  EXPECT_EQ(std::get<std::string>((*rows)[0][1]), state.current.url);
  EXPECT_EQ(std::get<std::string>((*rows)[1][0]), "http://www.Yahoo.com/");
  EXPECT_EQ(state.external_count, 2);
  EXPECT_EQ(ui.external_label, "2");
}

TEST_P(LinkResolverTest, OverLongLinkIsRefusedWithAMessage) {
  const std::string prefix = at("/dir/");
  std::string fits = std::string(kMaxUrlLength - prefix.size() - 4, 'a') + ".htm";
  EXPECT_EQ(resolve(fits).fate, LinkFate::kAdded);
  std::string too_long = "b" + fits;
  ResolvedLink got = resolve(too_long);
  EXPECT_EQ(got.url.size(), kMaxUrlLength + 1);
  EXPECT_EQ(got.fate, LinkFate::kSkipped);
  EXPECT_EQ(docs(), 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Limit reached:");
  EXPECT_EQ(ui.messages[0].text, "Can handle such a long URL: " + prefix + too_long);
  EXPECT_EQ(ui.messages[0].icon, Icon::kCritical);
}

TEST_P(LinkResolverTest, DatabaseFailureIsReportedAndTheCallerGoesOn) {
  ASSERT_TRUE(db->exec("drop table Docs"));
  ASSERT_TRUE(db->exec("drop table URLexternos"));
  EXPECT_EQ(resolve("other.htm").fate, LinkFate::kFailed);
  state.settings.mail_robot_mode = 1;
  EXPECT_EQ(resolve("http://other.org/").fate, LinkFate::kFailed);
  EXPECT_EQ(state.external_count, 0);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].title, "Database error:");
  EXPECT_NE(ui.messages[0].text.find(at("/dir/other.htm")), std::string::npos);
}

}  // namespace
}  // namespace trawlix
