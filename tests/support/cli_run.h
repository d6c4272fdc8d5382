// The command line run in the test's own process: its exit status and
// what it wrote to standard output and standard error.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace trawlix::testing {

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

inline CliResult run_cli(std::vector<std::string> words) {
  words.insert(words.begin(), "trawlix-cli");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  std::ostringstream out, err;
  int status = cli::run(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

}  // namespace trawlix::testing
