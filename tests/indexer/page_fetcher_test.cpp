// The page fetcher against a real HTTP server on 127.0.0.1 (line ends,
// redirects, error pages, silent and dropping servers) and against the
// scripted transport (pieces split at awkward places, size limit, schemes,
// request form, listing).
#include "crawler/page_fetcher.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <tuple>

#include "base/paths.h"
#include "cli/cli.h"
#include "crawler/curl_http_client.h"
#include "crawler/fetch_ahead.h"
#include "crawler/link_resolver.h"
#include "crawler/working_file_text.h"
#include "support/http_server.h"
#include "support/scripted_http.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

using testing::ScriptedHttp;
using testing::ScriptedUi;
using testing::TempDir;
using testing::TestHttpServer;
using End = FetchOutcome::End;

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A port on 127.0.0.1 where nothing listens: connections are refused.
int unused_port() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

// One WorkSpace folder, one UI and the state of the document to fetch.
struct Fixture {
  TempDir dir;
  std::string workspace = dir.path();
  ScriptedUi ui;
  IndexerState state;

  std::string working_file() const { return dir.file("j_URL_t.txt"); }
  FetchOutcome fetch(HttpClient& http, const std::string& url, bool show_page = false,
                     FetchLimits limits = {}) {
    state.current.url = url;
    PageFetcher fetcher(http, ui, limits);
    return fetcher.fetch_page(workspace, state, show_page);
  }
  size_t open_url_messages(const std::string& text) const {
    size_t n = 0;
    for (const auto& m : ui.messages) n += m.title == "Open URL:" && m.text == text;
    return n;
  }
};

constexpr char kNoUrlHandle[] = "Could not get URL_Handle\rError opening URL...";

TEST(PageFetcher, StoresEveryLineEndAsCarriageReturn) {
  TestHttpServer http;
  const std::string long_line(20000, 'x');
  struct Case {
    const char* path;
    std::string body;
    std::string stored;
  } cases[] = {
      {"/crlf", "one\r\ntwo\r\n", "one\rtwo\r"},
      {"/lf", "one\ntwo\n\nfour\n", "one\rtwo\r\rfour\r"},
      {"/cr", "one\rtwo\r", "one\rtwo\r"},
      {"/last", "one\ntwo", "one\rtwo"},
      {"/long", long_line + "\r\n" + long_line + "\nend", long_line + "\r" + long_line + "\rend"},
      {"/bytes", std::string("caf\xE9\0z\n", 7), std::string("caf\xE9\0z\r", 7)},
  };
  for (const Case& c : cases) {
    http.server().Get(c.path, [&c](const httplib::Request&, httplib::Response& res) {
      res.set_content(c.body, "application/octet-stream");
    });
  }
  CurlHttpClient curl;
  for (const Case& c : cases) {
    Fixture f;
    FetchOutcome got = f.fetch(curl, http.url(c.path));
    EXPECT_EQ(got.end, End::kComplete) << c.path << ": " << got.error;
    EXPECT_EQ(got.http_status, 200) << c.path;
    EXPECT_TRUE(got.indexable()) << c.path;
    EXPECT_EQ(got.final_url, http.url(c.path));
    EXPECT_EQ(read_file(f.working_file()), c.stored) << c.path;
    EXPECT_TRUE(f.ui.messages.empty()) << c.path;
  }
}

TEST(PageFetcher, LineEndRuleHoldsWhereverTheTransferSplitsTheBody) {
  ScriptedHttp http;
  // A CR LF split between two pieces is one line end, not two.
  http.answer("http://h/p", ScriptedHttp::page({"ab\r", "\ncd\n", "\n", "e\r", "\r\n", "f"}));
  Fixture f;
  ASSERT_EQ(f.fetch(http, "http://h/p").end, End::kComplete);
  EXPECT_EQ(read_file(f.working_file()), "ab\rcd\r\re\r\rf");

  http.answer("http://h/empty", ScriptedHttp::page({}));
  ASSERT_EQ(f.fetch(http, "http://h/empty").end, End::kComplete);
  EXPECT_TRUE(path_exists(f.working_file()));
  EXPECT_EQ(read_file(f.working_file()), "");
}

