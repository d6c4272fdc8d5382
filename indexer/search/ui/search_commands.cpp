// Connecting the search command.
#include "search/ui/search_commands.h"

#include "search/ui/search_dialog.h"
#include "shell/ui/main_window.h"

namespace trawlix {

void install_search_commands(MainWindow& window) {
  MainWindow* w = &window;
  w->set_command(QStringLiteral("mnuSearch"),
                 [w] {
                   SearchDialog dialog(w->workspace(), w->ui(), w);
                   dialog.exec();
                 },
                 {.needs_database = true, .allowed_while_running = true});
}

}  // namespace trawlix
