// cartex run as a program by the tests: its exit status and what it wrote
// to its standard output and error, kept in files of the test's folder.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace cx::testing {

struct CartexOutcome {
  int status;
  std::string out, err;
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline CartexOutcome run_cartex(const std::string& dir, const std::string& args) {
  const std::string out = dir + "/stdout.txt", err = dir + "/stderr.txt";
  const int raw =
      std::system((std::string(CARTEX_PATH) + " " + args + " >" + out + " 2>" + err).c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
}

}  // namespace cx::testing
