// Start-up of the main window, and the rules for commands while a long
// run is in progress or no database is open.
#include <QAction>
#include <QElapsedTimer>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>

#include "base/paths.h"
#include "gui_support.h"
#include "shell/ui/directory_chooser.h"
#include "shell/ui/open_workspace_dialog.h"
#include "support/scripted_ui.h"

namespace trawlix {
namespace {

using testing::StartedWindow;

std::map<std::string, bool> enabled_items(MainWindow& w) {
  std::map<std::string, bool> out;
  for (QAction* a : w.menuBar()->findChildren<QAction*>()) {
    if (!a->isSeparator() && !a->menu()) out[a->objectName().toStdString()] = a->isEnabled();
  }
  return out;
}

// Lets events run until `done` or a time limit; false on the limit.
bool run_events_until(const std::function<bool()>& done, int limit_ms = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limit_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

TEST(StartUp, AnEmptyFolderGetsAnEmptyDatabaseWithoutAMessage) {
  StartedWindow started;
  EXPECT_TRUE(started.recorder.messages.empty());
  EXPECT_TRUE(path_exists(started.home.file("lexmine.mdb")));
  ASSERT_NE(started.window.workspace().db(), nullptr);
  EXPECT_EQ(started.window.workspace().db()->query_int("select count(*) from Docs", {}, -1), 0);
  EXPECT_EQ(started.window.workspace().dir(), started.home.path());
  EXPECT_TRUE(started.window.entry("mnuReinit")->isEnabled());
  EXPECT_EQ(started.window.state().settings.reindex_mode, 1);
  EXPECT_EQ(started.window.state().settings.time_between_access, 5000);
  EXPECT_EQ(started.window.state().settings.access_timeout, 50);
}

TEST(StartUp, WithoutADatabaseItsCommandsWaitForAWorkspace) {
  testing::TempDir home;
  std::ofstream(home.file("lexmine.mdb")) << "not a database";
  testing::TempDir other;
  {
    testing::ScriptedUi ui;
    Workspace maker(ui);
    ASSERT_TRUE(maker.start_up(other.path()));
  }
  MainWindow w;
  testing::MessageRecorder recorder(w.ui());
  install_shell_commands(w);
  int runs = 0;
  w.set_command("mnuStatistics", [&] { ++runs; });
  start_application(w, {home.path(), 0, false});

  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].title, "Error opening lexmine database:");
  EXPECT_EQ(recorder.messages[0].icon, Icon::kCritical);
  EXPECT_EQ(recorder.messages[0].text.rfind(
                "Your system seems to have problems with Microsoft DAO...\r", 0),
            0u);
  EXPECT_EQ(w.workspace().db(), nullptr);
  EXPECT_FALSE(w.entry("mnuReinit")->isEnabled());
  EXPECT_FALSE(w.entry("mnuStatistics")->isEnabled());
  w.entry("mnuStatistics")->trigger();
  EXPECT_EQ(runs, 0);
  EXPECT_TRUE(w.entry("mnuOpenWorkSpace")->isEnabled());
  EXPECT_TRUE(w.entry("mnuCreateWorkspace")->isEnabled());

  testing::when_modal([&](QWidget* modal) {
    auto* dialog = qobject_cast<OpenWorkspaceDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->chooser().set_directory(QString::fromStdString(other.path()));
    testing::child<QPushButton>(dialog, "btnAccept")->click();
  });
  w.entry("mnuOpenWorkSpace")->trigger();
  ASSERT_NE(w.workspace().db(), nullptr);
  EXPECT_TRUE(w.entry("mnuReinit")->isEnabled());
  ASSERT_TRUE(w.entry("mnuStatistics")->isEnabled());
  w.entry("mnuStatistics")->trigger();
  EXPECT_EQ(runs, 1);
}

class LongRun : public ::testing::Test {
 protected:
  void SetUp() override {
    w.set_command("mnuSearch", [] {}, {.allowed_while_running = true});
    w.set_command("mnuResumeCrawler", [this] {
      w.run_long({.show_stop = true}, [this] {
        while (w.state().keep_running && iterations < 100000) {
          if (iterations++ == 0) {
            during = enabled_items(w);
            stop_visible_during = !stop()->isHidden();
            if (in_loop) in_loop();
          }
          w.ui().process_events();
        }
      });
    });
  }
  QPushButton* stop() { return w.findChild<QPushButton*>("btnStop"); }