TEST(PageFetcher, SendsTheAgentAndBypassesCaches) {
  TestHttpServer http;
  httplib::Headers seen;
  std::string target;
  http.server().Get(R"(/.*)", [&](const httplib::Request& req, httplib::Response& res) {
    seen = req.headers;
    target = req.target;
    res.set_content("ok", "text/plain");
  });
  CurlHttpClient curl;
  Fixture f;
  // The stored URL keeps its blank and its accented letter; only the request encodes them.
  std::string url = http.url("/a b/caf\xE9.htm");
  FetchOutcome got = f.fetch(curl, url);
  ASSERT_EQ(got.end, End::kComplete) << got.error;
  EXPECT_EQ(target, "/a%20b/caf%C3%A9.htm");
  EXPECT_EQ(got.final_url, url);
  auto header = [&](const std::string& name) {
    auto it = seen.find(name);
    return it == seen.end() ? std::string("(none)") : it->second;
  };
  EXPECT_EQ(header("User-Agent"), "VB OpenUrl");
  EXPECT_EQ(header("Cache-Control"), "no-cache");
  EXPECT_EQ(header("Pragma"), "no-cache");
}

TEST(PageFetcher, FollowsRedirectsAndReportsWhereTheyLed) {
  TestHttpServer http;
  http.server().Get("/dir", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("/dir/", 301);
  });
  http.server().Get("/dir/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<a href=\"next.htm\">", "text/html");
  });
  // /ten/N and /eleven/N redirect to N+1 until N reaches 10 or 11.
  http.server().Get(R"(/(ten|eleven)/(\d+))",
                    [](const httplib::Request& req, httplib::Response& res) {
                      std::string chain = req.matches[1].str();
                      int n = std::stoi(req.matches[2].str());
                      if (n < (chain == "ten" ? 10 : 11)) {
                        res.set_redirect("/" + chain + "/" + std::to_string(n + 1), 302);
                      } else {
                        res.set_content("arrived", "text/plain");
                      }
                    });
  http.server().Get("/elsewhere", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("ftp://127.0.0.1/file.htm", 302);
  });
  CurlHttpClient curl;
  Fixture f;

  FetchOutcome got = f.fetch(curl, http.url("/dir"));
  ASSERT_EQ(got.end, End::kComplete) << got.error;
  EXPECT_EQ(got.http_status, 200);
  EXPECT_EQ(got.final_url, http.url("/dir/"));
  // Links resolve against the page that was served, not the URL asked for.
  EXPECT_EQ(page_context(got.final_url).link_base, http.url("/dir"));

  got = f.fetch(curl, http.url("/ten/0"));
  EXPECT_EQ(got.end, End::kComplete) << got.error;
  EXPECT_EQ(read_file(f.working_file()), "arrived");

  for (const char* path : {"/eleven/0", "/elsewhere"}) {
    got = f.fetch(curl, http.url(path));
    EXPECT_EQ(got.end, End::kFailed) << path;
    EXPECT_FALSE(path_exists(f.working_file())) << path;
  }
  EXPECT_EQ(f.open_url_messages(kNoUrlHandle), 2u);
}

