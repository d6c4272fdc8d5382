// frmLexmineMain, the indexer's main window. It owns the program's state
// (crawl settings, the current WorkSpace, the listing printer), shows the
// document list, labels, progress bars and the Stop button, and routes
// each menu entry to the command connected to it.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "shell/indexer_state.h"
#include "shell/ui/qt_user_interface.h"
#include "shell/workspace.h"

class QAction;
class QLabel;
class QListWidget;
class QPrinter;
class QProgressBar;
class QPushButton;

namespace trawlix {

class HelpWindow;

inline constexpr const char kInitialCaption[] = "Lexmine index generator";

// How a menu command behaves under the enabling rules.
struct CommandOptions {
  // Disabled while no WorkSpace database is open.
  bool needs_database = true;
  // Stays enabled while a long run (crawl, survey, web index) is in
  // progress. Only Search and Quit are.
  bool allowed_while_running = false;
};

struct RunOptions {
  bool show_stop = false;  // btnStop is shown during the run (crawl, survey)
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  IndexerState& state() { return state_; }
  Workspace& workspace() { return workspace_; }
  QtUserInterface& ui() { return ui_; }
  // The printer the document listing prints on, as Setup Printer left it.
  QPrinter& printer();

  // The menu item named `name` ("mnuSearch"), or null.
  QAction* entry(const QString& name) const;

  using CommandOptions = trawlix::CommandOptions;
  // Connects menu item `name` to `command` (replacing any earlier one) and
  // enables it as far as `options` allow. Items with no command stay
  // disabled.
  void set_command(const QString& name, std::function<void()> command, CommandOptions options = {});

  using RunOptions = trawlix::RunOptions;
  // Runs a long loop inside a menu command: sets state().keep_running,
  // disables every menu command not allowed while running, shows btnStop
  // when asked, runs `loop`, then restores all of it. The loop lets
  // events run through ui().process_events() and ends when keep_running
  // is cleared. When Quit was chosen during the run, the window closes once
  // the loop has returned. Returns false, without running `loop`, when
  // another run is in progress.
  bool run_long(const RunOptions& options, const std::function<void()>& loop);
  bool running() const { return running_; }

  // Quit: during a long run, first stops it; then closes the window.
  void quit();

  // After a WorkSpace was opened or created: the caption becomes
  // `prefix` + the WorkSpace directory + ")" and the commands that need a
  // database are enabled.
  void workspace_changed(const QString& prefix);

  // The status bar: `text` (the counts of a running crawl or survey) while
  // a run goes on; at rest, the WorkSpace's folder and its numbers of
  // documents and words.
  void show_progress(const QString& text);
  void show_rest_status();

  // Re-applies the enabling rules to every menu item.
  void refresh_commands();

  // The manual at the topic for `keyword`, or with its search field.
  void show_help(const QString& keyword);
  void show_help_search();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Command {
    std::function<void()> run;
    CommandOptions options;
  };
  void build_controls();
  void trigger(const QString& name);
  void run_guarded(const std::function<void()>& work);
  HelpWindow& help_window();

  IndexerState state_;
  QtUserInterface ui_;
  Workspace workspace_{ui_};
  std::unique_ptr<QPrinter> printer_;
  QString pdf_default_;
  std::map<QString, Command> commands_;
  bool running_ = false;
  bool quit_requested_ = false;

  QListWidget* documents_ = nullptr;
  QPushButton* stop_ = nullptr;
  QLabel* status_ = nullptr;
  QPointer<HelpWindow> help_;
};

}  // namespace trawlix