  StartedWindow started;
  MainWindow& w = started.window;
  int iterations = 0;
  std::map<std::string, bool> during;
  bool stop_visible_during = false;
  std::function<void()> in_loop;
};

TEST_F(LongRun, OnlySearchQuitAndStopWorkWhileItRuns) {
  std::map<std::string, bool> before = enabled_items(w);
  in_loop = [this] { QTimer::singleShot(20, stop(), &QPushButton::click); };
  started.trigger("mnuResumeCrawler");

  EXPECT_TRUE(stop_visible_during);
  for (const auto& [name, enabled] : during) {
    EXPECT_EQ(enabled, name == "mnuSearch" || name == "mnuQuit") << name;
  }
  EXPECT_LT(iterations, 100000) << "the Stop button did not end the loop";
  EXPECT_FALSE(w.running());
  EXPECT_TRUE(stop()->isHidden());
  EXPECT_EQ(enabled_items(w), before);
}

TEST_F(LongRun, QuitStopsTheLoopAndThenCloses) {
  w.show();
  bool visible_after_quit = false;
  in_loop = [&] {
    w.entry("mnuQuit")->trigger();
    visible_after_quit = w.isVisible();
  };
  started.trigger("mnuResumeCrawler");
  EXPECT_TRUE(visible_after_quit) << "the window closed under the running loop";
  EXPECT_LT(iterations, 100000);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(LongRun, ClosingTheWindowWaitsForTheLoop) {
  w.show();
  bool closed_during = true;
  in_loop = [&] { closed_during = w.close(); };
  started.trigger("mnuResumeCrawler");
  EXPECT_FALSE(closed_during);
  EXPECT_FALSE(w.state().keep_running);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(LongRun, ASecondRunIsRefusedAndAWebIndexRunHasNoStop) {
  bool nested_ran = false;
  bool nested_started = true;
  bool stop_visible = true;
  w.set_command("mnuRegenerate", [&] {
    w.run_long({}, [&] {
      stop_visible = !stop()->isHidden();
      nested_started = w.run_long({}, [&] { nested_ran = true; });
    });
  });
  started.trigger("mnuRegenerate");
  EXPECT_FALSE(stop_visible);
  EXPECT_FALSE(nested_started);
  EXPECT_FALSE(nested_ran);
  EXPECT_FALSE(w.running());
  EXPECT_TRUE(w.entry("mnuRegenerate")->isEnabled());
}

TEST(MainWindowPicture, SavesAPngOfTheWindow) {
  StartedWindow started;
  MainWindow& w = started.window;
  w.resize(720, 440);
  w.show();
  ASSERT_TRUE(run_events_until([&] { return w.isVisible(); }));
  QImage image = w.grab().toImage();
  std::string path = std::string(TRAWLIX_BUILD_DIR) + "/main-window.png";
  ASSERT_TRUE(image.save(QString::fromStdString(path)));
  QImage back(QString::fromStdString(path));
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(back.size(), w.size());
  // Something is drawn: the menu bar's text differs from its background.
  QRgb first = back.pixel(2, 2);
  bool varied = false;
  for (int x = 0; x < back.width() && !varied; ++x) {
    for (int y = 0; y < 24 && !varied; ++y) varied = back.pixel(x, y) != first;
  }
  EXPECT_TRUE(varied);
}

}  // namespace
}  // namespace trawlix
