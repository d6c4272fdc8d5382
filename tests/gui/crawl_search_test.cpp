// The crawl dialogs and the search form, driven from the main window's menu
// over a scripted site.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "crawler/ui/crawl_commands.h"
#include "gui_support.h"
#include "search/ui/search_commands.h"
#include "shell/run_lock.h"
#include "support/scripted_http.h"

namespace trawlix {
namespace {

using testing::child;
using testing::StartedWindow;

void click(QWidget* dialog, const char* button) {
  child<QPushButton>(dialog, button)->click();
}
void type(QWidget* dialog, const char* field, const QString& text) {
  child<QLineEdit>(dialog, field)->setText(text);
}

// A site whose fetches can look at the window while the crawl runs.
class WatchedHttp : public testing::ScriptedHttp {
 public:
  HttpResponse get(const HttpRequest& request, const BodySink& body) override {
    if (during) during();
    return ScriptedHttp::get(request, body);
  }
  std::function<void()> during;
};

struct CrawlWindow : StartedWindow {
  CrawlWindow() {
    install_crawl_commands(window, http);
    install_search_commands(window);
    window.refresh_commands();
    page("http://h/index.htm", "<title>Home</title><p>alpha <a href=\"a.htm\">a</a></p>");
    page("http://h/a.htm", "<p>alpha beta</p>");
  }
  void page(const std::string& url, const std::string& html) {
    testing::ScriptedHttp::Reply r;
    r.pieces = {html};
    http.answer(url, r);
  }
  int64_t count(const char* sql) { return window.workspace().db()->query_int(sql); }
  WatchedHttp http;
};

TEST(CrawlDialogs, AddStartingUrlsUntilDone) {
  CrawlWindow w;
  // First round: an empty URL is refused and the dialog stays; then a URL
  // without a scheme is added, and the dialog comes back for the next.
  testing::when_modal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "frmRobot");
    EXPECT_EQ(dialog->windowTitle(), "Add URL");
    EXPECT_EQ(child<QLineEdit>(dialog, "txtExploreDepth")->text(), "0");
    EXPECT_EQ(child<QComboBox>(dialog, "cmbParent")->currentText(), "(HOME PAGE)");
    click(dialog, "btnLoad");
    EXPECT_TRUE(dialog->isVisible());
    type(dialog, "txtURLname", "  h/index.htm ");
    type(dialog, "txtDescription", "Home page");
    type(dialog, "txtExploreDepth", "3");
    testing::when_modal([&](QWidget* again) {
      // The same URL once more: refused with a message, the dialog again.
      EXPECT_EQ(child<QComboBox>(again, "cmbParent")->count(), 2);
      type(again, "txtURLname", "HTTP://H/INDEX.HTM");
      testing::when_modal([&](QWidget* last) { click(last, "btnCancel"); });
      click(again, "btnLoad");
    });
    click(dialog, "btnLoad");
  });
  w.trigger("mnuURLCrawler");
  ASSERT_EQ(w.recorder.messages.size(), 2u);
  EXPECT_EQ(w.recorder.messages[0].text, "Please type an URL to load/index");
  EXPECT_EQ(w.recorder.messages[1].text, "That URL is already loaded into the system");
  EXPECT_EQ(w.count("select count(*) from Docs where URLDocument = 'http://h/index.htm' and "
                    "URLLevel = 1 and nMaxDepth = 3 and URLDescription = 'Home page'"),
            1);
  EXPECT_EQ(w.count("select count(*) from Docs"), 1);
}

TEST(CrawlDialogs, StartCrawlRunsWithStopShownAndOnlySearchEnabled) {
  CrawlWindow w;
  EXPECT_TRUE(w.window.workspace().db()->exec(
      "insert into Docs (URLDocument, URLLevel, nMaxDepth, bCrawlAbove, URLParent, nStatus, "
      "bIndexed) values ('http://h/index.htm', 1, 0, 0, 0, 0, 0)"));
  bool stop_shown = false, search_enabled = false, add_disabled = false;
  QStringList status;  // the status bar as each fetch begins
  w.http.during = [&] {
    status << child<QLabel>(&w.window, "lblStatus")->text();
    stop_shown = !child<QPushButton>(&w.window, "btnStop")->isHidden();
    search_enabled = w.window.entry(QStringLiteral("mnuSearch"))->isEnabled();
    add_disabled = !w.window.entry(QStringLiteral("mnuURLCrawler"))->isEnabled();
  };
  testing::when_modal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "frmStartRobot");
    EXPECT_EQ(dialog->windowTitle(), "Start Crawl");
    EXPECT_EQ(child<QCheckBox>(dialog, "chkUnknown")->text(), "Index unknown HTML  tag contents");
    EXPECT_EQ(child<QLineEdit>(dialog, "txtTimeout")->text(), "50");
    child<QButtonGroup>(dialog, "optReindex")->button(0)->setChecked(true);
    click(dialog, "btnStart");
  });
  w.trigger("mnuResumeCrawler");
  EXPECT_TRUE(stop_shown);
  EXPECT_TRUE(search_enabled);
  EXPECT_TRUE(add_disabled);
  EXPECT_TRUE(child<QPushButton>(&w.window, "btnStop")->isHidden());
  EXPECT_EQ(w.window.state().settings.reindex_mode, 0);
  EXPECT_EQ(w.count("select count(*) from Docs where nStatus = 1"), 2);
  EXPECT_TRUE(w.window.entry(QStringLiteral("mnuURLCrawler"))->isEnabled());
  // The counts of the crawl while it runs; the WorkSpace's at rest.
  QString rest = QString::fromStdString(w.window.workspace().dir()) + ": %1 documents, %2 words";
  ASSERT_EQ(status.size(), 2);
  EXPECT_EQ(status[0], rest.arg(0).arg(0));  // the row was typed in behind its back
  EXPECT_TRUE(status[1].startsWith("1 processed, 1 waiting, 0 failed, "))
      << status[1].toStdString();
  EXPECT_EQ(child<QLabel>(&w.window, "lblStatus")->text(), rest.arg(2).arg(3));
}

