// The document table editor's working copy.
#include "search/document_editor.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <map>

#include "text/word_index.h"

namespace trawlix {
namespace {

constexpr const char kDatabaseErrorTitle[] = "Database error:";

bool is_digit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

int32_t leading_number(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // Digits beyond what a 32-bit level can hold only saturate.
  double value = 0;
  while (i < text.size() && is_digit(text[i])) {
    if (value < 1e12) value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && is_digit(text[i]); ++i, scale /= 10) {
      value += (text[i] - '0') * scale;
    }
  }
  if (negative) value = -value;
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  value = std::round(value);
  if (value > kMax) return std::numeric_limits<int32_t>::max();
  if (value < kMin) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

void DocumentEditor::clear() {
  rows_.clear();
  edit_descriptions_.clear();
  edit_levels_.clear();
  edit_parents_.clear();
  parents_ = {{kHomePageEntry, 0}};
  selected_.reset();
}

bool DocumentEditor::load_form() {
  clear();

  Statement st = db_.prepare(
      "select DocID, URLDocument, URLDescription, URLLevel, URLParent from Docs order by DocID");
  while (st.ok() && st.step()) {
    Row row;
    row.doc_id = static_cast<int32_t>(st.get_int(0));
    row.url = st.get_text(1);
    edit_descriptions_.push_back(st.get_text(2));
    edit_levels_.push_back(static_cast<int32_t>(st.get_int(3)));
    edit_parents_.push_back(static_cast<int32_t>(st.get_int(4)));
    parents_.push_back({row.url, row.doc_id});
    rows_.push_back(std::move(row));
  }
  if (!st.ok() || st.failed()) {
    ui_.show_message(kDatabaseErrorTitle,
                     "The document table could not be read:\r" + db_.last_error(), Icon::kCritical);
    clear();
    return false;
  }
  if (!rows_.empty()) selected_ = 0;
  return true;
}

std::optional<size_t> DocumentEditor::row_of(int32_t doc_id) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].doc_id == doc_id) return i;
  }
  return std::nullopt;
}

std::optional<size_t> DocumentEditor::parent_entry() const {
  if (!selected_) return std::nullopt;
  int32_t parent = edit_parents_[*selected_];
  for (size_t k = 0; k < parents_.size(); ++k) {
    if (parents_[k].doc_id == parent) return k;
  }
  return std::nullopt;
}

void DocumentEditor::select(size_t i) {
  if (i < rows_.size()) selected_ = i;
}

void DocumentEditor::edit_description(const std::string& text) {
  if (!selected_) return;
  edit_descriptions_[*selected_] = text;
  rows_[*selected_].description_edited = true;
}

void DocumentEditor::edit_level(const std::string& typed) {
  if (!selected_) return;
  edit_levels_[*selected_] = leading_number(typed);
  rows_[*selected_].level_edited = true;
}

void DocumentEditor::pick_parent(int32_t doc_id) {
  if (!selected_) return;
  edit_parents_[*selected_] = doc_id;
  rows_[*selected_].parent_edited = true;
}

void DocumentEditor::next_row() {
  if (selected_ && *selected_ + 1 < rows_.size()) ++*selected_;
}

bool DocumentEditor::edited(size_t i) const {
  const Row& r = rows_[i];
  return r.description_edited || r.level_edited || r.parent_edited;
}

bool DocumentEditor::check_row(size_t i) {
  const Row& r = rows_[i];
  std::string problem;
  if (r.description_edited && edit_descriptions_[i].size() > kDescriptionWidth) {
    problem = "The description of " + r.url + " is longer than " +
              std::to_string(kDescriptionWidth) + " characters.";
  } else if (r.level_edited && (edit_levels_[i] < std::numeric_limits<int16_t>::min() ||
                                edit_levels_[i] > std::numeric_limits<int16_t>::max())) {
    problem = "The level of " + r.url + " must be a number from -32768 to 32767.";
  }
  if (problem.empty()) return true;
  selected_ = i;
  ui_.show_message("Please note:", problem + "\rNothing was saved.", Icon::kExclamation);
  return false;
}

DocumentEditor::SaveResult DocumentEditor::save() {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (!check_row(i)) return SaveResult::kInvalid;
  }
  Transaction tx(db_);
  bool ok = tx.ok();
  for (size_t i = 0; ok && i < rows_.size(); ++i) {
    if (!edited(i)) continue;
    const Row& r = rows_[i];
    // Only the edited columns are set; the statement's text is fixed names.
    std::string sql;
    std::vector<DbValue> values;
    auto set = [&](const char* column, DbValue value) {
      sql += sql.empty() ? "update Docs set " : ", ";
      sql += column;
      sql += " = ?";
      values.push_back(std::move(value));
    };
    if (r.description_edited) set("URLDescription", edit_descriptions_[i]);
    if (r.level_edited) set("URLLevel", int64_t{edit_levels_[i]});
    if (r.parent_edited) set("URLParent", int64_t{edit_parents_[i]});
    sql += " where DocID = ?";
    values.push_back(int64_t{r.doc_id});
    Statement st = db_.prepare(sql);
    ok = st.ok();
    for (size_t k = 0; ok && k < values.size(); ++k) {
      ok = st.bind_at(static_cast<int>(k) + 1, values[k]);
    }
    ok = ok && !st.step() && !st.failed();
  }
  if (ok) ok = tx.commit();
  if (!ok) {
    std::string error = db_.last_error();
    tx.rollback();
    ui_.show_message(kDatabaseErrorTitle,
                     "The document table could not be saved; nothing was changed:\r" + error,
                     Icon::kCritical);
    return SaveResult::kFailed;
  }
  for (Row& r : rows_) r.description_edited = r.level_edited = r.parent_edited = false;
  return SaveResult::kSaved;
}

std::string DocumentEditor::delete_question() const {
  std::string description = selected_ ? edit_descriptions_[*selected_] : std::string();
  return "Are you sure you want to delete document \"" + description + "\"?";
}

bool DocumentEditor::delete_selected() {
  if (!selected_) return false;
  if (ui_.ask("Please confirm:", delete_question(), Icon::kExclamation, Buttons::kOkCancel) !=
      Answer::kOk) {
    return false;
  }
  size_t index = *selected_;
  int32_t doc_id = rows_[index].doc_id;

  // The pending edits of the other rows, to be put back after the reload.
  struct Pending {
    std::optional<std::string> description;
    std::optional<int32_t> level, parent;
  };
  std::map<int32_t, Pending> pending;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& r = rows_[i];
    if (i == index || !edited(i)) continue;
    Pending& p = pending[r.doc_id];
    if (r.description_edited) p.description = edit_descriptions_[i];
    if (r.level_edited) p.level = edit_levels_[i];
    if (r.parent_edited) p.parent = edit_parents_[i];
  }

  // A statement that failed has been reported; the row may be gone all the
  // same, its occurrences not.
  bool all_deleted = delete_document(db_, ui_, doc_id);
  load_form();
  for (const auto& [id, p] : pending) {
    std::optional<size_t> i = row_of(id);
    if (!i) continue;
    selected_ = *i;
    if (p.description) edit_description(*p.description);
    if (p.level) {
      edit_levels_[*i] = *p.level;
      rows_[*i].level_edited = true;
    }
    if (p.parent) pick_parent(*p.parent);
  }
  selected_.reset();
  if (!rows_.empty()) selected_ = index < rows_.size() ? index : 0;
  return all_deleted && row_of(doc_id) == std::nullopt;
}

}  // namespace trawlix
