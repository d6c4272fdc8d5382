// The command line front end: its commands, their context and the exit
// statuses scripts rely on.
#pragma once

#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/terminal_ui.h"
#include "shell/workspace.h"

namespace trawlix::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNothingFound = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFailure = 3;
inline constexpr int kExitStopped = 130;

// The arguments of one command: flags, options with a value, positionals.
struct Arguments {
  std::set<std::string> flags;
  std::map<std::string, std::string> options;
  std::vector<std::string> positional;

  bool has(const std::string& flag) const { return flags.count(flag) != 0; }
  std::optional<std::string> option(const std::string& name) const;
};

struct Context {
  std::string workspace_dir;  // from --workspace, or the current directory
  TerminalUi& ui;
  std::ostream& out;
  std::ostream& err;
};

struct Command {
  const char* name;
  const char* usage;                 // "search WORD... [--any] [--partial]"
  const char* summary;               // one line for the command list
  std::vector<std::string> flags;    // e.g. "--yes"
  std::vector<std::string> options;  // e.g. "--depth" (take a value)
  int min_positional;
  int max_positional;  // -1: any number
  int (*run)(Context& ctx, const Arguments& args);
};

// Every command, in the order `--help` lists them.
const std::vector<Command>& commands();

// Parses argv as the whole program does; returns the exit status.
int run(int argc, char** argv, std::ostream& out, std::ostream& err);

// Opens the WorkSpace the command works on; reports and returns null when
// the directory holds none.
std::unique_ptr<Workspace> open_workspace(Context& ctx);

// The command implementations, each in a file of its own.
int cmd_init(Context& ctx, const Arguments& args);
int cmd_info(Context& ctx, const Arguments& args);
int cmd_reinit(Context& ctx, const Arguments& args);
int cmd_tokens(Context& ctx, const Arguments& args);
int cmd_fetch(Context& ctx, const Arguments& args);
int cmd_search(Context& ctx, const Arguments& args);
int cmd_add_url(Context& ctx, const Arguments& args);
int cmd_crawl(Context& ctx, const Arguments& args);
int cmd_explore(Context& ctx, const Arguments& args);
int cmd_webindex(Context& ctx, const Arguments& args);
int cmd_list(Context& ctx, const Arguments& args);
int cmd_stats(Context& ctx, const Arguments& args);
int cmd_edit(Context& ctx, const Arguments& args);
int cmd_delete(Context& ctx, const Arguments& args);
int cmd_survey(Context& ctx, const Arguments& args);

}  // namespace trawlix::cli
