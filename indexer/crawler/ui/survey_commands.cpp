// Connecting the Mail Robot command.
#include "crawler/ui/survey_commands.h"

#include "crawler/link_survey.h"
#include "shell/ui/main_window.h"

namespace trawlix {

void install_survey_commands(MainWindow& window, HttpClient& http) {
  MainWindow* w = &window;
  HttpClient* h = &http;
  w->set_command(QStringLiteral("mnuMailRobot"), [w, h] {
    w->run_long({.show_stop = true},
                [w, h] { survey_external_links(w->workspace(), w->state(), w->ui(), *h); });
  });
}

}  // namespace trawlix
