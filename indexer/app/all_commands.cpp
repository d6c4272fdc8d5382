// The subsystems' menu commands, in one place for the program and its tests.
#include "app/all_commands.h"

#include "crawler/ui/crawl_commands.h"
#include "crawler/ui/survey_commands.h"
#include "search/ui/document_commands.h"
#include "search/ui/search_commands.h"
#include "search/ui/webindex_commands.h"
#include "shell/ui/shell_commands.h"

namespace trawlix {

void install_all_commands(MainWindow& window, HttpClient& http) {
  install_shell_commands(window);
  install_crawl_commands(window, http);
  install_search_commands(window);
  install_webindex_commands(window);
  install_document_commands(window);
  install_survey_commands(window, http);
}

}  // namespace trawlix
