// Where the desktop program finds its WorkSpace when it starts.
#pragma once

#include <string>

namespace trawlix {

// The user's data folder for the program: $XDG_DATA_HOME/trawlix, or
// ~/.local/share/trawlix when XDG_DATA_HOME is not set.
std::string user_data_directory();

// The WorkSpace the program starts in: its own directory when it can write
// there, otherwise (an installed program) user_data_directory(), which is
// created when missing. When it cannot be created it is still returned:
// opening the WorkSpace then fails and says why.
std::string startup_workspace_dir(const std::string& program_dir);

}  // namespace trawlix
