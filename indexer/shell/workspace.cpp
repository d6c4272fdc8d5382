// Opening, creating and re-initialising a WorkSpace.
#include "shell/workspace.h"

#include <sys/stat.h>
#include <unistd.h>

#include "base/paths.h"
#include "shell/deferred_indexes.h"
#include "shell/run_lock.h"
#include "shell/schema.h"

namespace trawlix {
namespace {

constexpr const char kCreationError[] = "Creation error:";
constexpr const char kConfirmTitle[] = "Confirm critical operation:";

// A crawl commits once per page. With a write-ahead log and syncs at
// checkpoints only, a commit costs no disk sync and the file stays
// consistent when the program is killed; a power failure may lose the last
// pages, which then simply wait again. The page cache holds a large index.
// Only our own databases are switched: a foreign file is never changed.
// A file system that refuses the log (no shared memory) keeps the rollback
// journal, which needs its full syncs; the other settings only speed the
// database up, and SQLite's defaults serve when one is refused.
void tune_workspace_database(Database& db) {
  bool logged = false;
  {
    Statement mode = db.prepare("PRAGMA journal_mode = WAL");
    logged = mode.ok() && mode.step() && mode.get_text(0) == "wal";
  }
  if (logged) (void)db.exec("PRAGMA synchronous = NORMAL");
  // A longer log between checkpoints: a page of Words or WordsDocs that
  // many documents change is copied back (and synced) once per checkpoint,
  // not once per thousand pages of log. Each commit of a crawl logs a few
  // hundred pages, so the log is checkpointed at about 64 MiB, whatever
  // the file's page size.
  if (logged) {
    constexpr int64_t kLogBytes = int64_t{64} << 20;
    int64_t page = db.query_int("PRAGMA page_size", {}, 4096);
    if (page < 512) page = 4096;
    (void)db.exec("PRAGMA wal_autocheckpoint = " + std::to_string(kLogBytes / page));
  }
  (void)db.exec("PRAGMA cache_size = -65536");
  (void)db.exec("PRAGMA temp_store = MEMORY");
}

void report_open_failure(UserInterface& ui, const std::string& error) {
  ui.show_message(kCreationError,
                  "ERROR:  unable to open Workspace. Check the name you typed is valid.\r"
                  "System returned message: " +
                      error,
                  Icon::kCritical);
}

std::string with_slash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

// Creates a new database file with empty tables.
std::unique_ptr<Database> create_workspace_database(const std::string& dir, UserInterface& ui,
                                                    std::string* error) {
  std::string path = join_path(dir, kDatabaseFile);
  auto db = Database::open(path, Database::Mode::kCreateNew, error);
  if (!db) return nullptr;
  // Small pages: a page a crawl indexes changes a few hundred pages of the
  // file, most of them for one row each (a word's total, its entry in the
  // WordID index), and every one goes to the log at the commit.
  (void)db->exec("PRAGMA page_size = 1024");
  if (!create_tables(*db, ui, true)) {
    if (error) *error = db->last_error();
    db.reset();
    ::unlink(path.c_str());
    return nullptr;
  }
  tune_workspace_database(*db);
  return db;
}

}  // namespace

std::unique_ptr<Database> open_workspace_database(const std::string& dir, std::string* error) {
  auto db = Database::open(join_path(dir, kDatabaseFile), Database::Mode::kOpenExisting, error);
  if (!db) return nullptr;
  if (!is_workspace_database(*db)) {
    if (error) *error = "the file is not a WorkSpace database";
    return nullptr;
  }
  if (!ensure_external_links_table(*db)) {
    if (error) *error = db->last_error();
    return nullptr;
  }
  tune_workspace_database(*db);
  // A crawl that was killed leaves missing the word indexes it builds at
  // its end: they are built here when no run holds the WorkSpace (a run
  // that holds it builds them when it ends). Without them every search
  // still finds what it should, only more slowly.
  if (word_indexes_missing(*db)) {
    RunLock::Result taken;
    std::string holder;
    if (auto lock = RunLock::take(dir, "the building of the word indexes", &taken, &holder)) {
      (void)create_missing_word_indexes(*db);
    }
  }
  return db;
}

std::string Workspace::file(std::string_view name) const {
  return join_path(dir_, name);
}

bool Workspace::start_up(const std::string& dir) {
  dir_ = dir;
  std::string error;
  if (path_exists(join_path(dir, kDatabaseFile))) {
    db_ = open_workspace_database(dir, &error);
  } else {
    db_ = create_workspace_database(dir, ui_, &error);
  }
  if (db_) return true;
  ui_.show_message("Error opening lexmine database:",
                   "Your system seems to have problems with Microsoft DAO...\r"
                   "Please download and run the full installer of Trawlix.\r"
                   "System returned message: " +
                       error,
                   Icon::kCritical);
  return false;
}

Workspace::OpenResult Workspace::open_existing(std::string dirbase) {
  dirbase = with_slash(std::move(dirbase));
  if (!path_exists(join_path(dirbase, kDatabaseFile))) {
    ui_.show_message(kCreationError, "ERROR: specified directory doesn't contain a WorkSpace. ",
                     Icon::kCritical);
    return OpenResult::kNoWorkspace;
  }
  std::string error;
  if (!directory_accessible(dirbase, &error)) {
    ui_.show_message(kCreationError,
                     "ERROR:  unable to access Workspace directory. Check priviledges / the name "
                     "you typed is valid.\rSystem returned message: " +
                         error,
                     Icon::kCritical);
    return OpenResult::kFailed;
  }
  auto db = open_workspace_database(dirbase, &error);
  if (!db) {
    report_open_failure(ui_, error);
    return OpenResult::kFailed;
  }
  db_ = std::move(db);
  dir_ = dirbase;
  return OpenResult::kOpened;
}

Workspace::CreateResult Workspace::create_new(std::string dirbase, const std::string& nombase) {
  if (nombase.empty()) return CreateResult::kNothingToDo;
  dirbase = with_slash(std::move(dirbase));
  std::string dir = dirbase + nombase;
  auto fail = [&](const std::string& error) {
    ui_.show_message(kCreationError,
                     "ERROR:  unable to create directory. Check the name you typed is valid.\r"
                     "System returned message: " +
                         error,
                     Icon::kCritical);
    return CreateResult::kFailed;
  };
  if (nombase.find('/') != std::string::npos || nombase == "." || nombase == "..") {
    return fail("a WorkSpace name cannot hold a slash");
  }
  if (::mkdir(dir.c_str(), 0777) != 0) return fail(system_error_text());
  std::string error;
  auto db = create_workspace_database(dir, ui_, &error);
  if (!db) {
    ::rmdir(dir.c_str());
    return fail(error);
  }
  db_ = std::move(db);
  dir_ = dir;
  return CreateResult::kCreated;
}

bool Workspace::reinitialize() {
  if (!db_) return false;
  Answer sure = ui_.ask(kConfirmTitle,
                        "Are you sure you want to reinitialize the index database?\r"
                        "(all the words of the index will be removed)",
                        Icon::kQuestion, Buttons::kYesNo);
  if (sure != Answer::kYes) return false;
  Answer erase = ui_.ask(kConfirmTitle,
                         "Do you want to erase the URL/document list also?\r"
                         "(your database will be emptied...)",
                         Icon::kQuestion, Buttons::kYesNoCancel);
  if (erase == Answer::kCancel) return false;
  std::string error;
  auto db = open_workspace_database(dir_, &error);
  if (!db) {
    report_open_failure(ui_, error);
    return false;
  }
  db_ = std::move(db);
  return create_tables(*db_, ui_, erase == Answer::kYes);
}

}  // namespace trawlix
