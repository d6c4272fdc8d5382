// Parsing the command line and dispatching to the commands.
#include "cli/cli.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace trawlix::cli {
namespace {

void print_usage(std::ostream& out) {
  out << "usage: trawlix-cli [--workspace DIR] COMMAND [ARGS]\n\n"
         "Indexes the text of web sites into a WorkSpace and searches it.\n"
         "Without --workspace (-w) the current directory is the WorkSpace.\n\n"
         "commands:\n";
  for (const Command& c : commands()) {
    std::string name = c.name;
    name.resize(std::max<size_t>(name.size() + 2, 10), ' ');
    out << "  " << name << c.summary << "\n";
  }
  out << "\nRun 'trawlix-cli COMMAND --help' for a command's options.\n"
         "Exit status: 0 done, 1 nothing found, 2 bad usage, 3 failure, 130 stopped.\n";
}

void print_command_usage(const Command& c, std::ostream& out) {
  out << "usage: trawlix-cli [--workspace DIR] " << c.usage << "\n\n" << c.summary << "\n";
}

bool contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// Returns an error text, or empty on success.
std::string parse(const Command& c, const std::vector<std::string>& words, Arguments* args) {
  for (size_t k = 0; k < words.size(); ++k) {
    const std::string& w = words[k];
    if (w == "--") {
      args->positional.insert(args->positional.end(), words.begin() + static_cast<long>(k) + 1,
                              words.end());
      break;
    }
    if (w.size() > 2 && w.starts_with("--")) {
      std::string name = w;
      std::optional<std::string> value;
      if (size_t eq = w.find('='); eq != std::string::npos) {
        name = w.substr(0, eq);
        value = w.substr(eq + 1);
      }
      if (contains(c.flags, name) && !value) {
        args->flags.insert(name);
      } else if (contains(c.options, name)) {
        if (!value) {
          if (k + 1 >= words.size()) return "option " + name + " needs a value";
          value = words[++k];
        }
        args->options[name] = *value;
      } else {
        return "unknown option " + w;
      }
      continue;
    }
    args->positional.push_back(w);
  }
  int n = static_cast<int>(args->positional.size());
  if (n < c.min_positional) return "missing argument";
  if (c.max_positional >= 0 && n > c.max_positional) return "too many arguments";
  return std::string();
}

}  // namespace

