// trawlix: the indexer's desktop program.
#include <QApplication>
#include <QIcon>

#include "app/all_commands.h"
#include "app/application_start.h"
#include "crawler/curl_http_client.h"
#include "shell/ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("trawlix"));
  QApplication::setApplicationVersion(QStringLiteral(TRAWLIX_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("trawlix"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/trawlix/trawlix.png")));

  trawlix::CurlHttpClient http;
  trawlix::MainWindow window;
  trawlix::install_all_commands(window, http);
  trawlix::start_application(window, trawlix::start_options(QApplication::arguments()));
  window.show();
  return app.exec();
}
