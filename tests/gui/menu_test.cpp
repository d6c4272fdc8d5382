// The main window's menus and controls as the program starts.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

#include "gui_support.h"

namespace trawlix {
namespace {

using testing::StartedWindow;

struct Item {
  const char* name;
  const char* caption;
  bool shown;
};
struct Menu {
  const char* name;
  const char* title;
  std::vector<Item> items;
};

const std::vector<Menu> kExpected = {
    {"mnuFile",
     "&File",
     {{"mnuOpenWorkSpace", "&Open Index Workspace", true},
      {"mnuCreateWorkspace", "&Create Index Workspace", true},
      {"mnuReinit", "&Initialize Index Workspace", true},
      {"mnuLine10", "-", true},
      {"mnuSetupPrinter", "Setup Printer", true},
      {"mnuPrintDocuments", "Print Document List", true},
      {"mnuLine8", "-", false},
      {"mnuLine3", "-", true},
      {"mnuQuit", "&Quit", true}}},
    {"mnuExplore",
     "Crawl ",
     {{"mnuOpenURL", "Open &URL...", false},
      {"mnuURLCrawler", "&Add starting URL's", true},
      {"mnuReindexURL", "&Start exploration", true},
      {"mnuResumeCrawler", "&Resume exploration process", true},
      {"mnuAddURL", "&Explore individual URL", true},
      {"mnuMailRobot", "Mail Robot", false}}},
    {"mnuEdit",
     "&Edit",
     {{"mnuEditDocuments", "Edit &Document table", true},
      {"mnuEditWords", "Edit &Word table", false},
      {"mnuLine2", "-", true},
      {"mnuSearch", "&Search", true},
      {"mnuLine9", "-", false},
      {"mnuOptions", "&Options", false}}},
    {"mnuProcess",
     "&Process",
     {{"mnuRegenerate", "&Generate Web Index", true},
      {"mnuUpload", "&Upload Web Index to site", false},
      {"mnuStatistics", "&Statistics", true}}},
    {"mnuHelp",
     "&Help",
     {{"mnuContents", "&Contents", true},
      {"mnuSearchHelp", "&Search help for", true},
      {"mnuLine1", "-", true},
      {"mnuAbout", "&About Trawlix", true}}},
};

TEST(MainMenu, EveryEntryInOrderWithItsCaptionAndVisibility) {
  StartedWindow started;
  QList<QAction*> bar = started.window.menuBar()->actions();
  ASSERT_EQ(bar.size(), static_cast<qsizetype>(kExpected.size()));
  for (size_t m = 0; m < kExpected.size(); ++m) {
    QMenu* menu = bar[static_cast<qsizetype>(m)]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName().toStdString(), kExpected[m].name);
    EXPECT_EQ(menu->title().toStdString(), kExpected[m].title);
    QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(kExpected[m].items.size())) << kExpected[m].name;
    for (size_t k = 0; k < kExpected[m].items.size(); ++k) {
      const Item& want = kExpected[m].items[k];
      QAction* got = items[static_cast<qsizetype>(k)];
      EXPECT_EQ(got->objectName().toStdString(), want.name);
      if (std::string(want.caption) == "-") {
        EXPECT_TRUE(got->isSeparator()) << want.name;
      } else {
        EXPECT_FALSE(got->isSeparator()) << want.name;
        EXPECT_EQ(got->text().toStdString(), want.caption);
      }
      EXPECT_EQ(got->isVisible(), want.shown) << want.name;
    }
  }
}

TEST(MainMenu, MailRobotIsShownExactlyWithANonZeroNumber) {
  struct Case {
    QStringList arguments;
    int16_t mode;
  };
  const Case cases[] = {{{}, 0},     {{"3"}, 3},   {{"abc"}, 0},  {{"0"}, 0},
                        {{" 7"}, 7}, {{"-2"}, -2}, {{"12x"}, 12}, {{"x12"}, 0}};
  for (const Case& c : cases) {
    QStringList arguments = QStringList{QStringLiteral("trawlix")} + c.arguments;
    StartOptions options = start_options(arguments);
    EXPECT_EQ(options.mail_robot_mode, c.mode) << c.arguments.join(' ').toStdString();
    StartedWindow started(options.mail_robot_mode);
    EXPECT_EQ(started.window.state().settings.mail_robot_mode, c.mode);
    EXPECT_EQ(started.window.entry("mnuMailRobot")->isVisible(), c.mode != 0)
        << c.arguments.join(' ').toStdString();
  }
}

TEST(MainMenu, OnlyCommandsThatExistAreEnabled) {
  StartedWindow started;
  for (const char* name : {"mnuOpenWorkSpace", "mnuCreateWorkspace", "mnuReinit", "mnuSetupPrinter",
                           "mnuQuit", "mnuContents", "mnuSearchHelp", "mnuAbout"}) {
    EXPECT_TRUE(started.window.entry(name)->isEnabled()) << name;
  }
  // Connected by other parts of the program; with only the shell they stay off.
  for (const char* name :
       {"mnuPrintDocuments", "mnuURLCrawler", "mnuReindexURL", "mnuResumeCrawler", "mnuAddURL",
        "mnuEditDocuments", "mnuSearch", "mnuRegenerate", "mnuStatistics"}) {
    EXPECT_FALSE(started.window.entry(name)->isEnabled()) << name;
  }
  // Triggering a disabled item runs nothing.
  started.window.entry("mnuSearch")->trigger();
  EXPECT_TRUE(started.recorder.messages.empty());
}

TEST(MainWindowControls, StartWithTheirCaptionsAndStopHidden) {
  StartedWindow started;
  MainWindow& w = started.window;
  EXPECT_EQ(w.objectName(), "frmLexmineMain");
  EXPECT_EQ(w.windowTitle(), "Lexmine index generator");
  auto* stop = testing::child<QPushButton>(&w, "btnStop");
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(stop->text(), "Stop !!");
  EXPECT_TRUE(stop->isHidden());
  EXPECT_NE(testing::child<QListWidget>(&w, "lstDocuments"), nullptr);
  EXPECT_NE(testing::child<QLabel>(&w, "lblExternal"), nullptr);
  EXPECT_NE(testing::child<QLabel>(&w, "lblLetter"), nullptr);
  EXPECT_NE(testing::child<QProgressBar>(&w, "pbGeneralProgress"), nullptr);
  EXPECT_NE(testing::child<QProgressBar>(&w, "pgIndexProgress"), nullptr);
}

}  // namespace
}  // namespace trawlix