TEST(PageFetcher, StoresHttpErrorPagesButDoesNotCallThemIndexable) {
  TestHttpServer http;
  http.server().Get("/missing", [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content("Error 404\n", "text/html");
  });
  CurlHttpClient curl;
  Fixture f;
  FetchOutcome got = f.fetch(curl, http.url("/missing"));
  EXPECT_EQ(got.end, End::kComplete);
  EXPECT_EQ(got.http_status, 404);
  EXPECT_TRUE(got.stored());
  EXPECT_FALSE(got.indexable());
  EXPECT_EQ(read_file(f.working_file()), "Error 404\r");
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(PageFetcher, SilentOrStallingServerEndsTheFetchAfterTheTimeout) {
  TestHttpServer http;
  http.server().Get("/silent", [&](const httplib::Request&, httplib::Response&) { http.stall(); });
  http.server().Get("/stalls", [&](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("application/octet-stream",
                                     [&](size_t offset, httplib::DataSink& sink) {
                                       if (offset == 0) {
                                         sink.write("first line\nsecond", 17);
                                       } else {
                                         http.stall();
                                         sink.done();
                                       }
                                       return true;
                                     });
  });
  CurlHttpClient curl;
  Fixture f;
  f.state.settings.access_timeout = 1;

  auto started = std::chrono::steady_clock::now();
  FetchOutcome got = f.fetch(curl, http.url("/silent"));
  // Generous bound: the point is that the fetch ends, not how fast.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  EXPECT_EQ(got.end, End::kFailed);
  EXPECT_FALSE(path_exists(f.working_file()));
  EXPECT_EQ(f.open_url_messages(kNoUrlHandle), 1u);

  started = std::chrono::steady_clock::now();
  got = f.fetch(curl, http.url("/stalls"));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  EXPECT_EQ(got.end, End::kCutOff);
  EXPECT_EQ(got.http_status, 200);
  EXPECT_FALSE(got.indexable());
  EXPECT_EQ(read_file(f.working_file()), "first line\rsecond");
}

TEST(PageFetcher, ConnectionDroppedMidBodyKeepsWhatArrived) {
  TestHttpServer http;
  http.server().Get("/drops", [](const httplib::Request&, httplib::Response& res) {
    res.set_content_provider(10000, "application/octet-stream",
                             [](size_t offset, size_t, httplib::DataSink& sink) {
                               if (offset > 0) return false;  // closes the connection
                               sink.write("kept\nalso kept\npart", 19);
                               return true;
                             });
  });
  CurlHttpClient curl;
  Fixture f;
  FetchOutcome got = f.fetch(curl, http.url("/drops"));
  EXPECT_EQ(got.end, End::kCutOff);
  EXPECT_FALSE(got.error.empty());
  EXPECT_EQ(read_file(f.working_file()), "kept\ralso kept\rpart");
  EXPECT_TRUE(f.ui.messages.empty());

  // The scripted transport drops the same way.
  ScriptedHttp scripted;
  scripted.answer("http://h/p", ScriptedHttp::page({"a\n", "b"}, 200, HttpResponse::End::kCutOff));
  got = f.fetch(scripted, "http://h/p");
  EXPECT_EQ(got.end, End::kCutOff);
  EXPECT_EQ(read_file(f.working_file()), "a\rb");
}

TEST(PageFetcher, FailedFetchAfterASuccessfulOneLeavesNoWorkingFile) {
  TestHttpServer http;
  http.server().Get("/page", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("page\n", "text/html");
  });
  const std::string refused = "http://127.0.0.1:" + std::to_string(unused_port()) + "/page";
  CurlHttpClient curl;
  // The message is shown unless mail_robot_mode is -1.
  for (int16_t mode : {0, 1, -1}) {
    Fixture f;
    f.state.settings.mail_robot_mode = mode;
    ASSERT_EQ(f.fetch(curl, http.url("/page")).end, End::kComplete);
    ASSERT_TRUE(path_exists(f.working_file()));
    FetchOutcome got = f.fetch(curl, refused);
    EXPECT_EQ(got.end, End::kFailed);
    EXPECT_EQ(got.http_status, 0);
    EXPECT_FALSE(got.error.empty());
    EXPECT_FALSE(path_exists(f.working_file())) << mode;
    ASSERT_EQ(f.ui.messages.size(), mode == -1 ? 0u : 1u) << mode;
    if (mode != -1) {
      EXPECT_EQ(f.ui.messages[0].icon, Icon::kExclamation);
    }
    EXPECT_EQ(f.open_url_messages(kNoUrlHandle), mode == -1 ? 0u : 1u);
  }
}

TEST(PageFetcher, FetchesOnlyHttpAndHttps) {
  ScriptedHttp http;
  http.answer("https://h/p", ScriptedHttp::page({"secure"}));
  Fixture f;
  EXPECT_EQ(f.fetch(http, "HTTPS://h/p").end, End::kFailed);  // not scripted, but requested
  EXPECT_EQ(f.fetch(http, "https://h/p").end, End::kComplete);
  for (const char* url : {"ftp://h/p", "mailto:a@h", "www.h.com/p", "file:///etc/hosts", ""}) {
    EXPECT_EQ(f.fetch(http, url).end, End::kFailed) << url;
    EXPECT_FALSE(path_exists(f.working_file())) << url;
  }
  EXPECT_EQ(http.requests.size(), 2u);
  EXPECT_EQ(f.open_url_messages(kNoUrlHandle), 6u);
}

TEST(PageFetcher, RequestCarriesTheTimeoutAndRedirectLimit) {
  ScriptedHttp http;
  Fixture f;
  f.state.settings.access_timeout = 7;
  f.fetch(http, "http://h/p");
  f.state.settings.access_timeout = 0;  // no bound at all is never used
  f.fetch(http, "http://h/p");
  ASSERT_EQ(http.requests.size(), 2u);
  EXPECT_EQ(http.requests[0].timeout_seconds, 7);
  EXPECT_EQ(http.requests[1].timeout_seconds, 50);
  EXPECT_EQ(http.requests[0].max_redirects, 10);
}

