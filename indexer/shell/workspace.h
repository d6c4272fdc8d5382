// The current WorkSpace: its directory, its open database, and the steps
// that open, create and re-initialise it. Messages go through the
// UserInterface with the texts the program shows.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "shell/database.h"
#include "shell/user_interface.h"

namespace trawlix {

inline constexpr const char kDatabaseFile[] = "lexmine.mdb";
inline constexpr const char kWorkingFile[] = "j_URL_t.txt";

class Workspace {
 public:
  explicit Workspace(UserInterface& ui) : ui_(ui) {}

  // The WorkSpace directory: without a trailing slash at start-up and after
  // Create, with one after Open.
  const std::string& dir() const { return dir_; }
  // The open database, or null when none could be opened.
  Database* db() const { return db_.get(); }
  // A file of the WorkSpace: dir() + "/" + name.
  std::string file(std::string_view name) const;

  // Start-up: makes `dir` the WorkSpace and opens its database, creating it
  // with empty tables when the directory has none. On failure reports it
  // and goes on without a database; a file that is there but is not a
  // WorkSpace database is left untouched.
  [[nodiscard]] bool start_up(const std::string& dir);

  enum class OpenResult { kOpened, kNoWorkspace, kFailed };
  // Opens the WorkSpace in `dirbase`. Only once its database is open does
  // `dirbase` (with a trailing slash) become the WorkSpace; on any failure
  // the previous WorkSpace stays current and open.
  [[nodiscard]] OpenResult open_existing(std::string dirbase);

  enum class CreateResult { kCreated, kNothingToDo, kFailed };
  // Creates the WorkSpace `nombase` in `dirbase`: a new directory with a new
  // database. Fails on an existing directory. On failure the previous
  // WorkSpace stays current and open.
  [[nodiscard]] CreateResult create_new(std::string dirbase, const std::string& nombase);

  // Asks the two questions and rebuilds the index tables (and, on Yes to
  // the second, the document list). Returns true when it rebuilt them.
  bool reinitialize();

  void close() { db_.reset(); }

 private:
  UserInterface& ui_;
  std::string dir_;
  std::unique_ptr<Database> db_;
};

// Opens the database of an existing WorkSpace directory: the file must
// exist and be a WorkSpace database (URLexternos is added when missing).
[[nodiscard]] std::unique_ptr<Database> open_workspace_database(const std::string& dir,
                                                                std::string* error);

}  // namespace trawlix
