// The delete command: a document and its occurrences, after the editor's
// question (answered by --yes, or on the terminal).
#include <ostream>

#include "cli/cli.h"
#include "cli/document_argument.h"

namespace trawlix::cli {

int cmd_delete(Context& ctx, const Arguments& args) {
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  DocumentEditor editor(*ws->db(), ctx.ui);
  std::optional<size_t> row = select_document(ctx, editor, args.positional[0]);
  if (!row) return kExitFailure;
  int32_t doc_id = editor.doc_id(*row);
  if (!editor.delete_selected()) {
    ctx.err << "Document " << doc_id << " was not deleted.\n";
    return kExitFailure;
  }
  ctx.err << "Document " << doc_id << " was deleted.\n";
  return kExitOk;
}

}  // namespace trawlix::cli
