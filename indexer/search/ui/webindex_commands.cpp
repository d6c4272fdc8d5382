// Connecting the web index command.
#include "search/ui/webindex_commands.h"

#include "search/engine_byte_order.h"
#include "search/search_page.h"
#include "search/web_index.h"
#include "shell/ui/main_window.h"

namespace trawlix {

void install_webindex_commands(MainWindow& window, EngineByteOrder& byte_order) {
  MainWindow* w = &window;
  EngineByteOrder* order = &byte_order;
  w->set_command(QStringLiteral("mnuRegenerate"), [w, order] {
    if (!confirm_web_index(w->ui())) return;
    w->run_long({}, [w, order] {
      WebIndexReport report =
          generate_web_index(*w->workspace().db(), w->ui(), *order, w->workspace().dir(),
                             [w] { return !w->state().keep_running; });
      if (report.status == WebIndexReport::Status::kWritten) {
        copy_search_page(w->ui(), w->workspace().dir());
      }
    });
  });
}

void install_webindex_commands(MainWindow& window) {
  install_webindex_commands(window, engine_byte_order());
}

}  // namespace trawlix
