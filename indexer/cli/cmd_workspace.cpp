// The WorkSpace commands: init, info, reinit.
#include <filesystem>
#include <ostream>

#include "base/paths.h"
#include "cli/cli.h"

namespace trawlix::cli {

int cmd_init(Context& ctx, const Arguments&) {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::absolute(ctx.workspace_dir, ec);
  if (!ec) std::filesystem::create_directories(dir, ec);
  if (ec) {
    ctx.ui.show_message("Creation error:",
                        "ERROR:  unable to create directory. Check the name you typed is valid.\r"
                        "System returned message: " +
                            ec.message(),
                        Icon::kCritical);
    return kExitFailure;
  }
  Workspace ws(ctx.ui);
  if (!ws.start_up(dir.lexically_normal().string())) return kExitFailure;
  ctx.out << ws.dir() << "\n";
  return kExitOk;
}

int cmd_info(Context& ctx, const Arguments&) {
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  Database& db = *ws->db();
  ctx.out << "workspace: " << ws->dir() << "\n"
          << "documents: " << db.query_int("select count(*) from Docs") << "\n"
          << "waiting: " << db.query_int("select count(*) from Docs where nStatus = 0") << "\n"
          << "words: " << db.query_int("select count(*) from Words") << "\n"
          << "occurrences: " << db.query_int("select sum(Occurrences) from WordsDocs") << "\n";
  return kExitOk;
}

int cmd_reinit(Context& ctx, const Arguments& args) {
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  std::optional<Answer> first, second;
  if (args.has("--yes")) {
    first = Answer::kYes;
    second = Answer::kNo;
  }
  if (args.has("--all")) second = Answer::kYes;
  ctx.ui.set_yes_to_all(false);
  ctx.ui.preset_answers({first, second});
  if (!ws->reinitialize()) {
    ctx.err << "The index was not re-initialised.\n";
    return kExitFailure;
  }
  ctx.err << (second == Answer::kYes ? "The index and the document list were emptied.\n"
                                     : "The index was re-initialised.\n");
  return kExitOk;
}

}  // namespace trawlix::cli
