// The static web index: the word index of a WorkSpace written as files that
// a client-side search applet reads from the published site. One text file
// lists the documents; for each initial A to Z, and one group for every
// other initial, an index file of 24-byte word records and a
// cross-reference file of 6-byte document records, integers big-endian.
// docs/formats/webindex.md describes the files for their readers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "search/engine_byte_order.h"
#include "shell/database.h"
#include "shell/user_interface.h"

namespace trawlix {

inline constexpr const char kDocsFile[] = "ftsdocs.jpg";
// "ftsindex" + letter + ".jpg" and "ftscross" + letter + ".jpg"; the letter
// is empty for the group of other initials.
std::string index_file_name(std::string_view letter);
std::string cross_file_name(std::string_view letter);

inline constexpr size_t kIndexRecordSize = 24;
inline constexpr size_t kCrossRecordSize = 6;
inline constexpr size_t kIndexWordWidth = 19;
inline constexpr int kSampleStep = 100;

// Limits of the format: document numbers, documents per word and
// occurrence counts are read as 16-bit values, and so are the sample
// numbers 100, 200, ... of a group. The documents of one word never
// outnumber the documents listed.
inline constexpr int64_t kMaxDocuments = 32767;
inline constexpr int64_t kMaxOccurrences = 32767;
inline constexpr int64_t kMaxGroupWords = 32799;

// The groups in the order a run writes them: "A" to "Z", then "".
const std::vector<std::string>& web_index_groups();

// What was written for one group.
struct GroupSummary {
  std::string letter;
  int64_t words = 0;
  int64_t index_records = 0;  // header, samples and word records
  int64_t cross_records = 0;  // block headers and document records
};

// Writes the files of one run into `dir`. Each file is written under a
// temporary name; commit() puts them all in place at once, so that a run
// that fails or stops leaves the files of the earlier run as they were.
// Every failure is reported through `ui` where it happens.
class WebIndexWriter {
 public:
  WebIndexWriter(Database& db, UserInterface& ui, EngineByteOrder& byte_order, std::string dir);
  WebIndexWriter(const WebIndexWriter&) = delete;
  WebIndexWriter& operator=(const WebIndexWriter&) = delete;
  // Removes the files written and not committed.
  ~WebIndexWriter();

  enum class Result { kWritten, kEmpty, kFailed, kStopped };

  // Asked after each word; when it answers true the group ends kStopped.
  void set_stop(std::function<bool()> stop) { stop_ = std::move(stop); }

  // The documents file, from every Docs row in DocID order; fills
  // `doc_numbers`. kEmpty when Docs has no row (the file is then empty).
  // Binds the engine's byte-order functions first: when they cannot be
  // bound, nothing is written.
  Result write_docs_file();

  // The index and cross-reference files of the group `letter` ("A" to "Z",
  // or "" for the other initials). kEmpty when the group has no word, or no
  // document was listed: the group's files of an earlier run are then
  // removed by commit(). Requires: write_docs_file() did not fail.
  Result write_letter_index(const std::string& letter);

  // Puts every file written into place and removes the files of the groups
  // found empty. False, reported, when a file could not be moved.
  bool commit();

  // The number of documents listed, and the groups written, in order.
  int64_t documents() const { return static_cast<int64_t>(doc_numbers_.size()); }
  const std::vector<GroupSummary>& groups() const { return groups_; }

 private:
  // Where a DocID stands in the documents file (1-based), or 0.
  int32_t doc_number(int64_t doc_id) const;
  bool write_group(const std::string& letter,
                   const std::vector<std::pair<int64_t, std::string>>& words,
                   GroupSummary* summary);
  // Reports the database's last error; returns false.
  bool database_failed();
  void put_long(std::string& out, int64_t value) const;
  void put_int(std::string& out, int64_t value) const;
  bool stage(const std::string& name, const std::string& bytes);

  Database& db_;
  UserInterface& ui_;
  EngineByteOrder& byte_order_;
  std::string dir_;
  // `doc_numbers`: the DocIDs in ascending order; a DocID's document number
  // is its position plus one.
  std::vector<int64_t> doc_numbers_;
  bool docs_written_ = false;
  std::function<bool()> stop_;
  bool stopped_ = false;
  std::vector<GroupSummary> groups_;
  std::vector<std::string> staged_;   // final names whose temporary is written
  std::vector<std::string> removed_;  // final names of empty groups
};

// The question before a run; true when the person answered OK.
bool confirm_web_index(UserInterface& ui);

struct WebIndexReport {
  enum class Status { kWritten, kFailed, kStopped };
  Status status = Status::kFailed;
  int64_t documents = 0;
  std::vector<GroupSummary> groups;  // the groups with words, in order
};

// The whole run after the question: the documents file, the 27 groups with
// the general progress bar and the letter label, then commit. `stop` is
// asked between words; when it answers true the run ends and the earlier
// files stay.
WebIndexReport generate_web_index(Database& db, UserInterface& ui, EngineByteOrder& byte_order,
                                  const std::string& dir, const std::function<bool()>& stop = {});

}  // namespace trawlix
