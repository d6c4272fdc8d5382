// The WorkSpace database schema: the tables Docs, Words, WordsDocs and
// URLexternos, their keys and indexes, and the rebuild of the index tables.
#pragma once

#include <string>
#include <vector>

#include "shell/database.h"
#include "shell/user_interface.h"

namespace trawlix {

enum class FieldType { kLong, kInteger, kText };

struct FieldDef {
  std::string name;
  FieldType type;
  int size = 0;  // text width in characters
  bool auto_increment = false;
  bool allow_zero_length = true;
  bool nocase = false;  // compared without regard to case
};

struct IndexDef {
  std::string name;    // "PrimaryKey" or table + "_" + field + "inx"
  std::string fields;  // "+Field" or "+First;+Second"
  bool primary = false;
  bool unique = false;
};

struct TableDef {
  std::string name;
  std::vector<FieldDef> fields;
  std::vector<IndexDef> indexes;
  // Stored in the order of its primary key, with no row number of its own.
  bool clustered = false;
};

// Names the index and its field string and appends it to `table`.
void add_table_index(TableDef& table, const std::string& first_field,
                     const std::string& second_field, bool is_primary, bool is_unique);

// The CREATE statements of a table and its indexes, in SQLite's terms.
std::vector<std::string> table_statements(const TableDef& table);

TableDef words_table();
TableDef docs_table();
TableDef wordsdocs_table();

// Drops and rebuilds the word index tables and, with `recreate_docs`, the
// document list and the external links too. Runs as one transaction: a
// failure rolls everything back, is reported through `ui` and returns false.
[[nodiscard]] bool create_tables(Database& db, UserInterface& ui, bool recreate_docs);

// Creates URLexternos when the database lacks it. Returns false on failure.
[[nodiscard]] bool ensure_external_links_table(Database& db);

// Marks a database as a WorkSpace database, and tells whether one is.
[[nodiscard]] bool mark_workspace_database(Database& db);
bool is_workspace_database(Database& db);

}  // namespace trawlix
