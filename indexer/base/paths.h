// File-system helpers of the indexer: joining WorkSpace paths, the
// program's own directory, and the system's error texts.
#pragma once

#include <string>
#include <string_view>

namespace trawlix {

// `dir` + "/" + `name`. A `dir` that already ends with a slash gives a
// doubled slash, which the file system reads as one.
std::string join_path(std::string_view dir, std::string_view name);

bool path_exists(const std::string& path);
bool is_directory(const std::string& path);
// True when the directory can be listed, entered and written.
bool directory_accessible(const std::string& path, std::string* error);

// The directory of the running executable, without a trailing slash.
std::string program_directory();

// The system's text for the current errno.
std::string system_error_text();

}  // namespace trawlix
