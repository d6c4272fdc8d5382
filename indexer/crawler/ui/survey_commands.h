// The Mail Robot command on the main window.
#pragma once

namespace trawlix {

class HttpClient;
class MainWindow;

// Connects "Mail Robot" (shown only in mail robot mode) to the external
// link survey, run as a long run with Stop; pages are fetched through
// `http`, which must outlive `window`.
void install_survey_commands(MainWindow& window, HttpClient& http);

}  // namespace trawlix
