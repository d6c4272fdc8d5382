// The menu bar of the main window: every entry with its object name,
// caption and visibility.
#pragma once

class QMenuBar;

namespace trawlix {

// Fills `bar` with the program's menus. Each menu is a QMenu and each item a
// QAction, both named after the entry ("mnuFile", "mnuOpenWorkSpace");
// separators are QActions named "mnuLine…". Every item starts disabled:
// an item is enabled once a command is connected to it.
void build_main_menu(QMenuBar* bar);

}  // namespace trawlix
