// Writing the web index files from Docs, Words and WordsDocs.
#include "search/web_index.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>

#include "base/cp1252.h"
#include "base/paths.h"

namespace trawlix {
namespace {

constexpr const char kErrorTitle[] = "Web index:";
constexpr const char kLimitTitle[] = "Limit reached:";
constexpr const char kKeptNote[] = "\rThe web index files were left as they were.";
constexpr const char kTemporarySuffix[] = ".part";

// " 12 " and "-3 ": a blank, or the minus sign, before the digits and a
// blank after them.
std::string number_text(int64_t n) {
  return (n < 0 ? std::string() : std::string(" ")) + std::to_string(n) + " ";
}

// One line of the documents file. A line break inside the value would shift
// every later item, so it becomes a blank.
void put_line(std::string& out, std::string_view text) {
  for (char c : text) out += (c == '\r' || c == '\n') ? ' ' : c;
  out += "\r\n";
}

// The longest prefix that every URL shares, never longer than the shortest.
std::string common_prefix(const std::vector<std::string>& urls) {
  size_t length = urls.front().size();
  for (const std::string& url : urls) {
    size_t k = 0;
    while (k < length && k < url.size() && url[k] == urls.front()[k]) ++k;
    length = k;
  }
  return urls.front().substr(0, length);
}

std::string group_name(const std::string& letter) {
  return letter.empty() ? std::string("The group of other initials") : "Letter group " + letter;
}

}  // namespace

std::string index_file_name(std::string_view letter) {
  return "ftsindex" + std::string(letter) + ".jpg";
}

std::string cross_file_name(std::string_view letter) {
  return "ftscross" + std::string(letter) + ".jpg";
}

const std::vector<std::string>& web_index_groups() {
  static const std::vector<std::string> kGroups = [] {
    std::vector<std::string> groups;
    for (char c = 'A'; c <= 'Z'; ++c) groups.emplace_back(1, c);
    groups.emplace_back();
    return groups;
  }();
  return kGroups;
}

WebIndexWriter::WebIndexWriter(Database& db, UserInterface& ui, EngineByteOrder& byte_order,
                               std::string dir)
    : db_(db), ui_(ui), byte_order_(byte_order), dir_(std::move(dir)) {}

WebIndexWriter::~WebIndexWriter() {
  for (const std::string& name : staged_) {
    std::remove(join_path(dir_, name + kTemporarySuffix).c_str());
  }
}

int32_t WebIndexWriter::doc_number(int64_t doc_id) const {
  auto it = std::lower_bound(doc_numbers_.begin(), doc_numbers_.end(), doc_id);
  if (it == doc_numbers_.end() || *it != doc_id) return 0;
  return static_cast<int32_t>(it - doc_numbers_.begin()) + 1;
}

bool WebIndexWriter::database_failed() {
  ui_.show_message(kErrorTitle,
                   "The web index could not read the index: " + db_.last_error() + kKeptNote,
                   Icon::kCritical);
  return false;
}

void WebIndexWriter::put_long(std::string& out, int64_t value) const {
  uint8_t bytes[4];
  byte_order_.paselong(static_cast<int32_t>(value), bytes);
  out.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

void WebIndexWriter::put_int(std::string& out, int64_t value) const {
  uint8_t bytes[2];
  byte_order_.paseint(static_cast<int16_t>(value), bytes);
  out.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

bool WebIndexWriter::stage(const std::string& name, const std::string& bytes) {
  std::string path = join_path(dir_, name + kTemporarySuffix);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file.is_open() && std::find(staged_.begin(), staged_.end(), name) == staged_.end()) {
    staged_.push_back(name);
  }
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (file) return true;
  ui_.show_message(kErrorTitle,
                   "Unable to write the file " + path + ": " + system_error_text() + kKeptNote,
                   Icon::kCritical);
  return false;
}

WebIndexWriter::Result WebIndexWriter::write_docs_file() {
  std::string error;
  if (!byte_order_.bind(&error)) {
    ui_.show_message(kErrorTitle, error + "\rNo web index file was written.", Icon::kCritical);
    return Result::kFailed;
  }
  struct Row {
    int64_t doc_id;
    std::string url, description;
    int64_t level, parent;
  };
  std::vector<Row> rows;
  Statement st = db_.prepare(
      "select DocID, URLDocument, URLDescription, URLLevel, URLParent from Docs order by DocID");
  while (st.ok() && st.step()) {
    rows.push_back({st.get_int(0), st.get_text(1), st.get_text(2), st.get_int(3), st.get_int(4)});
  }
  if (!st.ok() || st.failed()) {
    database_failed();
    return Result::kFailed;
  }
  auto count = static_cast<int64_t>(rows.size());
  if (count > kMaxDocuments) {
    ui_.show_message(kLimitTitle,
                     "The web index lists at most " + std::to_string(kMaxDocuments) +
                         " documents; this WorkSpace holds " + std::to_string(count) + "." +
                         kKeptNote,
                     Icon::kCritical);
    return Result::kFailed;
  }
  doc_numbers_.clear();
  std::string text;
  if (!rows.empty()) {
    std::vector<std::string> urls;
    for (const Row& r : rows) urls.push_back(r.url);
    std::string prefix = common_prefix(urls);
    put_line(text, number_text(count));
    put_line(text, prefix);
    for (const Row& r : rows) {
      std::string rest = r.url.substr(prefix.size());
      put_line(text, rest);
      put_line(text, r.description.empty() ? rest : r.description);
      put_line(text, number_text(r.level));
      put_line(text, number_text(r.parent));
      doc_numbers_.push_back(r.doc_id);
    }
  }
  if (!stage(kDocsFile, text)) return Result::kFailed;
  docs_written_ = true;
  return rows.empty() ? Result::kEmpty : Result::kWritten;
}

WebIndexWriter::Result WebIndexWriter::write_letter_index(const std::string& letter) {
  if (!docs_written_ ||
      (!letter.empty() && (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z'))) {
    ui_.show_message(kErrorTitle,
                     "No web index group \"" + letter + "\" follows the documents file.",
                     Icon::kCritical);
    return Result::kFailed;
  }
  // Groups by the first character in binary order, so that every word
  // falls in exactly one group: digits, "_" and accented capitals such as
  // "Ñ" sort outside "A" to "Z".
  Statement st;
  if (letter.empty()) {
    st =
        db_.prepare("select WordID, Word from Words where Word < 'A' or Word >= '[' order by Word");
  } else {
    st = db_.prepare("select WordID, Word from Words where Word >= ?1 and Word < ?2 order by Word");
    if (st.ok() && !st.bind({letter, std::string(1, static_cast<char>(letter[0] + 1))})) {
      database_failed();
      return Result::kFailed;
    }
  }
  std::vector<std::pair<int64_t, std::string>> words;
  while (st.ok() && st.step()) words.emplace_back(st.get_int(0), st.get_text(1));
  if (!st.ok() || st.failed()) {
    database_failed();
    return Result::kFailed;
  }

  for (const std::string& name : {index_file_name(letter), cross_file_name(letter)}) {
    auto it = std::find(staged_.begin(), staged_.end(), name);
    if (it != staged_.end()) {
      std::remove(join_path(dir_, name + kTemporarySuffix).c_str());
      staged_.erase(it);
    }
    removed_.erase(std::remove(removed_.begin(), removed_.end(), name), removed_.end());
  }
  if (words.empty() || doc_numbers_.empty()) {
    removed_.push_back(index_file_name(letter));
    removed_.push_back(cross_file_name(letter));
    return Result::kEmpty;
  }
  auto n = static_cast<int64_t>(words.size());
  if (n > kMaxGroupWords) {
    ui_.show_message(kLimitTitle,
                     group_name(letter) + " has " + std::to_string(n) +
                         " words; the web index holds at most " + std::to_string(kMaxGroupWords) +
                         " words of one initial." + kKeptNote,
                     Icon::kCritical);
    return Result::kFailed;
  }
  GroupSummary summary{letter, n, 0, 0};
  ui_.show_progress(Progress::kIndex, true);
  ui_.set_progress(Progress::kIndex, 0, 100);
  bool ok = write_group(letter, words, &summary);
  ui_.show_progress(Progress::kIndex, false);
  if (!ok) return stopped_ ? Result::kStopped : Result::kFailed;
  groups_.push_back(summary);
  return Result::kWritten;
}

bool WebIndexWriter::write_group(const std::string& letter,
                                 const std::vector<std::pair<int64_t, std::string>>& words,
                                 GroupSummary* summary) {
  auto n = static_cast<int64_t>(words.size());
  std::string index, cross;
  auto put_word = [&](int64_t value, const std::string& word) {
    put_long(index, value);
    std::string text = cut_text(word, kIndexWordWidth);
    text.resize(kIndexWordWidth, ' ');
    index += text;
    index += '\n';
  };
  put_word(n, words.front().second);
  for (int64_t i = 1; kSampleStep * i < n; ++i)
    put_word(kSampleStep * i, words[kSampleStep * i].second);
  put_word(n, words.back().second);
  ui_.set_progress(Progress::kIndex, 1, 100);

  Statement st =
      db_.prepare("select DocID, Occurrences from WordsDocs where WordID = ?1 order by DocID");
  if (!st.ok()) return database_failed();
  int64_t next_record = 1;
  std::vector<std::pair<int32_t, int64_t>> documents;
  for (int64_t k = 1; k <= n; ++k) {
    const auto& [word_id, word] = words[k - 1];
    documents.clear();
    st.reset();
    if (!st.bind({word_id})) return database_failed();
    while (st.step()) {
      int32_t number = doc_number(st.get_int(0));
      if (number != 0) documents.emplace_back(number, st.get_int(1));
    }
    if (st.failed()) return database_failed();
    ui_.set_progress(Progress::kIndex, static_cast<int>(k * 100 / n), 100);
    // d needs no check of its own: (DocID, WordID) is the key of WordsDocs
    // and only listed documents count, so d is at most kMaxDocuments.
    auto d = static_cast<int64_t>(documents.size());
    int64_t block = next_record;
    put_long(cross, k);
    put_int(cross, d);
    ++next_record;
    for (const auto& [number, occurrences] : documents) {
      if (occurrences > kMaxOccurrences || occurrences < -kMaxOccurrences - 1) {
        ui_.show_message(kLimitTitle,
                         "The word " + word + " occurs " + std::to_string(occurrences) +
                             " times in document " + std::to_string(number) +
                             "; the web index counts at most " + std::to_string(kMaxOccurrences) +
                             " occurrences of a word in one document." + kKeptNote,
                         Icon::kCritical);
        return false;
      }
      put_long(cross, number);
      put_int(cross, occurrences);
      ++next_record;
    }
    put_word(block, word);
    ui_.process_events();
    if (stop_ && stop_()) {
      stopped_ = true;
      return false;
    }
  }
  summary->index_records = static_cast<int64_t>(index.size() / kIndexRecordSize);
  summary->cross_records = next_record - 1;
  return stage(index_file_name(letter), index) && stage(cross_file_name(letter), cross);
}

bool WebIndexWriter::commit() {
  while (!staged_.empty()) {
    std::string name = staged_.front();
    std::string path = join_path(dir_, name);
    if (std::rename((path + kTemporarySuffix).c_str(), path.c_str()) != 0) {
      ui_.show_message(kErrorTitle,
                       "Unable to put the file " + path + " in place: " + system_error_text(),
                       Icon::kCritical);
      return false;
    }
    staged_.erase(staged_.begin());
  }
  for (const std::string& name : removed_) {
    std::string path = join_path(dir_, name);
    if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
      ui_.show_message(
          kErrorTitle,
          "Unable to remove the file " + path + " of an earlier web index: " + system_error_text(),
          Icon::kCritical);
      return false;
    }
  }
  removed_.clear();
  return true;
}

bool confirm_web_index(UserInterface& ui) {
  return ui.ask("Confirm process:",
                "This option is for Findlet applet users only.\rDo you want to continue? ",
                Icon::kQuestion, Buttons::kOkCancel) == Answer::kOk;
}

WebIndexReport generate_web_index(Database& db, UserInterface& ui, EngineByteOrder& byte_order,
                                  const std::string& dir, const std::function<bool()>& stop) {
  WebIndexReport report;
  WebIndexWriter writer(db, ui, byte_order, dir);
  writer.set_stop(stop);
  const int general_end = 30;
  int general = 0;
  ui.set_busy(true);
  ui.show_progress(Progress::kGeneral, true);
  ui.set_progress(Progress::kGeneral, general, general_end);
  bool ok = writer.write_docs_file() != WebIndexWriter::Result::kFailed;
  ui.set_progress(Progress::kGeneral, ++general, general_end);
  for (const std::string& letter : web_index_groups()) {
    if (!ok) break;
    ui.set_label(Label::kLetter,
                 letter.empty() ? std::string("Misc. Index...") : "Letter " + letter);
    WebIndexWriter::Result result = writer.write_letter_index(letter);
    if (result == WebIndexWriter::Result::kStopped)
      report.status = WebIndexReport::Status::kStopped;
    ok = result == WebIndexWriter::Result::kWritten || result == WebIndexWriter::Result::kEmpty;
    if (!letter.empty()) ui.set_progress(Progress::kGeneral, ++general, general_end);
  }
  if (ok && writer.commit()) report.status = WebIndexReport::Status::kWritten;
  ui.set_label(Label::kLetter, "");
  ui.show_progress(Progress::kGeneral, false);
  ui.set_busy(false);
  report.documents = writer.documents();
  report.groups = writer.groups();
  return report;
}

}  // namespace trawlix