TEST(PageFetcher, BodyBeyondTheSizeLimitIsCutOff) {
  ScriptedHttp http;
  http.answer("http://h/big",
              ScriptedHttp::page({std::string(60, 'a'), std::string(60, 'b'), "never"}));
  http.answer("http://h/exact", ScriptedHttp::page({std::string(60, 'a'), std::string(40, 'b')}));
  FetchLimits limits;
  limits.max_page_bytes = 100;
  Fixture f;
  FetchOutcome got = f.fetch(http, "http://h/big", false, limits);
  EXPECT_EQ(got.end, End::kCutOff);
  EXPECT_NE(got.error.find("100 bytes"), std::string::npos) << got.error;
  EXPECT_EQ(read_file(f.working_file()), std::string(60, 'a') + std::string(40, 'b'));
  EXPECT_EQ(f.fetch(http, "http://h/exact", false, limits).end, End::kComplete);
}

// The sample site and random bodies in random pieces, fetched ahead: the
// working file's text does not depend on the pieces, the scan made of a page
// is the scan of its working file, and none is made of a page not indexed.
TEST(PageFetcher, APageScannedAheadIsScannedAsItsWorkingFile) {
  std::vector<std::string> bodies;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(TRAWLIX_DATA_DIR "/site")) {
    if (entry.is_regular_file()) bodies.push_back(read_file(entry.path()));
  }
  constexpr std::string_view kText =
      "<p><title>Caf\xE9 Caf\xC3\xA9\xE2\x82\xAC</title>\r\n<a href=\"x.htm\">&amp;&eacute;&#233;"
      "\n\r<!-- -->\r<script>x</script>  \t<img alt=\"a text\"><a href=y\r\n.htm><frame src=f>";
  std::mt19937 rng(1234);
  for (int k = 0; k < 200; ++k) {
    std::string body = rng() % 2 ? "\xEF\xBB\xBF" : "";  // read as UTF-8, or Windows-1252
    for (size_t n = rng() % 300; n > 0; --n) body += kText.substr(rng() % kText.size(), rng() % 24);
    bodies.push_back(body);
  }
  constexpr size_t kLimit = 3000;
  bodies.push_back(std::string(kLimit + 1, '\n'));
  auto url = [](size_t k) { return "http://h/p" + std::to_string(k) + ".htm"; };
  ScriptedHttp http;
  FetchAhead ahead(http, kLimit);
  Fixture f;
  std::vector<PlannedPage> plan;
  for (size_t k = 0; k < bodies.size(); ++k) {
    std::vector<std::string> pieces;  // one-byte pieces among them
    for (size_t at = 0; at < bodies[k].size(); at += pieces.back().size()) {
      pieces.push_back(bodies[k].substr(at, rng() % 4 ? 1 + rng() % 700 : 1));
    }
    std::string stored;  // the line-end rule wherever the pieces split the body
    WorkingFileText rule;
    for (const std::string& piece : pieces) rule.append(piece, stored);
    EXPECT_EQ(stored, working_file_text(bodies[k])) << "page " << k;
    auto end = rng() % 10 ? HttpResponse::End::kComplete : HttpResponse::End::kCutOff;
    http.answer(url(k), ScriptedHttp::page(pieces, rng() % 10 ? 200 : 404, end));
    ScanOptions options{rng() % 4 == 0, rng() % 4 != 0, rng() % 4 ? "" : "Given"};
    plan.push_back({PageFetcher(http, f.ui).request_for(url(k), {}), options});
  }
  ahead.plan(plan, 3);
  size_t compared = 0;
  for (size_t k = 0; k < bodies.size(); ++k) {
    FetchOutcome got = f.fetch(ahead, url(k), false, {kLimit});
    std::optional<ScannedAhead> scan = ahead.take_scan(plan[k].request.url);
    ASSERT_EQ(scan.has_value(), got.indexable()) << "page " << k;
    if (!scan) continue;
    EXPECT_EQ(read_file(f.working_file()), working_file_text(bodies[k])) << "page " << k;
    Scanner file;
    ASSERT_TRUE(file.open_document(f.working_file(), f.ui));
    EXPECT_EQ(scan->page, scan_page(file, *plan[k].scan)) << "page " << k;
    ++compared;
  }
  EXPECT_GT(compared, bodies.size() / 2);  // not the faults and the long ones
}

TEST(PageFetcher, TransportOrWorkingFileFailuresAreReported) {
  ScriptedHttp http;
  http.answer("http://h/nosession", ScriptedHttp::page({}, 0, HttpResponse::End::kNoSession));
  http.answer("http://h/p", ScriptedHttp::page({"page"}));
  Fixture f;
  f.state.settings.mail_robot_mode = -1;  // does not silence this one
  EXPECT_EQ(f.fetch(http, "http://h/nosession").end, End::kFailed);
  EXPECT_EQ(f.open_url_messages("Could not get InternetHandle\rError opening URL..."), 1u);

  // A working file that cannot be deleted would pass for the new page.
  std::filesystem::create_directories(f.working_file() + "/inside");
  EXPECT_EQ(f.fetch(http, "http://h/p").end, End::kFailed);
  EXPECT_EQ(http.requests.size(), 1u);
  ASSERT_EQ(f.ui.messages.size(), 2u);
  EXPECT_NE(f.ui.messages[1].text.find("Could not delete the working file"), std::string::npos);

  // A WorkSpace folder that is gone: the page cannot be written.
  Fixture gone;
  gone.workspace = gone.dir.file("removed");
  EXPECT_EQ(gone.fetch(http, "http://h/p").end, End::kFailed);
  ASSERT_EQ(gone.ui.messages.size(), 1u);
  EXPECT_NE(gone.ui.messages[0].text.find("Could not write the working file"), std::string::npos);
}

