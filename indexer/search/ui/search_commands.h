// The Search command of the main window.
#pragma once

namespace trawlix {

class MainWindow;

// Connects "Search"; it stays available while a crawl runs, since the
// search has a tokenizer and statements of its own.
void install_search_commands(MainWindow& window);

}  // namespace trawlix
