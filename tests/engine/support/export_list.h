// The names of engine/exports.txt: the first word of every line that is not
// blank or a comment.
#pragma once

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace cx::testing {

inline std::set<std::string> listed_exports(const char* path = CARTEX32_EXPORT_LIST) {
  std::ifstream in(path);
  std::set<std::string> names;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name;
    if (words >> name && name[0] != '#') names.insert(name);
  }
  return names;
}

}  // namespace cx::testing
