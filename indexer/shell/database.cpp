// SQLite behind the indexer's database layer.
#include "shell/database.h"

#include <sqlite3.h>

#include "base/ascii_case.h"
#include "base/cp1252.h"
#include "base/paths.h"
#include "shell/wal_write_buffer.h"

namespace trawlix {
namespace {

// Column names as SQLite gives them: null when the column has none.
bool same_name(std::string_view a, const char* b) {
  return b != nullptr && equal_nocase(a, b);
}

}  // namespace

// ---- Database

std::unique_ptr<Database> Database::open(const std::string& path, Mode mode, std::string* error) {
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
  if (mode == Mode::kCreateNew) {
    if (path_exists(path)) {
      if (error) *error = "the file already exists: " + path;
      return nullptr;
    }
    flags |= SQLITE_OPEN_CREATE;
  } else if (!path_exists(path)) {
    if (error) *error = "no such file: " + path;
    return nullptr;
  }
  sqlite3* handle = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &handle, flags, wal_write_buffer_vfs());
  if (rc != SQLITE_OK) {
    if (error) *error = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
    sqlite3_close(handle);
    return nullptr;
  }
  sqlite3_extended_result_codes(handle, 1);
  sqlite3_busy_timeout(handle, 5000);
  std::unique_ptr<Database> db(new Database(handle, path));
  // SQLite opens lazily: reading the schema is what tells a database from
  // any other file.
  if (!db->exec("PRAGMA foreign_keys = OFF") ||
      db->query_int("PRAGMA schema_version", {}, -1) < 0) {
    if (error) *error = db->last_error().empty() ? "not a database" : db->last_error();
    return nullptr;
  }
  return db;
}

Database::~Database() {
  kept_.clear();
  sqlite3_close_v2(handle_);
}

void Database::record_error() {
  last_error_ = sqlite3_errmsg(handle_);
}

Statement Database::prepare(std::string_view sql) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(handle_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
  if (rc != SQLITE_OK) {
    record_error();
    sqlite3_finalize(stmt);
    return Statement();
  }
  return Statement(this, stmt);
}

KeptStatement Database::kept(std::string_view sql) {
  auto known = kept_.find(std::string(sql));
  if (known == kept_.end()) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v3(handle_, sql.data(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
      // Not kept: the next use tries again, and says why it failed.
      record_error();
      sqlite3_finalize(stmt);
      failed_kept_ = Statement();
      return KeptStatement(failed_kept_);
    }
    known = kept_.emplace(std::string(sql), Statement(this, stmt)).first;
  }
  known->second.reset();
  return KeptStatement(known->second);
}

bool Database::exec_kept(std::string_view sql, std::initializer_list<DbValue> params) {
  KeptStatement st = kept(sql);
  if (!st->ok() || !st->bind(params)) return false;
  while (st->step()) {
  }
  return !st->failed();
}

bool Database::exec(std::string_view sql, std::initializer_list<DbValue> params) {
  Statement st = prepare(sql);
  if (!st.ok() || !st.bind(params)) return false;
  while (st.step()) {
  }
  return !st.failed();
}

int64_t Database::query_int(std::string_view sql, std::initializer_list<DbValue> params,
                            int64_t fallback) {
  Statement st = prepare(sql);
  if (!st.ok() || !st.bind(params) || !st.step() || st.is_null(0)) return fallback;
  return st.get_int(0);
}

std::optional<std::vector<std::vector<DbValue>>> Database::query_rows(
    std::string_view sql, std::initializer_list<DbValue> params) {
  Statement st = prepare(sql);
  if (!st.ok() || !st.bind(params)) return std::nullopt;
  std::vector<std::vector<DbValue>> rows;
  while (st.step()) {
    std::vector<DbValue> row;
    for (int c = 0; c < st.column_count(); ++c) row.push_back(st.get(c));
    rows.push_back(std::move(row));
  }
  if (st.failed()) return std::nullopt;
  return rows;
}

int64_t Database::changes() const {
  return sqlite3_changes64(handle_);
}
int64_t Database::last_insert_id() const {
  return sqlite3_last_insert_rowid(handle_);
}

// ---- Statement

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), failed_(other.failed_) {
  other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    finalize();
    db_ = other.db_;
    stmt_ = other.stmt_;
    failed_ = other.failed_;
    other.stmt_ = nullptr;
  }
  return *this;
}

Statement::~Statement() {
  finalize();
}

void Statement::finalize() {
  if (stmt_) sqlite3_finalize(stmt_);
  stmt_ = nullptr;
}

