// trawlix-cli: the indexer's commands without the desktop.
#include <iostream>

#include "cli/cli.h"
#include "cli/terminal_ui.h"

int main(int argc, char** argv) {
  trawlix::install_interrupt_handler();
  return trawlix::cli::run(argc, argv, std::cout, std::cerr);
}
