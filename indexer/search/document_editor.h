// The document table editor: a working copy of every Docs row's
// description, crawl level and parent, edited row by row and written back
// in one transaction, and the deletion of a document. The form frmEditDocuments
// (and the edit and delete commands) show and drive it; nothing reaches
// the table before save(), except a deletion, which is written at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/database.h"
#include "shell/user_interface.h"

namespace trawlix {

inline constexpr const char kHomePageEntry[] = "(HOME PAGE)";

// One entry of the parent list: "(HOME PAGE)" (DocID 0), then each document.
struct ParentEntry {
  std::string caption;
  int32_t doc_id = 0;
};

// The number a typed level begins with, after blanks: an optional sign,
// digits and a decimal part, rounded to the nearest integer ("12abc" is 12,
// "2.5" is 3); 0 when it begins with none. Kept within 32 bits; save()
// checks the column's 16-bit range.
int32_t leading_number(const std::string& text);

class DocumentEditor {
 public:
  DocumentEditor(Database& db, UserInterface& ui) : db_(db), ui_(ui) {}

  // Fills the working copy from Docs, in DocID order, and selects the first
  // row when there is one. Unsaved edits are dropped. On a database error
  // reports it, leaves the copy empty and returns false.
  bool load_form();

  size_t count() const { return rows_.size(); }
  int32_t doc_id(size_t i) const { return rows_[i].doc_id; }
  const std::string& url(size_t i) const { return rows_[i].url; }
  // The row of a DocID, if the table had it at the last load.
  std::optional<size_t> row_of(int32_t doc_id) const;

  // The working copy. A null description reads as empty.
  const std::vector<std::string>& edit_descriptions() const { return edit_descriptions_; }
  const std::vector<int32_t>& edit_levels() const { return edit_levels_; }
  const std::vector<int32_t>& edit_parents() const { return edit_parents_; }

  // "(HOME PAGE)" and one entry per document, in the order of the rows.
  const std::vector<ParentEntry>& parent_entries() const { return parents_; }
  // The entry of parent_entries() showing the selected row's parent: the
  // one with its DocID, or none when that document is not in the table.
  std::optional<size_t> parent_entry() const;

  // The selected row; none while the table is empty.
  std::optional<size_t> selected() const { return selected_; }
  void select(size_t i);

  // Edits of the selected row (ignored while none is selected). A value is
  // written back by save() only once it was edited; until then the row
  // keeps what it holds, null included.
  void edit_description(const std::string& text);
  void edit_level(const std::string& typed);
  void pick_parent(int32_t doc_id);
  // Enter in the description: the next row, unless the last is selected.
  void next_row();

  enum class SaveResult { kSaved, kInvalid, kFailed };
  // Writes the edited descriptions, levels and parents, each row by its
  // DocID, in one transaction; values nobody edited are left as the table
  // holds them. The edited values are checked first: a description longer
  // than 100 characters or a level outside -32768..32767 is reported, its
  // row selected and nothing written (kInvalid). A database error is
  // reported and rolls everything back (kFailed). The working copy stays
  // as it is either way.
  SaveResult save();

  // The question asked before deleting the selected row.
  std::string delete_question() const;
  // Asks, then deletes the selected document and its occurrences, reloads,
  // and selects the row that took its place (the first when it was the
  // last). Unsaved edits of the other rows are kept. Returns true when the
  // document and all its occurrences were deleted.
  bool delete_selected();

 private:
  struct Row {
    int32_t doc_id = 0;
    std::string url;
    bool description_edited = false;
    bool level_edited = false;
    bool parent_edited = false;
  };
  void clear();
  bool edited(size_t i) const;
  bool check_row(size_t i);

  Database& db_;
  UserInterface& ui_;
  std::vector<Row> rows_;
  std::vector<std::string> edit_descriptions_;
  std::vector<int32_t> edit_levels_;
  std::vector<int32_t> edit_parents_;
  std::vector<ParentEntry> parents_;
  std::optional<size_t> selected_;
};

}  // namespace trawlix
