// The indexer's state machine over the token stream, and the word tables.
#include "text/word_index.h"

#include "base/cp1252.h"
#include "text/scanner.h"
#include "text/scanner_tables.h"

namespace trawlix {
namespace {

enum Mode {
  kBeforeFirstTag = 0,
  kTagOpener = 1,
  kAnchor = 2,
  kFrame = 3,
  kKnownTag = 4,
  kText = 5,
  kTitle = 6,
  kPlainText = 7,
  kScript = 8,
  kComment = 9,
};

bool is_quote(const std::string& token) {
  return token == "\"" || token == "'";
}

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
// results page or the web index meets them.
std::string title_description(const std::string& title) {
  std::string text = cut_text(title, kDescriptionWidth);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = ' ';
  }
  return text;
}

}  // namespace

void WordIndexer::check_reindex(int32_t doc_id) {
  (void)doc_id;
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

void WordIndexer::add_word(const std::string& token) {
  if (state_.settings.mail_robot_mode != 0 || !record_words_) return;
  std::string word = cut_text(token, kWordWidth);
  if (word.size() < 2 || word_char_position(word[0]) == 0) return;
  auto [it, inserted] = word_slot_.try_emplace(word, words_.size());
  if (inserted) {
    words_.emplace_back(word, 1);
  } else {
    ++words_[it->second].second;
  }
}

bool WordIndexer::write_words(int32_t doc_id) {
  // The page's words go to the database as one JSON array of [word, count]
  // pairs in the order they first occur, and two statements write them all:
  // Words gains its rows in that order, as one update per occurrence would
  // leave it, and each count is added once.
  std::string list = "[";
  for (const auto& [text, count] : words_) {
    if (list.size() > 1) list += ',';
    list += "[\"";
    for (char c : text) {
      if (c == '"' || c == '\\') list += '\\';
      list += c;
    }
    list += "\"," + std::to_string(count) + "]";
  }
  list += "]";
  return db_.exec(
             "insert into Words (Word, Occurrences) "
             "select value ->> 0, value ->> 1 from json_each(?1) where true "
             "on conflict (Word) do update set Occurrences = Occurrences + excluded.Occurrences",
             {list}) &&
         db_.exec(
             "insert into WordsDocs (DocID, WordID, Occurrences) "
             "select ?2, Words.WordID, json_each.value ->> 1 from json_each(?1), Words "
             "where Words.Word = json_each.value ->> 0 "
             "on conflict (DocID, WordID) do update set "
             "Occurrences = Occurrences + excluded.Occurrences",
             {list, int64_t{doc_id}});
}

WordIndexer::Result WordIndexer::index_document(const std::string& path, const LinkHandler& links) {
  Scanner scanner;
  if (!scanner.open_document(path, ui_)) return Result::kNotOpened;
  CurrentDocument& doc = state_.current;
  ui_.set_busy(true);
  ui_.list_append("processing:" + doc.url);
  ui_.list_select_last();
  words_.clear();
  word_slot_.clear();

  Transaction tx(db_);
  bool ok = tx.ok();
  if (ok && delete_old_) {
    ok = remove_occurrences(db_, doc.doc_id);
  }
  delete_old_ = false;

  auto take = [&scanner] { scanner.next_token(); };
  page_failed_ = false;
  auto follow = [&] {
    scanner.read_link();
    if (links) links(scanner.link_text());
    if (page_failed_) ok = false;
  };
  int mode = kBeforeFirstTag;
  if (ends_with_upper(doc.url, ".TXT") || ends_with_upper(doc.url, ".TEXT")) mode = kPlainText;
  std::string closer;  // the end tag of a script or style sheet
  take();
  while (ok && !scanner.token().empty()) {
    const std::string& token = scanner.token();
    switch (mode) {
      case kBeforeFirstTag:
        if (token[0] == '<') {
          mode = kTagOpener;
        } else {
          take();
        }
        break;
      case kTagOpener:
        if (token == "<!--") {
          mode = kComment;
        } else if (token == "<META") {
          mode = kText;
        } else if (token == "<A") {
          mode = kAnchor;
        } else if (token == "<FRAME") {
          mode = kFrame;
        } else if (token == "<TITLE") {
          mode = kTitle;
        } else if (token == "<SCRIPT" || token == "<STYLE") {
          closer = "</" + token.substr(1);
          mode = kScript;
        } else {
          mode = is_known_tag(token) ? kKnownTag : kText;
        }
        take();
        break;
      case kAnchor:
      case kFrame:
        // The link attribute may stand anywhere in the tag.
        if (token == (mode == kAnchor ? "HREF" : "SRC")) {
          follow();
          mode = kKnownTag;
        } else if (token == ">") {
          mode = kText;
          take();
        } else {
          take();
        }
        break;
      case kKnownTag:
        if (token == ">") {
          mode = kText;
          take();
        } else if (token == "ALT") {
          take();
          take();
          for (take(); !scanner.token().empty() && !is_quote(scanner.token()); take()) {
            add_word(scanner.token());
          }
          take();
        } else {
          take();
        }
        break;
      case kText:
        if (token[0] != '<') {
          add_word(token);
          take();
        } else if (token.starts_with("</")) {
          take();
          take();
        } else {
          mode = kTagOpener;
        }
        break;
      case kTitle:
        if (!doc.page_title.empty() || token != ">") {
          mode = kText;
        } else {
          take();
          while (!scanner.token().empty() && !scanner.token().starts_with("</")) {
            doc.page_title += scanner.token_text() + " ";
            add_word(scanner.token());
            take();
          }
        }
        break;
      case kPlainText:
        add_word(token);
        take();
        break;
      case kScript:
        while (!scanner.token().empty() && scanner.token() != closer) take();
        take();
        take();
        mode = kTagOpener;
        break;
      case kComment:
        while (!scanner.token().empty() && scanner.token() != "-->") take();
        take();
        mode = kTagOpener;
        break;
    }
    ui_.process_events();
  }
  scanner.close();

  if (ok) ok = write_words(doc.doc_id);
  if (ok) {
    Statement row = db_.prepare("select URLDescription from Docs where DocID = ?");
    ok = row.ok() && row.bind({int64_t{doc.doc_id}});
    std::string description;
    if (ok && row.step()) description = row.get_text(0);
    ok = ok && !row.failed();
    if (ok && description.empty() && !doc.page_title.empty()) {
      ok = db_.exec("update Docs set URLDescription = ? where DocID = ?",
                    {title_description(doc.page_title), int64_t{doc.doc_id}});
    }
    if (ok) {
      ok = db_.exec("update Docs set nStatus = 1, bIndexed = -1 where DocID = ?",
                    {int64_t{doc.doc_id}});
    }
  }
  if (ok) ok = tx.commit();
  if (!ok) tx.rollback();
  words_.clear();
  word_slot_.clear();
  doc.page_title.clear();
  ui_.set_busy(false);
  return ok ? Result::kIndexed : Result::kDatabaseError;
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
