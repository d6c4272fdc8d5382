// The edit command: a document's description, level and parent, changed
// through the document table editor.
#include <ostream>

#include "base/cp1252.h"
#include "cli/cli.h"
#include "cli/document_argument.h"
#include "search/document_editor.h"

namespace trawlix::cli {

int cmd_edit(Context& ctx, const Arguments& args) {
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  DocumentEditor editor(*ws->db(), ctx.ui);
  std::optional<size_t> row = select_document(ctx, editor, args.positional[0]);
  if (!row) return kExitFailure;

  if (auto description = args.option("--description")) {
    editor.edit_description(utf8_to_cp1252(*description));
  }
  if (auto level = args.option("--level")) {
    std::optional<int64_t> value = whole_number(*level);
    if (!value) {
      ctx.err << "trawlix-cli edit: --level must be a whole number, not '" << *level << "'\n";
      return kExitUsage;
    }
    editor.edit_level(std::to_string(*value));
  }
  if (auto parent = args.option("--parent")) {
    int32_t parent_id = 0;
    if (!read_doc_id(ctx, "--parent", *parent, &parent_id)) return kExitUsage;
    if (parent_id != 0 && !editor.row_of(parent_id)) {
      ctx.err << "trawlix-cli edit: there is no document " << parent_id << " to be the parent\n";
      return kExitUsage;
    }
    editor.pick_parent(parent_id);
  }
  switch (editor.save()) {
    case DocumentEditor::SaveResult::kSaved:
      break;
    case DocumentEditor::SaveResult::kInvalid:
      return kExitUsage;
    case DocumentEditor::SaveResult::kFailed:
      return kExitFailure;
  }
  size_t i = *row;
  ctx.out << "DocID: " << editor.doc_id(i) << "\n"
          << "URL: " << terminal_field(editor.url(i)) << "\n"
          << "Description: " << terminal_field(editor.edit_descriptions()[i]) << "\n"
          << "Level: " << editor.edit_levels()[i] << "\n"
          << "Parent: " << editor.edit_parents()[i] << "\n";
  return kExitOk;
}

}  // namespace trawlix::cli
