// The search page of the web index: a static HTML page, its script and its
// style sheet, which the web index command copies next to the files it
// writes so that the published folder can be searched in a browser.
#pragma once

#include <string>
#include <vector>

#include "shell/user_interface.h"

namespace trawlix {

// The page's files, in the order they are copied.
const std::vector<std::string>& search_page_files();

// Where the page's files are taken from: $TRAWLIX_WEB_DIR when set, else
// the folder the build and the installation put beside the program.
std::string search_page_directory();

// Copies the page's files from `from` into `dir`, each through a temporary
// file, so that a copy that fails leaves the earlier page in place. False,
// reported through `ui`, when a file is missing or cannot be written.
bool copy_search_page(UserInterface& ui, const std::string& dir,
                      const std::string& from = search_page_directory());

}  // namespace trawlix
