// Every menu command of the main window, as each subsystem connects it.
#pragma once

namespace trawlix {

class HttpClient;
class MainWindow;

// Connects the commands of every subsystem; the crawler fetches through
// `http`, which must outlive `window`.
void install_all_commands(MainWindow& window, HttpClient& http);

}  // namespace trawlix
