// The indexer's database layer: one SQLite connection, prepared statements
// with bound parameters, and transactions. Every other part of the indexer
// issues its SQL through these classes.
//
// Text crosses this boundary converted: the core holds Windows-1252 bytes,
// the database file holds UTF-8, so that any SQLite tool reads it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace trawlix {

// A value bound to a statement parameter or read from a column.
// Strings are Windows-1252 text.
using DbValue = std::variant<std::monostate, int64_t, double, std::string>;

class Database;
class KeptStatement;

// One prepared statement. Rows are read by position (from 0) or by name;
// a name may be qualified by its table ("wordsdocs.Occurrences"). Names
// compare without regard to case, as the SQL does.
class Statement {
 public:
  Statement() = default;
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  // False when preparing failed; the database's last_error() says why.
  bool ok() const { return stmt_ != nullptr; }

  // Binds parameters 1..n in order. Returns false on failure.
  [[nodiscard]] bool bind(std::initializer_list<DbValue> values);
  [[nodiscard]] bool bind_at(int index, const DbValue& value);

  // Advances to the next row: true when a row is current. At the end, or
  // on an error, returns false; failed() tells the two apart.
  [[nodiscard]] bool step();
  bool failed() const { return failed_; }
  // Makes the statement ready to run again with new bindings.
  void reset();

  int column_count() const;
  // Position of a column by (optionally table-qualified) name, or -1.
  int column_index(std::string_view name) const;

  bool is_null(int column) const;
  bool is_null(std::string_view name) const;
  int64_t get_int(int column) const;
  int64_t get_int(std::string_view name) const;
  std::string get_text(int column) const;
  std::string get_text(std::string_view name) const;
  DbValue get(int column) const;

 private:
  friend class Database;
  Statement(Database* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  void finalize();

  Database* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
  bool failed_ = false;
};

class Database {
 public:
  enum class Mode {
    kOpenExisting,  // the file must exist; it is never created
    kCreateNew,     // the file must not exist; it is created
  };

  // Opens or creates the database file at `path` (a UTF-8 path). On
  // failure returns null and puts the reason in `error`.
  [[nodiscard]] static std::unique_ptr<Database> open(const std::string& path, Mode mode,
                                                      std::string* error);

  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  // Prepares a statement; check ok() on the result.
  [[nodiscard]] Statement prepare(std::string_view sql);
  // The statement of `sql`, prepared on its first use and kept until the
  // database closes: for what runs again and again (every page of a
  // crawl). It comes reset, and is reset again when the lease ends; check
  // ok() on it. Two leases of one text must not overlap.
  [[nodiscard]] KeptStatement kept(std::string_view sql);
  // exec() over a kept statement.
  [[nodiscard]] bool exec_kept(std::string_view sql, std::initializer_list<DbValue> params = {});
  // Runs a statement that returns no rows. Returns false on failure.
  [[nodiscard]] bool exec(std::string_view sql, std::initializer_list<DbValue> params = {});
  // The first column of the first row, or `fallback` when there is none
  // or the statement fails.
  [[nodiscard]] int64_t query_int(std::string_view sql, std::initializer_list<DbValue> params = {},
                                  int64_t fallback = 0);
  // Every row of a query, each row as its values by position.
  [[nodiscard]] std::optional<std::vector<std::vector<DbValue>>> query_rows(
      std::string_view sql, std::initializer_list<DbValue> params = {});

  // Rows changed by the last insert, update or delete.
  int64_t changes() const;
  int64_t last_insert_id() const;
  // The text of the last failure, in the system's words.
  const std::string& last_error() const { return last_error_; }
  const std::string& path() const { return path_; }
  bool in_transaction() const { return depth_ > 0; }

 private:
  friend class Statement;
  friend class Transaction;
  Database(sqlite3* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  void record_error();
  void set_error(std::string text) { last_error_ = std::move(text); }

  sqlite3* handle_;
  std::unordered_map<std::string, Statement> kept_;
  Statement failed_kept_;  // what kept() lends when preparing failed
  std::string path_;
  std::string last_error_;
  int depth_ = 0;
};

// A lease on a kept statement (Database::kept).
class KeptStatement {
 public:
  explicit KeptStatement(Statement& st) : st_(st) {}
  KeptStatement(const KeptStatement&) = delete;
  KeptStatement& operator=(const KeptStatement&) = delete;
  ~KeptStatement() { st_.reset(); }
  Statement* operator->() { return &st_; }
  Statement& operator*() { return st_; }

 private:
  Statement& st_;
};

// A transaction over a database: begun on construction, rolled back on
// destruction unless commit() ran. The outermost one holds the database's
// write lock from its start, waiting for it as long as the busy timeout
// allows. Transactions nest (savepoints); an inner one that rolls back
// undoes only its own work.
class Transaction {
 public:
  explicit Transaction(Database& db);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();

  // False when the transaction could not begin.
  bool ok() const { return active_; }
  [[nodiscard]] bool commit();
  void rollback();

 private:
  Database& db_;
  std::string name_;
  bool outermost_ = false;
  bool active_ = false;
};

}  // namespace trawlix
