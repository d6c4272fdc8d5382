// The Crawl menu's commands on the main window.
#pragma once

namespace trawlix {

class HttpClient;
class MainWindow;

// Connects "Add starting URL's", "Start exploration", "Resume exploration
// process", "Explore individual URL" and "Open URL" to the crawler, which
// fetches through `http` (owned by the caller, alive as long as `window`).
void install_crawl_commands(MainWindow& window, HttpClient& http);

}  // namespace trawlix
