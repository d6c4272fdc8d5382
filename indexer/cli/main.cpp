// trawlix-cli: the indexer's commands without the desktop.
#include <exception>
#include <iostream>
#include <new>

#include "cli/cli.h"
#include "cli/terminal_ui.h"

int main(int argc, char** argv) {
  trawlix::install_interrupt_handler();
  // Whatever was written is already in the database's transactions: a
  // failure that ends the program leaves the WorkSpace as it was.
  try {
    return trawlix::cli::run(argc, argv, std::cout, std::cerr);
  } catch (const std::bad_alloc&) {
    std::cerr << "trawlix-cli: out of memory\n";
  } catch (const std::exception& e) {
    std::cerr << "trawlix-cli: " << e.what() << "\n";
  }
  return trawlix::cli::kExitFailure;
}
