// trawlix: the indexer's desktop program.
#include <QApplication>
#include <QIcon>

#include "shell/ui/application_start.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_commands.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("trawlix"));
  QApplication::setApplicationVersion(QStringLiteral(TRAWLIX_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("trawlix"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/trawlix/trawlix.png")));

  trawlix::MainWindow window;
  // Each subsystem connects its menu commands here.
  trawlix::install_shell_commands(window);
  trawlix::start_application(window, trawlix::start_options(QApplication::arguments()));
  window.show();
  return app.exec();
}
