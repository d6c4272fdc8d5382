// Dropping the secondary indexes of WordsDocs for a crawl, and building
// them again.
#include "shell/deferred_indexes.h"

#include <string>
#include <vector>

#include "shell/schema.h"

namespace trawlix {
namespace {

// The indexes of the word tables that are not their key, as IndexDefs of
// their TableDef; `table` names the table.
struct SecondaryIndex {
  TableDef table;
  IndexDef index;
};

std::vector<SecondaryIndex> secondary_indexes(bool wordsdocs_only) {
  std::vector<SecondaryIndex> out;
  std::vector<TableDef> tables{wordsdocs_table()};
  if (!wordsdocs_only) tables.push_back(words_table());
  for (const TableDef& t : tables) {
    for (const IndexDef& ix : t.indexes) {
      if (!ix.primary) out.push_back({t, ix});
    }
  }
  return out;
}

bool index_exists(Database& db, const std::string& name) {
  return db.query_int("select count(*) from sqlite_master where type = 'index' and name = ?",
                      {name}, 0) > 0;
}

}  // namespace

DeferredWordIndexes::DeferredWordIndexes(Database& db, bool defer) : db_(db) {
  if (!defer) return;
  Transaction tx(db_);
  bool ok = tx.ok();
  for (const SecondaryIndex& s : secondary_indexes(true)) {
    ok = ok && db_.exec("DROP INDEX IF EXISTS " + s.index.name);
  }
  dropped_ = ok && tx.commit();
}

bool DeferredWordIndexes::rebuild() {
  if (!dropped_) return true;
  dropped_ = !create_missing_word_indexes(db_);
  return !dropped_;
}

bool word_indexes_missing(Database& db) {
  for (const SecondaryIndex& s : secondary_indexes(false)) {
    if (!index_exists(db, s.index.name)) return true;
  }
  return false;
}

bool create_missing_word_indexes(Database& db) {
  Transaction tx(db);
  if (!tx.ok()) return false;
  for (const SecondaryIndex& s : secondary_indexes(false)) {
    if (index_exists(db, s.index.name)) continue;
    // The table's statements after its CREATE TABLE are its indexes'.
    TableDef one = s.table;
    one.indexes = {s.index};
    std::vector<std::string> statements = table_statements(one);
    if (statements.size() < 2 || !db.exec(statements[1])) return false;
  }
  return tx.commit();
}

}  // namespace trawlix
