// POSIX file-system helpers.
#include "base/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace trawlix {

std::string join_path(std::string_view dir, std::string_view name) {
  std::string out(dir);
  out += '/';
  out += name;
  return out;
}

bool path_exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool is_directory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool directory_accessible(const std::string& path, std::string* error) {
  if (!is_directory(path)) {
    if (error) *error = path_exists(path) ? "Not a directory" : system_error_text();
    return false;
  }
  if (::access(path.c_str(), R_OK | W_OK | X_OK) != 0) {
    if (error) *error = system_error_text();
    return false;
  }
  return true;
}

std::string program_directory() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

std::string system_error_text() {
  return std::strerror(errno);
}

}  // namespace trawlix
