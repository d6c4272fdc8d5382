// The commands of cartex. Each takes its arguments after the command name
// and returns the exit status: 0 done, 2 bad usage, 3 failure.
#pragma once

#include <string>
#include <vector>

#include "base.h"
#include "engine.h"

namespace cartex {

using Args = std::vector<std::string>;

int cmd_new(const Engine& engine, const Args& args);
int cmd_info(const Engine& engine, const Args& args);
int cmd_render(const Engine& engine, const Args& args);
int cmd_import(const Engine& engine, const Args& args);
int cmd_export(const Engine& engine, const Args& args);
int cmd_verify(const Engine& engine, const Args& args);

// Prints a usage error and returns 2.
int usage_error(const std::string& command, const std::string& text);
// A progress count on standard error ("arcs 120/4000"), redrawn in place on
// a terminal and printed once at the end otherwise.
Progress progress_printer();

}  // namespace cartex
