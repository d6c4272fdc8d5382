// Storing a scanned page in the word tables.
#include "text/word_index.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/cp1252.h"
#include "text/scanner.h"

namespace trawlix {
namespace {

bool ends_with_upper(const std::string& url, std::string_view suffix) {
  std::string upper = upper_cp1252(url);
  return upper.size() >= suffix.size() && upper.ends_with(suffix);
}

// Removes a document's occurrences and takes them off the words' totals, so
// that each Words.Occurrences stays the sum of its WordsDocs rows. A word
// whose total reaches 0 keeps its row and its WordID.
bool remove_occurrences(Database& db, int32_t doc_id) {
  return db.exec(
             "update Words set Occurrences = Words.Occurrences - WordsDocs.Occurrences "
             "from WordsDocs where WordsDocs.DocID = ?1 and WordsDocs.WordID = Words.WordID",
             {int64_t{doc_id}}) &&
         db.exec("delete from WordsDocs where DocID = ?", {int64_t{doc_id}});
}

// The description a page's title gives: control characters (a NUL, a tab,
// an escape) become blanks, so that no reader of the document list, the
// results page or the web index meets them, and blanks are collapsed.
std::string title_description(const std::string& title) {
  std::string text = title;
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = ' ';
  }
  return cut_text(collapse_blanks(text), kDescriptionWidth);
}

}  // namespace

void WordIndexer::check_reindex() {
  delete_old_ = false;
  if (!state_.current.already_indexed) {
    record_words_ = true;
    return;
  }
  int mode = state_.settings.reindex_mode;
  if (mode == 2) {
    Answer a = ui_.ask("Confirm if document is to be reindexed:",
                       "WARNING: is already indexed...\rDo you want to reindex it again?",
                       Icon::kExclamation, Buttons::kYesNo);
    mode = a == Answer::kYes ? 1 : 0;
  }
  record_words_ = mode == 1;
  delete_old_ = mode == 1;
}

int64_t WordIndexer::add_to_total(const std::string& word, int64_t count) {
  // Looked up, then updated or added: an insert that met the word's row
  // would still use up a WordID, and the next new word would skip it.
  int64_t id = 0;
  {
    KeptStatement st = db_.kept("select WordID from Words where Word = ?");
    if (!st->ok() || !st->bind({word})) return 0;
    if (st->step()) id = st->get_int(0);
    if (st->failed()) return 0;
  }
  if (id != 0) {
    if (!db_.exec_kept("update Words set Occurrences = Occurrences + ?2 where WordID = ?1",
                       {id, count})) {
      return 0;
    }
  } else {
    if (!db_.exec_kept("insert into Words (Word, Occurrences) values (?, ?)", {word, count})) {
      return 0;
    }
    id = db_.last_insert_id();
  }
  // A crawl of millions of words keeps the most recent ones.
  constexpr size_t kMaxKeptIds = size_t{1} << 20;
  if (ids_->size() >= kMaxKeptIds) ids_->clear();
  ids_->emplace(word, id);
  return id;
}

bool WordIndexer::write_words(int32_t doc_id, const std::vector<WordCount>& words) {
  std::vector<std::pair<int64_t, int64_t>> rows;  // WordID, count
  rows.reserve(words.size());
  // The totals of words met on earlier pages go first, in WordID order: one
  // walk along the table. An entry whose WordID no longer names its word
  // (left by a re-initialised index or a rolled-back page) is forgotten.
  std::vector<std::pair<int64_t, size_t>> known;  // WordID, index in words
  for (size_t k = 0; k < words.size(); ++k) {
    auto found = ids_->find(words[k].word);
    if (found != ids_->end()) known.emplace_back(found->second, k);
  }
  std::sort(known.begin(), known.end());
  std::vector<bool> added(words.size(), false);
  for (const auto& [id, k] : known) {
    if (!db_.exec_kept(
            "update Words set Occurrences = Occurrences + ?2 where WordID = ?1 and Word = ?3",
            {id, words[k].count, words[k].word})) {
      return false;
    }
    if (db_.changes() == 1) {
      added[k] = true;
      rows.emplace_back(id, words[k].count);
    } else {
      ids_->erase(words[k].word);
    }
  }
  // The others in the order the words first occur, so that new words get
  // their WordIDs as one update per occurrence would give them.
  for (size_t k = 0; k < words.size(); ++k) {
    if (added[k]) continue;
    int64_t id = add_to_total(words[k].word, words[k].count);
    if (id == 0) return false;
    rows.emplace_back(id, words[k].count);
  }
  // The page's rows of WordsDocs then go in WordID order, each one next to
  // the last in the table's key.
  std::sort(rows.begin(), rows.end());
  for (const auto& [id, count] : rows) {
    if (!db_.exec_kept("insert into WordsDocs (DocID, WordID, Occurrences) values (?1, ?2, ?3) "
                       "on conflict (DocID, WordID) do update set "
                       "Occurrences = Occurrences + excluded.Occurrences",
                       {int64_t{doc_id}, id, count})) {
      return false;
    }
  }
  return true;
}

