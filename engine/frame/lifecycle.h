// What happens when the library is loaded and unloaded. Loading sets up no
// engine state and opens no files (a host starts a session with inigks);
// unloading runs the exit handlers added during the run, last added first.
// Open files and tables are released only by the closing exports.
#pragma once

namespace cx {

using ExitHandler = void (*)();

// Registers a handler to run when the library is unloaded (or the process
// ends). Returns false when the handler table is full.
bool add_exit_handler(ExitHandler handler);

// Runs and forgets the registered handlers in reverse order of addition.
void run_exit_handlers();

}  // namespace cx
