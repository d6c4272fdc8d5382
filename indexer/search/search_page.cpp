// Copying the search page next to the web index files.
#include "search/search_page.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/paths.h"

namespace trawlix {
namespace {

constexpr const char kTitle[] = "Web index:";
constexpr const char kTemporarySuffix[] = ".part";

}  // namespace

const std::vector<std::string>& search_page_files() {
  static const std::vector<std::string> kFiles = {"search.html", "search.js", "search.css"};
  return kFiles;
}

std::string search_page_directory() {
  const char* dir = std::getenv("TRAWLIX_WEB_DIR");
  if (dir != nullptr && *dir != '\0') return dir;
  return join_path(program_directory(), TRAWLIX_WEB_RELATIVE);
}

bool copy_search_page(UserInterface& ui, const std::string& dir, const std::string& from) {
  const std::string kept = "\rThe web index files are written; the search page was not copied.";
  for (const std::string& name : search_page_files()) {
    std::string source = join_path(from, name);
    std::ifstream in(source, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in.is_open() || in.bad()) {
      ui.show_message(
          kTitle,
          "The search page file " + source + " could not be read: " + system_error_text() + kept,
          Icon::kExclamation);
      return false;
    }
    std::string target = join_path(dir, name);
    std::string temporary = target + kTemporarySuffix;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << bytes.str();
    out.close();
    if (!out || std::rename(temporary.c_str(), target.c_str()) != 0) {
      std::string error = system_error_text();
      std::remove(temporary.c_str());
      ui.show_message(kTitle, "Unable to write the file " + target + ": " + error + kept,
                      Icon::kExclamation);
      return false;
    }
  }
  return true;
}

}  // namespace trawlix