TEST(PageFetcher, ListsThePageWhenAsked) {
  ScriptedHttp http;
  std::string wide(600, 'w');
  http.answer("http://h/p",
              ScriptedHttp::page({"short\r\n", wide + "\n", std::string(499, 'y'), "\n\nlast"}));
  http.answer("http://h/wide", ScriptedHttp::page({wide + "\n" + std::string(500, 'v')}));
  http.answer("http://h/utf8", ScriptedHttp::page({"<meta charset=\"utf-8\">\ncaf\xC3\xA9"}));
  Fixture f;
  PageFetcher fetcher(http, f.ui);
  f.state.current.url = "http://h/p";
  fetcher.fetch_page(f.dir.path(), f.state, false);
  EXPECT_TRUE(f.ui.lines.empty());

  fetcher.fetch_page(f.dir.path(), f.state, true);
  ASSERT_EQ(f.ui.lines.size(), 5u);
  EXPECT_EQ(f.ui.lines[0], "short");
  EXPECT_EQ(f.ui.lines[1], std::string(500, 'w'));
  EXPECT_EQ(f.ui.lines[3], "");
  EXPECT_EQ(f.ui.lines[4], "last");
  // Lines of 500 characters and more do not widen the list.
  EXPECT_EQ(fetcher.list_extent(), 499);

  f.state.current.url = "http://h/wide";
  fetcher.fetch_page(f.dir.path(), f.state, true);
  EXPECT_EQ(f.ui.lines.size(), 2u);
  EXPECT_EQ(fetcher.list_extent(), 499);

  f.state.current.url = "http://h/utf8";
  fetcher.fetch_page(f.dir.path(), f.state, true);
  ASSERT_EQ(f.ui.lines.size(), 2u);
  EXPECT_EQ(f.ui.lines[1], "caf\xE9");
  // The working file keeps the bytes as received.
  EXPECT_EQ(read_file(f.working_file()), "<meta charset=\"utf-8\">\rcaf\xC3\xA9");
}

TEST(CliFetch, StoresAndPrintsThePage) {
  TestHttpServer http;
  http.server().Get("/page", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<p>caf\xC3\xA9</p>\r\nend", "text/html");
  });
  http.server().Get("/missing", [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content("gone", "text/html");
  });
  TempDir dir;
  auto run = [&](std::vector<std::string> words) {
    words.insert(words.begin(), {"trawlix-cli", "-w", dir.path()});
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    std::ostringstream out, err;
    int status = cli::run(static_cast<int>(argv.size()), argv.data(), out, err);
    return std::make_tuple(status, out.str(), err.str());
  };
  ASSERT_EQ(std::get<0>(run({"init"})), cli::kExitOk);

  auto [status, out, err] = run({"fetch", http.url("/page")});
  EXPECT_EQ(status, cli::kExitOk) << err;
  EXPECT_EQ(out, "<p>caf\xC3\xA9</p>\nend\n");
  EXPECT_EQ(read_file(dir.file("j_URL_t.txt")), "<p>caf\xC3\xA9</p>\rend");

  // The scheme may be left out, as in the Open URL dialog.
  std::string bare = http.url("/missing").substr(7);
  std::tie(status, out, err) = run({"fetch", bare});
  EXPECT_EQ(status, cli::kExitFailure);
  EXPECT_EQ(out, "gone\n");
  EXPECT_NE(err.find("HTTP status 404"), std::string::npos) << err;

  std::tie(status, out, err) = run({"fetch", "ftp://127.0.0.1/x"});
  EXPECT_EQ(status, cli::kExitFailure);
  EXPECT_NE(err.find("Could not get URL_Handle"), std::string::npos) << err;
  EXPECT_FALSE(path_exists(dir.file("j_URL_t.txt")));

  EXPECT_EQ(std::get<0>(run({"fetch"})), cli::kExitUsage);
}

}  // namespace
}  // namespace trawlix
