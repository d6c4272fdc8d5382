// Choosing the WorkSpace of the desktop program's start-up.
#include "shell/startup.h"

#include <cstdlib>
#include <filesystem>

#include "base/paths.h"

namespace trawlix {

std::string user_data_directory() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home && data_home[0] == '/') return join_path(data_home, "trawlix");
  const char* home = std::getenv("HOME");
  std::string base = home && home[0] ? home : "/tmp";
  return join_path(join_path(base, ".local/share"), "trawlix");
}

std::string startup_workspace_dir(const std::string& program_dir) {
  if (!program_dir.empty() && directory_accessible(program_dir, nullptr)) return program_dir;
  std::string dir = user_data_directory();
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return dir;
}

}  // namespace trawlix
