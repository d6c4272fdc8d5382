// Start-up of the desktop program.
#include "app/application_start.h"

#include <QAction>
#include <QCoreApplication>

#include "base/paths.h"
#include "shell/indexer_state.h"
#include "shell/startup.h"
#include "shell/ui/main_window.h"
#include "shell/ui/splash_form.h"

namespace trawlix {

StartOptions start_options(const QStringList& arguments) {
  StartOptions options;
  options.workspace_dir = startup_workspace_dir(program_directory());
  QStringList words = arguments.mid(1);
  options.mail_robot_mode = numeric_argument(words.join(QLatin1Char(' ')).toStdString());
  return options;
}

void start_application(MainWindow& window, const StartOptions& options) {
  SplashForm splash(nullptr, SplashForm::Use::kStartUp);
  if (options.show_splash) {
    splash.show();
    QCoreApplication::processEvents();
  }
  splash.close();

  IndexerState& state = window.state();
  state.settings = CrawlSettings{};
  state.settings.mail_robot_mode = options.mail_robot_mode;
  if (QAction* robot = window.entry(QStringLiteral("mnuMailRobot"))) {
    robot->setVisible(options.mail_robot_mode != 0);
  }

  // A WorkSpace that cannot be opened has been reported; the commands that
  // need a database stay disabled until one is opened.
  (void)window.workspace().start_up(options.workspace_dir);
  window.refresh_commands();
  window.show_rest_status();
}

}  // namespace trawlix