WordIndexer::Result WordIndexer::index_document(const std::string& path, const LinkHandler& links,
                                                std::optional<ScannedAhead> ahead) {
  CurrentDocument& doc = state_.current;
  ScanOptions options = scan_options_for(doc.url, doc.page_title, record_words_, state_.settings);
  bool scanned = ahead && ahead->options == options;
  Scanner scanner;
  if (!scanned && !scanner.open_document(path, ui_)) return Result::kNotOpened;
  ui_.set_busy(true);
  ui_.list_append("processing:" + doc.url);
  ui_.list_select_last();
  PageScan page;
  if (scanned) {
    page = std::move(ahead->page);
  } else {
    page = scan_page(scanner, options, [this] { ui_.process_events(); });
    scanner.close();
  }
  bool ok = store_page(doc.doc_id, page, links);
  doc.page_title.clear();
  ui_.set_busy(false);
  return ok ? Result::kIndexed : Result::kDatabaseError;
}

bool WordIndexer::store_page(int32_t doc_id, const PageScan& page, const LinkHandler& links) {
  Transaction tx(db_);
  bool ok = tx.ok();
  if (ok && delete_old_) {
    ok = remove_occurrences(db_, doc_id);
  }
  delete_old_ = false;
  page_failed_ = false;
  if (ok && links) {
    for (const std::string& link : page.links) {
      links(link);
      if (page_failed_) {
        ok = false;
        break;
      }
    }
  }
  if (ok) ok = write_words(doc_id, page.words);
  if (ok) {
    std::string description;
    {
      KeptStatement row = db_.kept("select URLDescription from Docs where DocID = ?");
      ok = row->ok() && row->bind({int64_t{doc_id}});
      if (ok && row->step()) description = row->get_text(0);
      ok = ok && !row->failed();
    }
    if (ok && description.empty() && !page.title.empty()) {
      ok = db_.exec_kept("update Docs set URLDescription = ? where DocID = ?",
                         {title_description(page.title), int64_t{doc_id}});
    }
    if (ok) {
      ok = db_.exec_kept("update Docs set nStatus = 1, bIndexed = -1 where DocID = ?",
                         {int64_t{doc_id}});
    }
  }
  if (ok) ok = tx.commit();
  if (!ok) tx.rollback();
  return ok;
}

ScanOptions scan_options_for(const std::string& url, const std::string& title, bool record_words,
                             const CrawlSettings& settings) {
  ScanOptions options;
  options.plain_text = ends_with_upper(url, ".TXT") || ends_with_upper(url, ".TEXT");
  options.count_words = record_words && settings.mail_robot_mode == 0;
  options.title = title;
  return options;
}

bool delete_document(Database& db, UserInterface& ui, int32_t doc_id) {
  Transaction tx(db);
  bool all = tx.ok();
  auto report = [&] {
    ui.show_message(
        "Findlet error:", "Error erasing doc. " + std::to_string(doc_id) + "\r" + db.last_error(),
        Icon::kCritical);
    all = false;
  };
  if (!remove_occurrences(db, doc_id)) report();
  if (!db.exec("delete from Docs where DocID = ?", {int64_t{doc_id}})) report();
  // A part done alone would leave the totals or the rows behind.
  return all && tx.commit();
}

}  // namespace trawlix
