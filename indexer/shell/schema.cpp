// The WorkSpace schema over SQLite.
//
// The tables keep the names, columns, widths and index names of the index
// database. SQLite's rules differ from the original engine's in three ways,
// mapped here once:
//  - An index name is unique in the whole file, so the three "PrimaryKey"
//    indexes become table constraints named PrimaryKey. Where the primary
//    key is the identity (Docs.DocID) it is the INTEGER PRIMARY KEY; where
//    it is a text (Words.Word) the identity WordID is the INTEGER PRIMARY
//    KEY and the text key is a UNIQUE constraint named PrimaryKey.
//  - Identities are INTEGER PRIMARY KEY AUTOINCREMENT, so a deleted DocID
//    or WordID is never handed out again.
//  - "drop index X ON T" is "DROP INDEX X"; dropping a PrimaryKey is part of
//    dropping its table.
// Declared types carry the widths: Long is INTEGER, Integer is SMALLINT,
// Text(n) is TEXT(n). SQLite does not enforce widths; the writers cut texts.
#include "shell/schema.h"

#include <iterator>
#include <vector>

namespace trawlix {
namespace {

constexpr int64_t kApplicationId = 0x54524C58;  // "TRLX"

std::string column_list(const std::string& fields) {
  // "+A;+B" -> "A, B"
  std::string out;
  size_t start = 0;
  while (start <= fields.size()) {
    size_t end = fields.find(';', start);
    if (end == std::string::npos) end = fields.size();
    std::string part = fields.substr(start, end - start);
    if (!part.empty() && (part[0] == '+' || part[0] == '-')) part.erase(0, 1);
    if (!part.empty()) {
      if (!out.empty()) out += ", ";
      out += part;
    }
    start = end + 1;
  }
  return out;
}

std::string column_sql(const FieldDef& f, const IndexDef* primary) {
  std::string sql = f.name + " ";
  switch (f.type) {
    case FieldType::kLong:
      sql += "INTEGER";
      break;
    case FieldType::kInteger:
      sql += "SMALLINT";
      break;
    case FieldType::kText:
      sql += "TEXT(" + std::to_string(f.size) + ")";
      break;
  }
  if (f.auto_increment) {
    sql += primary && column_list(primary->fields) == f.name ? " CONSTRAINT PrimaryKey" : "";
    sql += " PRIMARY KEY AUTOINCREMENT";
  }
  if (f.type == FieldType::kText) {
    if (f.nocase) sql += " COLLATE NOCASE";
    if (!f.allow_zero_length) sql += " NOT NULL CHECK (" + f.name + " <> '')";
  }
  return sql;
}

FieldDef long_field(const char* name) {
  return {name, FieldType::kLong};
}
FieldDef int_field(const char* name) {
  return {name, FieldType::kInteger};
}
FieldDef text_field(const char* name, int size) {
  return {name, FieldType::kText, size};
}

// "drop index X ON T" and "drop table T", failures skipped: in SQLite a
// primary key goes with its table, and IF EXISTS skips what is missing.
const char* const kDropWordTables[] = {
    "DROP INDEX IF EXISTS WordsDocs_DocIDinx",
    "DROP INDEX IF EXISTS WordsDocs_WordIDinx",
    "DROP TABLE IF EXISTS WordsDocs",
    "DROP INDEX IF EXISTS Words_wordIDinx",
    "DROP TABLE IF EXISTS Words",
};
const char* const kDropDocs[] = {
    "DROP INDEX IF EXISTS Docs_URLDocumentinx",
    "DROP TABLE IF EXISTS Docs",
    "DROP TABLE IF EXISTS URLexternos",
};

const char kExternalLinks[] =
    "CREATE TABLE IF NOT EXISTS URLexternos ("
    "URLExternal TEXT(255), URLDescription TEXT(255), "
    "urlSearch SMALLINT, urlFrames SMALLINT, urlError SMALLINT, "
    "URLmailto1 TEXT(255), URLmailto2 TEXT(255))";

}  // namespace

void add_table_index(TableDef& table, const std::string& first_field,
                     const std::string& second_field, bool is_primary, bool is_unique) {
  IndexDef index;
  index.primary = is_primary;
  index.unique = is_unique;
  index.name = is_primary ? "PrimaryKey" : table.name + "_" + first_field + "inx";
  index.fields = "+" + first_field;
  if (second_field.size() > 2) index.fields = "+" + first_field + ";+" + second_field;
  table.indexes.push_back(index);
}

std::vector<std::string> table_statements(const TableDef& table) {
  const IndexDef* primary = nullptr;
  for (const IndexDef& ix : table.indexes) {
    if (ix.primary) primary = &ix;
  }
  std::string create = "CREATE TABLE " + table.name + " (";
  bool primary_on_identity = false;
  for (size_t k = 0; k < table.fields.size(); ++k) {
    const FieldDef& f = table.fields[k];
    if (k) create += ", ";
    create += column_sql(f, primary);
    if (f.auto_increment && primary && column_list(primary->fields) == f.name) {
      primary_on_identity = true;
    }
  }
  if (primary && !primary_on_identity) {
    bool has_identity = false;
    for (const FieldDef& f : table.fields) has_identity |= f.auto_increment;
    create += std::string(", CONSTRAINT PrimaryKey ") + (has_identity ? "UNIQUE" : "PRIMARY KEY") +
              " (" + column_list(primary->fields) + ")";
  }
  create += ")";
  if (table.clustered) create += " WITHOUT ROWID";
  std::vector<std::string> out{create};
  for (const IndexDef& ix : table.indexes) {
    if (ix.primary) continue;
    out.push_back(std::string("CREATE ") + (ix.unique ? "UNIQUE " : "") + "INDEX " + ix.name +
                  " ON " + table.name + " (" + column_list(ix.fields) + ")");
  }
  return out;
}

TableDef words_table() {
  TableDef t{"Words", {}, {}};
  FieldDef id = long_field("WordID");
  id.auto_increment = true;
  FieldDef word = text_field("Word", 19);
  word.allow_zero_length = false;
  t.fields = {id, word, long_field("Occurrences")};
  add_table_index(t, "Word", "", true, true);
  add_table_index(t, "WordID", "", false, false);
  return t;
}

TableDef docs_table() {
  TableDef t{"Docs", {}, {}};
  FieldDef id = long_field("DocID");
  id.auto_increment = true;
  FieldDef url = text_field("URLDocument", 255);
  url.nocase = true;
  t.fields = {id,
              url,
              text_field("URLDescription", 100),
              int_field("URLLevel"),
              int_field("nMaxDepth"),
              int_field("bCrawlAbove"),
              long_field("URLParent"),
              int_field("nStatus"),
              int_field("bIndexed")};
  add_table_index(t, "DocID", "", true, true);
  add_table_index(t, "URLDocument", "", false, false);
  return t;
}

TableDef wordsdocs_table() {
  TableDef t{"WordsDocs", {}, {}};
  t.fields = {long_field("DocID"), long_field("WordID"), long_field("Occurrences")};
  // One B-tree less for the table every word occurrence writes to.
  t.clustered = true;
  add_table_index(t, "DocID", "WordId", true, true);
  add_table_index(t, "WordID", "", false, false);
  add_table_index(t, "DocID", "", false, false);
  return t;
}

bool create_tables(Database& db, UserInterface& ui, bool recreate_docs) {
  // The rebuild takes the write lock first: a database that cannot be
  // written fails at its first step, removing the old tables.
  Transaction tx(db);
  // IF EXISTS makes a missing table no failure: a drop that fails leaves
  // the old table in the way of the new one.
  std::vector<const char*> drops(std::begin(kDropWordTables), std::end(kDropWordTables));
  if (recreate_docs) drops.insert(drops.end(), std::begin(kDropDocs), std::end(kDropDocs));
  for (const char* sql : drops) {
    if (!tx.ok() || !db.exec(sql)) {
      ui.show_message("System critical error:",
                      "Error: removing the old tables: \r" + db.last_error(), Icon::kCritical);
      return false;
    }
  }
  std::vector<TableDef> tables{words_table()};
  if (recreate_docs) tables.push_back(docs_table());
  tables.push_back(wordsdocs_table());
  for (const TableDef& t : tables) {
    std::vector<std::string> statements = table_statements(t);
    for (size_t k = 0; k < statements.size(); ++k) {
      if (db.exec(statements[k])) continue;
      if (k > 0) {
        ui.show_message("System critical error:", "Error: creating index: \r" + db.last_error(),
                        Icon::kQuestion);
      } else {
        ui.show_message(
            "System critical error:", "Error: creating table " + t.name + ": \r" + db.last_error(),
            Icon::kCritical);
      }
      return false;
    }
  }
  if (!db.exec(kExternalLinks) || !mark_workspace_database(db)) {
    ui.show_message("System critical error:",
                    "Error: creating table URLexternos: \r" + db.last_error(), Icon::kCritical);
    return false;
  }
  return tx.commit();
}

bool ensure_external_links_table(Database& db) {
  return db.exec(kExternalLinks);
}

bool mark_workspace_database(Database& db) {
  return db.exec("PRAGMA application_id = " + std::to_string(kApplicationId));
}

bool is_workspace_database(Database& db) {
  return db.query_int("PRAGMA application_id", {}, 0) == kApplicationId;
}

}  // namespace trawlix
