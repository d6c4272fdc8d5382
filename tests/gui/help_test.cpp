// The manual: its topics, the help window and the Help menu.
#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <fstream>

#include "gui_support.h"
#include "shell/ui/help_window.h"

namespace trawlix {
namespace {

using testing::child;

QString caption_key(QString caption) {
  return caption.remove('&').trimmed();
}

HelpWindow* help_of(MainWindow& w) {
  return w.findChild<HelpWindow*>("frmHelp");
}

QUrl shown_source(HelpWindow* help) {
  return child<QTextBrowser>(help, "brwHelp")->source();
}

TEST(Manual, IsInstalledBesideTheProgramAndHasATopicForEveryCommand) {
  std::vector<HelpTopic> topics = read_help_topics(help_directory());
  ASSERT_FALSE(topics.empty()) << help_directory().toStdString();
  EXPECT_EQ(QFileInfo(topics[0].file).fileName(), "index.html");
  EXPECT_EQ(topics[0].title, "Contents");

  testing::StartedWindow started(1);  // with Mail Robot shown
  int checked = 0;
  for (QAction* top : started.window.menuBar()->actions()) {
    for (QAction* item : top->menu()->actions()) {
      if (item->isSeparator() || !item->isVisible()) continue;
      int k = find_help_topic(topics, item->text());
      ASSERT_GE(k, 0) << "no topic for " << item->text().toStdString();
      EXPECT_EQ(topics[static_cast<size_t>(k)].title, caption_key(item->text()));
      ++checked;
    }
  }
  EXPECT_EQ(checked, 18);
}

TEST(Manual, KeywordsMatchTitlesThenIdsThenBeginnings) {
  std::vector<HelpTopic> topics = {{"Contents", "/m/index.html", "contents"},
                                   {"Open Index Workspace", "/m/file.html", "open-workspace"},
                                   {"Search", "/m/edit.html", "search"},
                                   {"Search help for", "/m/help.html", "search-help"}};
  EXPECT_EQ(find_help_topic(topics, "contents"), 0);
  EXPECT_EQ(find_help_topic(topics, "&Open Index Workspace"), 1);
  EXPECT_EQ(find_help_topic(topics, "open-workspace"), 1);
  EXPECT_EQ(find_help_topic(topics, "&Search"), 2);
  EXPECT_EQ(find_help_topic(topics, "Search help"), 3);
  EXPECT_EQ(find_help_topic(topics, "Open"), 1);
  EXPECT_EQ(find_help_topic(topics, "Nothing like it"), -1);
  EXPECT_EQ(find_help_topic(topics, ""), -1);
}

TEST(HelpMenu, ContentsOpensTheManualAtItsContents) {
  testing::StartedWindow started;
  started.trigger("mnuContents");
  HelpWindow* help = help_of(started.window);
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(QFileInfo(shown_source(help).toLocalFile()).fileName(), "index.html");
  EXPECT_TRUE(child<QTextBrowser>(help, "brwHelp")->toPlainText().contains("Menu commands"));

  started.window.show_help("Open Index Workspace");
  EXPECT_EQ(QFileInfo(shown_source(help).toLocalFile()).fileName(), "file.html");
  EXPECT_EQ(shown_source(help).fragment(), "open-workspace");
  // The last section of its page: the browser scrolls to it.
  started.window.show_help("Quit");
  EXPECT_EQ(shown_source(help).fragment(), "quit");
  EXPECT_GT(child<QTextBrowser>(help, "brwHelp")->verticalScrollBar()->value(), 0);
  started.window.show_help("No such topic");
  EXPECT_EQ(QFileInfo(shown_source(help).toLocalFile()).fileName(), "index.html");
  // One help window, reused.
  started.trigger("mnuContents");
  EXPECT_EQ(started.window.findChildren<HelpWindow*>().size(), 1);
}

TEST(HelpMenu, SearchHelpFindsTitlesFirstThenPages) {
  testing::StartedWindow started;
  started.trigger("mnuSearchHelp");
  HelpWindow* help = help_of(started.window);
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  auto* field = child<QLineEdit>(help, "txtHelpSearch");
  auto* list = child<QListWidget>(help, "lstHelpTopics");
  int all = list->count();
  EXPECT_GT(all, 20);

  QTest::keyClicks(field, "workspace");
  ASSERT_GT(list->count(), 3);
  EXPECT_LT(list->count(), all);
  EXPECT_TRUE(list->item(0)->text().contains("workspace", Qt::CaseInsensitive));
  // Titles first: once a title lacks the word, no later one has it.
  bool in_titles = true;
  for (int k = 0; k < list->count(); ++k) {
    bool has = list->item(k)->text().contains("workspace", Qt::CaseInsensitive);
    EXPECT_FALSE(has && !in_titles) << list->item(k)->text().toStdString();
    in_titles = in_titles && has;
  }
  EXPECT_FALSE(in_titles) << "pages that mention the word are listed too";

  field->clear();
  QTest::keyClicks(field, "sqlite3");
  ASSERT_GE(list->count(), 1);
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_TRUE(child<QTextBrowser>(help, "brwHelp")->toPlainText().contains("sqlite3"));

  field->clear();
  QTest::keyClicks(field, "zzqx nothing");
  EXPECT_EQ(list->count(), 0);
}

TEST(HelpWindow, SaysSoWhenTheManualIsMissing) {
  testing::TempDir empty;
  HelpWindow help(QString::fromStdString(empty.path()));
  help.show_topic("Contents");
  EXPECT_TRUE(child<QTextBrowser>(&help, "brwHelp")->toPlainText().contains("manual is missing"));
  help.close();
}

TEST(HelpWindow, TheManualFolderCanBeNamedInTheEnvironment) {
  testing::TempDir dir;
  std::ofstream(dir.file("index.html"))
      << "<h1 id=\"contents\">Contents</h1><h2 id=\"x\">Extra</h2>";
  qputenv("TRAWLIX_HELP_DIR", QByteArray::fromStdString(dir.path()));
  QString found = help_directory();
  qunsetenv("TRAWLIX_HELP_DIR");
  EXPECT_EQ(found.toStdString(), dir.path());
  std::vector<HelpTopic> topics = read_help_topics(found);
  ASSERT_EQ(topics.size(), 2u);
  EXPECT_EQ(topics[1].title, "Extra");
  EXPECT_EQ(topics[1].id, "x");
}

}  // namespace
}  // namespace trawlix