TEST(CrawlDialogs, StopEndsTheCrawlAfterTheCurrentDocument) {
  CrawlWindow w;
  EXPECT_TRUE(w.window.workspace().db()->exec(
      "insert into Docs (URLDocument, URLLevel, nMaxDepth, bCrawlAbove, URLParent, nStatus, "
      "bIndexed) values ('http://h/index.htm', 1, 0, 0, 0, 0, 0)"));
  w.http.during = [&] { child<QPushButton>(&w.window, "btnStop")->click(); };
  testing::when_modal([&](QWidget* dialog) { click(dialog, "btnStart"); });
  w.trigger("mnuReindexURL");
  EXPECT_EQ(w.count("select count(*) from Docs where nStatus = 1"), 1);
  EXPECT_EQ(w.count("select count(*) from Docs where nStatus = 0"), 1);
  EXPECT_EQ(w.http.requests.size(), 1u);
}

TEST(CrawlDialogs, ACrawlRefusedByABusyWorkSpaceSaysSoAndTheWindowStaysUsable) {
  CrawlWindow w;
  ASSERT_TRUE(w.window.workspace().db()->exec(
      "insert into Docs (URLDocument, URLLevel, nMaxDepth, bCrawlAbove, URLParent, nStatus, "
      "bIndexed) values ('http://h/index.htm', 1, 0, 0, 0, 0, 0)"));
  RunLock::Result result;
  std::string holder;
  auto other = RunLock::take(w.window.workspace().dir(), "a crawl", &result, &holder);
  ASSERT_EQ(result, RunLock::Result::kTaken) << holder;
  testing::when_modal([&](QWidget* dialog) { click(dialog, "btnStart"); });
  w.trigger("mnuResumeCrawler");
  ASSERT_EQ(w.recorder.messages.size(), 1u);
  EXPECT_EQ(w.recorder.messages[0].title, "WorkSpace busy:");
  EXPECT_TRUE(w.http.requests.empty());
  EXPECT_TRUE(child<QPushButton>(&w.window, "btnStop")->isHidden());
  for (const char* entry : {"mnuURLCrawler", "mnuResumeCrawler", "mnuReindexURL", "mnuAddURL"}) {
    EXPECT_TRUE(w.window.entry(QLatin1String(entry))->isEnabled()) << entry;
  }
  // Once the other run has ended, the same command crawls.
  other.reset();
  testing::when_modal([&](QWidget* dialog) { click(dialog, "btnStart"); });
  w.trigger("mnuResumeCrawler");
  EXPECT_EQ(w.count("select count(*) from Docs where nStatus = 1"), 2);
}

TEST(CrawlDialogs, ARunOutOfMemoryEndsWithAMessageAndTheWindowStaysUsable) {
  CrawlWindow w;
  w.window.set_command(QStringLiteral("mnuStatistics"),
                       [&w] { w.window.run_long({}, [] { throw std::bad_alloc(); }); });
  w.trigger("mnuStatistics");
  ASSERT_EQ(w.recorder.messages.size(), 1u);
  EXPECT_EQ(w.recorder.messages[0].title, "Out of memory:");
  EXPECT_TRUE(w.window.entry(QStringLiteral("mnuURLCrawler"))->isEnabled());
  EXPECT_TRUE(w.window.entry(QStringLiteral("mnuStatistics"))->isEnabled());
}

TEST(SearchForm, FindsListsAndKeepsItsHistory) {
  CrawlWindow w;
  EXPECT_TRUE(w.window.workspace().db()->exec(
      "insert into Docs (URLDocument, URLLevel, nMaxDepth, bCrawlAbove, URLParent, nStatus, "
      "bIndexed) values ('http://h/index.htm', 1, 0, 0, 0, 0, 0)"));
  testing::when_modal([&](QWidget* dialog) { click(dialog, "btnStart"); });
  w.trigger("mnuResumeCrawler");
  std::vector<std::string> opened;
  w.window.ui().set_browser_hook([&](const std::string& what) {
    opened.push_back(what);
    return true;
  });
  testing::when_modal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "frmSearch");
    auto* query = child<QComboBox>(dialog, "txtSearch");
    auto* results = child<QListWidget>(dialog, "lstResults");
    EXPECT_EQ(child<QComboBox>(dialog, "cmbSearchType")->currentText(), "All Words");
    query->setEditText(QStringLiteral("alpha"));
    click(dialog, "btnSearch");
    ASSERT_EQ(results->count(), 2);
    EXPECT_EQ(results->item(0)->text(), "http://h/index.htm : Home");
    EXPECT_EQ(results->item(1)->data(Qt::UserRole).toInt(), 2);
    click(dialog, "btnSearch");
    EXPECT_EQ(query->count(), 1);  // one history entry for the same query
    query->setEditText(QStringLiteral("beta"));
    click(dialog, "btnSearch");
    EXPECT_EQ(query->count(), 2);
    ASSERT_EQ(results->count(), 1);
    emit results->itemDoubleClicked(results->item(0));
    dialog->close();
  });
  w.trigger("mnuSearch");
  ASSERT_EQ(opened.size(), 4u);
  EXPECT_NE(opened[0].find("results.html"), std::string::npos);
  EXPECT_EQ(opened[3], "http://h/a.htm");
}

}  // namespace
}  // namespace trawlix
