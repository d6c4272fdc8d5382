// The commands of the main window that the shell itself owns: the
// WorkSpace dialogs, re-initialising the index, printer set-up, help,
// About and Quit.
#pragma once

namespace trawlix {

class MainWindow;

inline constexpr const char kOpenedCaption[] = "Lexmine indexer (";
inline constexpr const char kCreatedCaption[] = "Lexmine Indexer (";

void install_shell_commands(MainWindow& window);

}  // namespace trawlix