std::optional<std::string> Arguments::option(const std::string& name) const {
  auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

const std::vector<Command>& commands() {
  // clang-format off
  static const std::vector<Command> kCommands = {
      {"init", "init", "Create the WorkSpace folder and its database when missing; print the path.",
       {}, {}, 0, 0, cmd_init},
      {"info", "info", "Print the counts of documents, words and occurrences.",
       {}, {}, 0, 0, cmd_info},
      {"reinit", "reinit [--all] [--yes]",
       "Re-initialise the index: empty the word tables. --all also empties the document list;\n"
       "--yes confirms without asking.",
       {"--all", "--yes"}, {}, 0, 0, cmd_reinit},
      {"tokens", "tokens FILE",
       "Print the token stream of a page file, one 'token<TAB>token_text' a line.",
       {}, {}, 1, 1, cmd_tokens},
      {"fetch", "fetch URL",
       "Fetch a page into the WorkSpace's working file j_URL_t.txt and print it, as the\n"
       "crawler receives it (\"Open URL\"). Exit status 3 when the page could not be fetched\n"
       "whole or is an HTTP error page (what arrived is still stored and printed).",
       {}, {}, 1, 1, cmd_fetch},
      {"add-url",
       "add-url URL [--description T] [--depth N] [--level N] [--parent DOCID] [--crawl-above]",
       "Add a start URL: a document waiting to be crawled, stored at level N + 1 (default\n"
       "--level 0: level 1), below the document DOCID (default 0: the home page). Prints its\n"
       "DocID. --depth counts levels, not links: the start page is level 1 and its links\n"
       "level 2, so --depth N reaches pages N-1 links away (default 0: no limit); --depth 3\n"
       "crawls what 'wget -r -l 2' fetches. --crawl-above follows links above the folder.",
       {"--crawl-above"}, {"--description", "--depth", "--level", "--parent"}, 1, 1, cmd_add_url},
      {"crawl",
       "crawl [--restart] [--reindex never|always|ask] [--cycle] [--timeout SECONDS]\n"
       "      [--connections N] [--respect-robots]",
       "Crawl the waiting documents level by level (\"Resume exploration process\"); --restart\n"
       "first puts every document back to waiting (\"Start exploration\"). --reindex decides\n"
       "whether pages indexed before are indexed again (default always); --cycle keeps\n"
       "crawling until Ctrl-C; --timeout is how long a page may stall (default 50).\n"
       "--connections fetches up to N pages at once (default 4, 1 to 32; the pages are indexed\n"
       "one by one in order all the same); --respect-robots leaves waiting the pages each\n"
       "host's robots.txt refuses. One line per document processed; on a terminal, a running\n"
       "line on standard error shows the pages processed, waiting and failed and the pages per\n"
       "second.",
       {"--restart", "--cycle", "--respect-robots"}, {"--reindex", "--timeout", "--connections"},
       0, 0, cmd_crawl},
      {"explore",
       "explore URL [--description T] [--depth N] [--level N] [--parent DOCID] [--crawl-above]",
       "Fetch, show and index one URL (\"Explore individual URL\"); it becomes a document of\n"
       "its own, made as add-url makes it (the same options and defaults), and its links wait\n"
       "one level deeper.",
       {"--crawl-above"}, {"--description", "--depth", "--level", "--parent"}, 1, 1, cmd_explore},
      {"search",
       "search WORD... [--any] [--partial] [--order score|docid] [--limit N] [--json] [--open]",
       "Search the index: the documents holding all the words (--any: any of them), one\n"
       "'DocID<TAB>URL<TAB>description' a line, best first: by the occurrences of the words\n"
       "in the document, summed, then by DocID (--order docid: by DocID alone; default\n"
       "score). --limit N prints the first N (default 0: all); the count found goes to\n"
       "standard error. --json prints one object a line (docid, url, description, score).\n"
       "--partial lets a word match every word that begins with it. Writes results.html\n"
       "in the WorkSpace, in DocID order; --open opens it in the browser.",
       {"--any", "--partial", "--open", "--json"}, {"--order", "--limit"}, 1, -1, cmd_search},
      {"webindex", "webindex [--yes]",
       "Generate the web index files in the WorkSpace: ftsdocs.jpg, and ftsindex*.jpg and\n"
       "ftscross*.jpg for each initial; prints the words and records of each group. --yes\n"
       "confirms without asking.",
       {"--yes"}, {}, 0, 0, cmd_webindex},
      {"list", "list [--pdf FILE]",
       "Print the document listing: a heading, then 'DocID  URL' for each document. --pdf\n"
       "prints it to a PDF file instead. Exit status 1 when there are no documents.",
       {}, {"--pdf"}, 0, 0, cmd_list},
      {"stats", "stats",
       "Print the four statistics: documents, documents indexed before, documents indexed\n"
       "in this crawl, words.",
       {}, {}, 0, 0, cmd_stats},
      {"edit", "edit DOCID [--description T] [--level N] [--parent DOCID]",
       "Change a document's description, crawl level or parent (0: the home page) and print\n"
       "the document; without options only print it.",
       {}, {"--description", "--level", "--parent"}, 1, 1, cmd_edit},
      {"delete", "delete DOCID [--yes]",
       "Delete a document and its word occurrences, after a question; --yes confirms\n"
       "without asking.",
       {"--yes"}, {}, 1, 1, cmd_delete},
      {"survey", "survey",
       "Survey the external links a crawl in mail robot mode recorded (\"Mail Robot\"): fetch\n"
       "each link not surveyed before and print 'row<TAB>flags<TAB>URL[<TAB>mail addresses]',\n"
       "the flags being search, frames and error. Ctrl-C stops it after the current link;\n"
       "the next survey goes on from there. Exit status 1 when nothing was left to survey.",
       {}, {}, 0, 0, cmd_survey},
  };
  // clang-format on
  return kCommands;
}

std::unique_ptr<Workspace> open_workspace(Context& ctx) {
  auto ws = std::make_unique<Workspace>(ctx.ui);
  if (ws->open_existing(ctx.workspace_dir) != Workspace::OpenResult::kOpened) return nullptr;
  return ws;
}

int run(int argc, char** argv, std::ostream& out, std::ostream& err) {
  std::vector<std::string> words(argv + 1, argv + argc);
  std::string workspace;
  size_t k = 0;
  for (; k < words.size(); ++k) {
    const std::string& w = words[k];
    if (w == "-w" || w == "--workspace") {
      if (k + 1 >= words.size()) {
        err << "trawlix-cli: " << w << " needs a directory\n";
        return kExitUsage;
      }
      workspace = words[++k];
    } else if (w.starts_with("--workspace=")) {
      workspace = w.substr(12);
    } else if (w == "-h" || w == "--help") {
      print_usage(out);
      return kExitOk;
    } else if (w == "--version") {
      out << "trawlix-cli " << TRAWLIX_VERSION << "\n";
      return kExitOk;
    } else {
      break;
    }
  }
  if (k >= words.size()) {
    print_usage(err);
    return kExitUsage;
  }
  const std::string& name = words[k];
  auto it = std::find_if(commands().begin(), commands().end(),
                         [&](const Command& c) { return name == c.name; });
  if (it == commands().end()) {
    err << "trawlix-cli: unknown command '" << name << "'\n";
    print_usage(err);
    return kExitUsage;
  }
  std::vector<std::string> rest(words.begin() + static_cast<long>(k) + 1, words.end());
  if (contains(rest, "--help") || contains(rest, "-h")) {
    print_command_usage(*it, out);
    return kExitOk;
  }
  Arguments args;
  if (std::string error = parse(*it, rest, &args); !error.empty()) {
    err << "trawlix-cli " << it->name << ": " << error << "\n";
    print_command_usage(*it, err);
    return kExitUsage;
  }
  if (workspace.empty()) {
    std::error_code ec;
    workspace = std::filesystem::current_path(ec).string();
  }
  TerminalUi ui(out, err);
  ui.set_yes_to_all(args.has("--yes"));
  Context ctx{workspace, ui, out, err};
  return it->run(ctx, args);
}

}  // namespace trawlix::cli
