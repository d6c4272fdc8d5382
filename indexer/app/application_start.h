// The desktop program's start-up: the steps that run before the main
// window is shown, in the program's order.
#pragma once

#include <QStringList>
#include <cstdint>
#include <string>

namespace trawlix {

class MainWindow;

struct StartOptions {
  std::string workspace_dir;    // the WorkSpace to open, or create when it has none
  int16_t mail_robot_mode = 0;  // the command line's number
  bool show_splash = true;
};

// Options from the program's arguments (without Qt's own): the numeric
// value of the command line (0 when it is not a number), and the program's
// folder as WorkSpace, or the user's data folder when the program's folder
// is not writable.
StartOptions start_options(const QStringList& arguments);

// Shows the splash, applies the Mail Robot mode, sets the crawl settings
// to their start values and opens (or creates) the WorkSpace database.
// Without a database the program goes on with the commands that need one
// disabled.
void start_application(MainWindow& window, const StartOptions& options);

}  // namespace trawlix