bool Statement::bind_at(int index, const DbValue& value) {
  if (!stmt_) return false;
  int rc;
  if (std::holds_alternative<std::monostate>(value)) {
    rc = sqlite3_bind_null(stmt_, index);
  } else if (auto* i = std::get_if<int64_t>(&value)) {
    rc = sqlite3_bind_int64(stmt_, index, *i);
  } else if (auto* d = std::get_if<double>(&value)) {
    rc = sqlite3_bind_double(stmt_, index, *d);
  } else {
    std::string utf8 = cp1252_to_utf8(std::get<std::string>(value));
    rc = sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()),
                           SQLITE_TRANSIENT);
  }
  if (rc != SQLITE_OK) {
    db_->record_error();
    return false;
  }
  return true;
}

bool Statement::bind(std::initializer_list<DbValue> values) {
  int index = 1;
  for (const DbValue& v : values) {
    if (!bind_at(index++, v)) return false;
  }
  return true;
}

bool Statement::step() {
  if (!stmt_ || failed_) return false;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) {
    failed_ = true;
    db_->record_error();
  }
  return false;
}

void Statement::reset() {
  if (!stmt_) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  failed_ = false;
}

int Statement::column_count() const {
  return stmt_ ? sqlite3_column_count(stmt_) : 0;
}

int Statement::column_index(std::string_view name) const {
  if (!stmt_) return -1;
  size_t dot = name.find('.');
  int n = column_count();
  for (int c = 0; c < n; ++c) {
    if (dot == std::string_view::npos) {
      if (same_name(name, sqlite3_column_name(stmt_, c))) return c;
    } else if (same_name(name.substr(0, dot), sqlite3_column_table_name(stmt_, c)) &&
               same_name(name.substr(dot + 1), sqlite3_column_origin_name(stmt_, c))) {
      return c;
    }
  }
  // A column written "t.Col" in the select list may also carry that text as
  // its result name.
  if (dot != std::string_view::npos) {
    for (int c = 0; c < n; ++c) {
      if (same_name(name, sqlite3_column_name(stmt_, c))) return c;
    }
  }
  return -1;
}

bool Statement::is_null(int column) const {
  return !stmt_ || column < 0 || column >= column_count() ||
         sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}
bool Statement::is_null(std::string_view name) const {
  return is_null(column_index(name));
}

int64_t Statement::get_int(int column) const {
  if (is_null(column)) return 0;
  return sqlite3_column_int64(stmt_, column);
}
int64_t Statement::get_int(std::string_view name) const {
  return get_int(column_index(name));
}

std::string Statement::get_text(int column) const {
  if (is_null(column)) return std::string();
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  int size = sqlite3_column_bytes(stmt_, column);
  return utf8_to_cp1252(std::string_view(text, static_cast<size_t>(size)));
}
std::string Statement::get_text(std::string_view name) const {
  return get_text(column_index(name));
}

DbValue Statement::get(int column) const {
  if (is_null(column)) return std::monostate{};
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
      return get_int(column);
    case SQLITE_FLOAT:
      return sqlite3_column_double(stmt_, column);
    default:
      return get_text(column);
  }
}

// ---- Transaction

// The outermost transaction takes the write lock at once (BEGIN IMMEDIATE):
// a transaction that read first and asked for the lock later would not wait
// on the busy timeout for it, and would fail at once beside another
// process's write. Inner ones are savepoints.
Transaction::Transaction(Database& db) : db_(db), name_(1, 't') {
  outermost_ = db_.depth_ == 0;
  name_ += std::to_string(db_.depth_);
  if (db_.exec_kept(outermost_ ? std::string("BEGIN IMMEDIATE") : "SAVEPOINT " + name_)) {
    active_ = true;
    ++db_.depth_;
  }
}

Transaction::~Transaction() {
  if (active_) rollback();
}

bool Transaction::commit() {
  if (!active_) return false;
  if (!db_.exec_kept(outermost_ ? std::string("COMMIT") : "RELEASE " + name_)) return false;
  active_ = false;
  --db_.depth_;
  return true;
}

void Transaction::rollback() {
  if (!active_) return;
  std::string keep = db_.last_error();
  // Releasing a savepoint that was not rolled back to would keep its work.
  // When the rollback fails the whole transaction goes, outer ones too,
  // whose commit then fails; SQLite may have ended it already.
  bool undone =
      !outermost_ && db_.exec_kept("ROLLBACK TO " + name_) && db_.exec_kept("RELEASE " + name_);
  if (!undone && !sqlite3_get_autocommit(db_.handle_)) {
    // Nothing is left to try when even this fails.
    (void)db_.exec_kept("ROLLBACK");
  }
  db_.set_error(keep);
  active_ = false;
  --db_.depth_;
}

}  // namespace trawlix
