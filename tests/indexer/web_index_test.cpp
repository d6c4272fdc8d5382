// The web index files: the documents file, the index and cross-reference
// files of each group, compared byte for byte with records built here and
// with hand-checked golden files; the limits of the format; failures that
// must leave the files of an earlier run alone; and a reader, written here
// from the format's description, that follows the records of a crawled
// site from each word to its documents.
#include "search/web_index.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "base/paths.h"
#include "cli/cli.h"
#include "crawler/crawl_scheduler.h"
#include "crawler/curl_http_client.h"
#include "crawler/start_urls.h"
#include "shell/workspace.h"
#include "support/http_server.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedUi;
using testing::TempDir;

// Records are built here by shifting, not through the engine, so that the
// comparison does not lean on the functions it checks.
std::string be32(int64_t v) {
  auto u = static_cast<uint32_t>(static_cast<int32_t>(v));
  return {static_cast<char>(u >> 24), static_cast<char>(u >> 16), static_cast<char>(u >> 8),
          static_cast<char>(u)};
}
std::string be16(int64_t v) {
  auto u = static_cast<uint16_t>(static_cast<int16_t>(v));
  return {static_cast<char>(u >> 8), static_cast<char>(u)};
}
std::string index_record(int64_t value, std::string word) {
  word.resize(19, ' ');
  return be32(value) + word + "\n";
}
std::string cross_record(int64_t value, int64_t count) {
  return be32(value) + be16(count);
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Every file of a directory but the database and its journal, with its
// contents.
std::map<std::string, std::string> files_of(const std::string& dir) {
  std::map<std::string, std::string> out;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (!name.starts_with(kDatabaseFile)) out[name] = read_file(entry.path().string());
  }
  return out;
}

// Finds a word's documents the way a reader of the published files does:
// the group's header and samples pick a block of at most 100 word records,
// the word record gives the cross-reference block, the block its documents.
class WebIndexReader {
 public:
  explicit WebIndexReader(std::string dir) : dir_(std::move(dir)) {
    std::istringstream docs(read_file(dir_ + "/ftsdocs.jpg"));
    std::string line;
    auto next = [&] {
      std::getline(docs, line);
      EXPECT_TRUE(line.ends_with("\r"));
      line.pop_back();
      return line;
    };
    int n = std::stoi(next());
    std::string prefix = next();
    for (int k = 0; k < n; ++k) {
      urls.push_back(prefix + next());
      next();  // description
      next();  // level
      next();  // parent
    }
  }

  // URL -> occurrences; nullopt when the word is not in the index.
  std::optional<std::map<std::string, int64_t>> find(const std::string& word) const {
    std::string letter = word[0] >= 'A' && word[0] <= 'Z' ? word.substr(0, 1) : "";
    std::string index = read_file(dir_ + "/" + index_file_name(letter));
    std::string cross = read_file(dir_ + "/" + cross_file_name(letter));
    if (index.empty()) return std::nullopt;
    auto record = [&](int64_t r) { return index.substr((r - 1) * 24, 24); };
    auto number = [](const std::string& rec) { return int32_at(rec, 0); };
    auto text = [](const std::string& rec) {
      std::string t = rec.substr(4, 19);
      return t.substr(0, t.find_last_not_of(' ') + 1);
    };
    int64_t n = number(record(1));
    int64_t samples = (n + 99) / 100;
    int64_t first = 1;  // first word position of the block
    int64_t last = 0;
    // Sample s < S holds (100 s, word 100 s + 1): the word lies in the run
    // that ends at the first sample whose word is above it, or in the last.
    for (int64_t s = 1; s <= samples; ++s) {
      std::string rec = record(1 + s);
      if (s == samples || word < text(rec)) {
        last = number(rec);
        break;
      }
      first = number(rec) + 1;
    }
    for (int64_t p = first; p <= last && p <= n; ++p) {
      std::string rec = record(1 + samples + p);
      if (text(rec) != word) continue;
      int64_t block = number(rec);
      auto at = [&](int64_t r) { return cross.substr((r - 1) * 6, 6); };
      EXPECT_EQ(int32_at(at(block), 0), p) << word;
      int64_t d = int16_at(at(block), 4);
      std::map<std::string, int64_t> found;
      for (int64_t k = 1; k <= d; ++k) {
        std::string doc = at(block + k);
        found[urls.at(int32_at(doc, 0) - 1)] = int16_at(doc, 4);
      }
      return found;
    }
    return std::nullopt;
  }

  std::vector<std::string> urls;

 private:
  static int32_t int32_at(const std::string& s, size_t at) {
    auto b = [&](size_t k) { return static_cast<uint32_t>(static_cast<uint8_t>(s[at + k])); };
    return static_cast<int32_t>(b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3));
  }
  static int16_t int16_at(const std::string& s, size_t at) {
    auto b = [&](size_t k) { return static_cast<uint16_t>(static_cast<uint8_t>(s[at + k])); };
    return static_cast<int16_t>(b(0) << 8 | b(1));
  }
  std::string dir_;
};

// Progress, labels and the busy pointer, as the main window would show them.
class RecordingUi : public ScriptedUi {
 public:
  void set_label(Label which, const std::string& text) override {
    ScriptedUi::set_label(which, text);
    if (which == Label::kLetter) labels.push_back(text);
  }
  void show_progress(Progress which, bool visible) override {
    (which == Progress::kGeneral ? general_shown : index_shown).push_back(visible);
  }
  void set_progress(Progress which, int value, int maximum) override {
    if (which == Progress::kGeneral) {
      general.push_back(value);
      general_maximum = maximum;
    } else {
      index.push_back(value);
      EXPECT_EQ(maximum, 100);
    }
  }
  void set_busy(bool busy) override { busy_depth += busy ? 1 : -1; }

  std::vector<std::string> labels;
  std::vector<bool> general_shown, index_shown;
  std::vector<int> general, index;
  int general_maximum = 0;
  int busy_depth = 0;
};

class WebIndex : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ws.start_up(dir.path()));
    db = ws.db();
  }

  int64_t add_doc(const std::string& url, std::optional<std::string> description = {},
                  int64_t level = 1, int64_t parent = 0) {
    DbValue d = description ? DbValue(*description) : DbValue();
    EXPECT_TRUE(
        db->exec("insert into Docs (URLDocument, URLDescription, URLLevel, nMaxDepth, bCrawlAbove, "
                 "URLParent, nStatus, bIndexed) values (?, ?, ?, 0, 0, ?, 1, -1)",
                 {url, d, level, parent}));
    return db->last_insert_id();
  }
  int64_t add_word(const std::string& word) {
    EXPECT_TRUE(db->exec("insert into Words (Word, Occurrences) values (?, 0)", {word}));
    return db->last_insert_id();
  }
  void occurs(int64_t word_id, int64_t doc_id, int64_t occurrences) {
    EXPECT_TRUE(db->exec("insert into WordsDocs (DocID, WordID, Occurrences) values (?, ?, ?)",
                         {doc_id, word_id, occurrences}));
  }
  // Words in one document each, as many as asked, all of the one initial.
  void add_words(const std::string& initial, int count, int64_t doc_id) {
    Transaction tx(*db);
    for (int k = 1; k <= count; ++k) {
      char name[16];
      std::snprintf(name, sizeof name, "%s%05d", initial.c_str(), k);
      occurs(add_word(name), doc_id, 1);
    }
    ASSERT_TRUE(tx.commit());
  }

  WebIndexReport run(EngineByteOrder& engine) {
    ui.messages.clear();
    return generate_web_index(*db, ui, engine, dir.path());
  }
  WebIndexReport run() { return run(engine); }
  std::string file(const std::string& name) { return read_file(dir.file(name)); }
  bool exists(const std::string& name) { return fs::exists(dir.file(name)); }
  std::string messages() {
    std::string all;
    for (const auto& m : ui.messages) all += m.title + " " + m.text + "\n";
    return all;
  }

  TempDir dir;
  RecordingUi ui;
  Workspace ws{ui};
  Database* db = nullptr;
  EngineByteOrder engine{{TRAWLIX_CARTEX32_PATH}};
};

TEST_F(WebIndex, DocumentsFileListsEveryDocumentInDocIdOrder) {
  int64_t home = add_doc("http://www.example.org/garden/index.htm", "Garden home", 1, 0);
  int64_t gone = add_doc("http://www.example.org/garden/gone.htm", "Gone");
  add_doc("http://www.example.org/garden/beds.htm", std::nullopt, 2, home);
  add_doc("http://www.example.org/garden/plan.htm", "", 0, -1);
  add_doc("http://www.example.org/garden/two.htm", "Two\r\nlines", 3, 2);
  ASSERT_TRUE(db->exec("delete from Docs where DocID = ?", {gone}));
  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  // Without a description the URL's remainder stands in; -1 takes the minus
  // sign in place of the blank; a line break inside a value would shift
  // every later item and becomes a blank.
  EXPECT_EQ(file("ftsdocs.jpg"),
            " 4 \r\nhttp://www.example.org/garden/\r\n"
            "index.htm\r\nGarden home\r\n 1 \r\n 0 \r\n"
            "beds.htm\r\nbeds.htm\r\n 2 \r\n 1 \r\n"
            "plan.htm\r\nplan.htm\r\n 0 \r\n-1 \r\n"
            "two.htm\r\nTwo  lines\r\n 3 \r\n 2 \r\n");
}

TEST_F(WebIndex, CommonPrefixEndsAtTheFirstDifferenceOrTheShortestUrl) {
  struct Case {
    std::vector<std::string> urls;
    std::string expected;
  };
  const Case cases[] = {
      // Differ in their fourth character: three characters are shared.
      {{"http://a/x.htm", "htts://a/y.htm"},
       " 2 \r\nhtt\r\np://a/x.htm\r\np://a/x.htm\r\n 1 \r\n 0 \r\n"
       "s://a/y.htm\r\ns://a/y.htm\r\n 1 \r\n 0 \r\n"},
      // One document: the whole URL is the prefix, nothing remains.
      {{"http://a/x.htm"}, " 1 \r\nhttp://a/x.htm\r\n\r\n\r\n 1 \r\n 0 \r\n"},
      // All URLs equal.
      {{"http://a/", "http://a/"},
       " 2 \r\nhttp://a/\r\n\r\n\r\n 1 \r\n 0 \r\n\r\n\r\n 1 \r\n 0 \r\n"},
      // The shortest URL is a prefix of the others.
      {{"http://a/b", "http://a/bc", "http://a/b/d"},
       " 3 \r\nhttp://a/b\r\n\r\n\r\n 1 \r\n 0 \r\nc\r\nc\r\n 1 \r\n 0 \r\n/d\r\n/d\r\n 1 \r\n 0 "
       "\r\n"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(db->exec("delete from Docs"));
    for (const std::string& url : c.urls) add_doc(url);
    ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
    EXPECT_EQ(file("ftsdocs.jpg"), c.expected) << c.urls.front();
  }
}

TEST_F(WebIndex, SampleRecordsHoldEveryHundredthWordAndTheLast) {
  int64_t doc = add_doc("http://h/a.htm");
  struct Case {
    int words;
    std::vector<std::pair<int64_t, int>> samples;  // number, 1-based word
  };
  const Case cases[] = {{1, {{1, 1}}},
                        {100, {{100, 100}}},
                        {101, {{100, 101}, {101, 101}}},
                        {250, {{100, 101}, {200, 201}, {250, 250}}}};
  for (const Case& c : cases) {
    ASSERT_TRUE(db->exec("delete from WordsDocs"));
    ASSERT_TRUE(db->exec("delete from Words"));
    add_words("W", c.words, doc);
    ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
    auto word = [](int k) {
      char name[16];
      std::snprintf(name, sizeof name, "W%05d", k);
      return std::string(name);
    };
    std::string expected = index_record(c.words, word(1));
    for (const auto& [number, k] : c.samples) expected += index_record(number, word(k));
    // Each word takes a block of two records: its header and its document.
    for (int k = 1; k <= c.words; ++k) expected += index_record(2 * k - 1, word(k));
    std::string index = file("ftsindexW.jpg");
    EXPECT_EQ(index, expected) << c.words << " words";
    // The word records start right after the samples: record 2 + S.
    size_t samples = (c.words + 99) / 100;
    ASSERT_EQ(c.samples.size(), samples);
    EXPECT_EQ(index.substr((1 + samples) * kIndexRecordSize, kIndexRecordSize),
              index_record(1, word(1)));
  }
}

TEST_F(WebIndex, CrossReferenceBlocksFollowOneAnother) {
  int64_t d1 = add_doc("http://h/1.htm");
  int64_t gone = add_doc("http://h/2.htm");
  int64_t d3 = add_doc("http://h/3.htm");
  int64_t d4 = add_doc("http://h/4.htm");
  ASSERT_TRUE(db->exec("delete from Docs where DocID = ?", {gone}));
  int64_t apple = add_word("APPLE");
  occurs(apple, d4, 2);
  occurs(apple, d1, 3);
  int64_t april = add_word("APRIL");
  occurs(april, d3, 32767);
  occurs(april, gone, 9);  // a row whose document is gone is left out
  int64_t axe = add_word("AXE");
  occurs(axe, gone, 1);
  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  // Documents are numbered by their place in ftsdocs.jpg: DocIDs 1, 3, 4
  // are documents 1, 2, 3.
  EXPECT_EQ(file("ftscrossA.jpg"), cross_record(1, 2) + cross_record(1, 3) + cross_record(3, 2) +
                                       cross_record(2, 1) + cross_record(2, 32767) +
                                       cross_record(3, 0));
  EXPECT_EQ(file("ftsindexA.jpg"), index_record(3, "APPLE") + index_record(3, "AXE") +
                                       index_record(1, "APPLE") + index_record(4, "APRIL") +
                                       index_record(6, "AXE"));
  ASSERT_EQ(ui.messages.size(), 0u) << messages();
}

TEST_F(WebIndex, GroupsFollowTheFirstCharacterInBinaryOrder) {
  int64_t doc = add_doc("http://h/a.htm");
  for (const char* w : {"ZOO", "AZ", "2024", "_TMP",
                        "\xD1"
                        "ANDU",
                        "\xDE"
                        "ORN",
                        "ABC", "Z9"}) {
    occurs(add_word(w), doc, 1);
  }
  WebIndexReport report = run();
  ASSERT_EQ(report.status, WebIndexReport::Status::kWritten) << messages();
  EXPECT_EQ(file("ftsindex.jpg"), index_record(4, "2024") +
                                      index_record(4,
                                                   "\xDE"
                                                   "ORN") +
                                      index_record(1, "2024") + index_record(3, "_TMP") +
                                      index_record(5,
                                                   "\xD1"
                                                   "ANDU") +
                                      index_record(7,
                                                   "\xDE"
                                                   "ORN"));
  EXPECT_EQ(file("ftsindexZ.jpg").substr(2 * kIndexRecordSize),
            index_record(1, "Z9") + index_record(3, "ZOO"));
  EXPECT_EQ(file("ftsindexA.jpg").substr(2 * kIndexRecordSize),
            index_record(1, "ABC") + index_record(3, "AZ"));
  // Only groups with words are written and reported, the other group last.
  std::vector<std::string> letters;
  int64_t words = 0;
  for (const GroupSummary& g : report.groups) {
    letters.push_back(g.letter);
    words += g.words;
  }
  EXPECT_EQ(letters, (std::vector<std::string>{"A", "Z", ""}));
  EXPECT_EQ(words, 8);
  std::map<std::string, std::string> files = files_of(dir.path());
  EXPECT_EQ(files.size(), 7u);
  EXPECT_FALSE(files.count("ftsindexB.jpg"));
}

// The golden files were written by this writer from the fixture below and
// then read by hand, once, against the fixture: `xxd -c 24` of each index
// file (header n and first word; samples 100, 200, 250 with WORD101,
// WORD201, WORD250 in ftsindexW.jpg; each word record pointing at its
// block), `xxd -c 6` of each cross-reference file (k, d, then d pairs of
// document number and occurrences), and ftsdocs.jpg line by line. Set
// TRAWLIX_GOLDEN_OUT to a folder to get this run's files for such a review.
TEST_F(WebIndex, SmallIndexMatchesHandCheckedFiles) {
  Transaction tx(*db);
  int64_t home = add_doc("http://www.example.org/garden/index.htm", "Garden home", 1, 0);
  int64_t beds = add_doc("http://www.example.org/garden/beds.htm", std::nullopt, 2, home);
  int64_t gone = add_doc("http://www.example.org/garden/gone.htm", "Gone", 2, home);
  int64_t soup =
      add_doc("http://www.example.org/garden/kitchen/soup.htm", "Soup of the day", 2, home);
  ASSERT_TRUE(db->exec("delete from Docs where DocID = ?", {gone}));
  int64_t w = add_word("APPLE");
  occurs(w, home, 3);
  occurs(w, soup, 1);
  occurs(add_word("AUTUMN"), beds, 1);
  w = add_word("BEAN");
  occurs(w, home, 2);
  occurs(w, beds, 5);
  occurs(w, soup, 1);
  occurs(add_word("BED"), beds, 7);
  occurs(add_word("2024"), soup, 1);
  occurs(add_word("_TMP"), home, 1);
  occurs(add_word("\xD1"
                  "ANDU"),
         soup, 2);
  occurs(add_word("ORPHAN"), gone, 4);
  const int64_t docs[] = {home, beds, soup};
  for (int k = 1; k <= 250; ++k) {
    char name[16];
    std::snprintf(name, sizeof name, "WORD%03d", k);
    occurs(add_word(name), docs[k % 3], k % 7 + 1);
  }
  ASSERT_TRUE(tx.commit());
  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  std::map<std::string, std::string> got = files_of(dir.path());
  if (const char* out = std::getenv("TRAWLIX_GOLDEN_OUT")) {
    for (const auto& [name, bytes] : got) std::ofstream(std::string(out) + "/" + name) << bytes;
  }
  std::map<std::string, std::string> golden = files_of(TRAWLIX_GOLDEN_DIR "/webindex");
  ASSERT_EQ(golden.size(), 11u);
  EXPECT_EQ(got.size(), golden.size());
  for (const auto& [name, bytes] : golden) {
    ASSERT_TRUE(got.count(name)) << name;
    EXPECT_TRUE(got[name] == bytes) << name << " differs from the golden file";
  }
  // Every word, the first and last of each run of 100 among them.
  WebIndexReader reader(dir.path());
  Statement words = db->prepare("select Word from Words");
  int found = 0;
  while (words.step()) found += reader.find(words.get_text(0)).has_value();
  EXPECT_EQ(found, 258);
  EXPECT_EQ(
      reader.find("WORD101"),
      (std::map<std::string, int64_t>{{"http://www.example.org/garden/kitchen/soup.htm", 4}}));
  EXPECT_EQ(reader.find("ORPHAN"), (std::map<std::string, int64_t>{}));
  EXPECT_FALSE(reader.find("WORD1005").has_value());
}

TEST_F(WebIndex, RunShowsProgressAndLetters) {
  int64_t doc = add_doc("http://h/a.htm");
  add_words("M", 250, doc);
  occurs(add_word("APPLE"), doc, 1);
  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  std::vector<int> general;
  for (int k = 0; k <= 27; ++k) general.push_back(k);
  EXPECT_EQ(ui.general, general);
  EXPECT_EQ(ui.general_maximum, 30);
  EXPECT_EQ(ui.general_shown, (std::vector<bool>{true, false}));
  std::vector<std::string> labels;
  for (char c = 'A'; c <= 'Z'; ++c) labels.push_back(std::string("Letter ") + c);
  labels.push_back("Misc. Index...");
  labels.push_back("");
  EXPECT_EQ(ui.labels, labels);
  // The per-letter bar: shown and hidden once per group with words; 0, 1,
  // then k * 100 / n after each word, ending at 100.
  EXPECT_EQ(ui.index_shown, (std::vector<bool>{true, false, true, false}));
  ASSERT_EQ(ui.index.size(), 2u + 1 + 2 + 250);
  EXPECT_EQ(std::vector<int>(ui.index.begin(), ui.index.begin() + 3),
            (std::vector<int>{0, 1, 100}));
  EXPECT_EQ(ui.index[5], 0);  // 1 * 100 / 250
  EXPECT_EQ(ui.index.back(), 100);
  EXPECT_TRUE(std::is_sorted(ui.index.begin() + 5, ui.index.end()));
  EXPECT_EQ(ui.busy_depth, 0);
  EXPECT_GE(ui.events_processed, 251);
}

TEST_F(WebIndex, QuestionComesFirstAndCancelWritesNothing) {
  ui.script({Answer::kCancel, Answer::kOk});
  EXPECT_FALSE(confirm_web_index(ui));
  EXPECT_TRUE(confirm_web_index(ui));
  ASSERT_EQ(ui.messages.size(), 2u);
  const testing::RecordedMessage& q = ui.messages[0];
  EXPECT_EQ(q.title, "Confirm process:");
  EXPECT_EQ(q.text, "This option is for Findlet applet users only.\rDo you want to continue? ");
  EXPECT_EQ(q.icon, Icon::kQuestion);
  EXPECT_EQ(q.buttons, Buttons::kOkCancel);
  EXPECT_TRUE(q.question);
}

TEST_F(WebIndex, EmptyGroupsLoseTheirFilesOfAnEarlierRun) {
  int64_t doc = add_doc("http://h/a.htm");
  occurs(add_word("APPLE"), doc, 1);
  int64_t bean = add_word("BEAN");
  occurs(bean, doc, 1);
  std::ofstream(dir.file("ftsindexC.jpg")) << "from an earlier run";
  std::ofstream(dir.file("ftscross.jpg")) << "from an earlier run";
  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  EXPECT_TRUE(exists("ftsindexB.jpg"));
  EXPECT_FALSE(exists("ftsindexC.jpg"));
  EXPECT_FALSE(exists("ftscross.jpg"));

  ASSERT_TRUE(db->exec("delete from WordsDocs where WordID = ?", {bean}));
  ASSERT_TRUE(db->exec("delete from Words where WordID = ?", {bean}));
  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  EXPECT_FALSE(exists("ftsindexB.jpg"));
  EXPECT_FALSE(exists("ftscrossB.jpg"));
  EXPECT_TRUE(exists("ftsindexA.jpg"));

  // No document at all: an empty documents file and no group files, though
  // the words are still there.
  ASSERT_TRUE(db->exec("delete from Docs"));
  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  EXPECT_EQ(files_of(dir.path()), (std::map<std::string, std::string>{{"ftsdocs.jpg", ""}}));
}

TEST_F(WebIndex, MissingEngineWritesNothing) {
  int64_t doc = add_doc("http://h/a.htm");
  occurs(add_word("APPLE"), doc, 1);
  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  occurs(add_word("BEAN"), doc, 1);
  std::map<std::string, std::string> before = files_of(dir.path());

  EngineByteOrder missing({dir.file("no/libcartex32.so"), dir.file("neither/libcartex32.so")});
  EXPECT_EQ(run(missing).status, WebIndexReport::Status::kFailed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Web index:");
  EXPECT_NE(ui.messages[0].text.find("libcartex32.so.0 could not be loaded"), std::string::npos);
  EXPECT_NE(ui.messages[0].text.find(dir.file("neither/libcartex32.so")), std::string::npos);
  EXPECT_EQ(files_of(dir.path()), before);

  // A library that opens but is not the engine.
  EngineByteOrder other({"libsqlite3.so.0"});
  EXPECT_EQ(run(other).status, WebIndexReport::Status::kFailed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("paselong and paseint are missing"), std::string::npos);
  EXPECT_EQ(files_of(dir.path()), before);
}

TEST_F(WebIndex, EngineIsLookedForBesideTheProgramFirst) {
  const char* set = std::getenv(kEngineLibraryVariable);
  std::optional<std::string> saved = set ? std::optional<std::string>(set) : std::nullopt;
  unsetenv(kEngineLibraryVariable);
  std::vector<std::string> found = engine_library_candidates();
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0], program_directory() + "/libcartex32.so.0");
  EXPECT_EQ(found[1], program_directory() + "/../lib/libcartex32.so.0");
  EXPECT_EQ(found[2], "libcartex32.so.0");
  setenv(kEngineLibraryVariable, "/opt/engine/libcartex32.so", 1);
  EXPECT_EQ(engine_library_candidates(), std::vector<std::string>{"/opt/engine/libcartex32.so"});
  unsetenv(kEngineLibraryVariable);
  // The built program's layout: bin/ beside lib/.
  EngineByteOrder beside(engine_library_candidates());
  if (saved) setenv(kEngineLibraryVariable, saved->c_str(), 1);
  std::string error;
  ASSERT_TRUE(beside.bind(&error)) << error;
  uint8_t bytes[4];
  beside.paselong(0x01020304, bytes);
  EXPECT_EQ(std::string(bytes, bytes + 4), "\x01\x02\x03\x04");
}

TEST_F(WebIndex, LimitsOfTheFormatAreReportedAndKeepTheEarlierFiles) {
  int64_t doc = add_doc("http://h/a.htm");
  int64_t apple = add_word("APPLE");
  occurs(apple, doc, 32767);
  add_words("Q", 32799, doc);
  WebIndexReport report = run();
  ASSERT_EQ(report.status, WebIndexReport::Status::kWritten) << messages();
  // The largest group the 16-bit sample numbers allow: samples up to 32700.
  std::string q = file("ftsindexQ.jpg");
  ASSERT_EQ(q.size(), (1 + 328 + 32799) * kIndexRecordSize);
  EXPECT_EQ(q.substr(327 * kIndexRecordSize, 2 * kIndexRecordSize),
            index_record(32700, "Q32701") + index_record(32799, "Q32799"));
  std::map<std::string, std::string> before = files_of(dir.path());

  struct Case {
    const char* sql;
    const char* text;
  };
  const Case cases[] = {
      {"update WordsDocs set Occurrences = 32768 where WordID = 1",
       "The word APPLE occurs 32768 times in document 1; the web index counts at most 32767"},
      {"insert into Words (Word, Occurrences) values ('Q32800', 0)",
       "Letter group Q has 32800 words; the web index holds at most 32799 words of one initial."},
      {"insert into Docs (URLDocument, URLLevel, URLParent) with recursive n(i) as "
       "(select 2 union all select i + 1 from n where i < 32768) select 'http://h/' || i, 1, 0 "
       "from n",
       "The web index lists at most 32767 documents; this WorkSpace holds 32768."},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(db->exec("savepoint limit_case"));
    ASSERT_TRUE(db->exec(c.sql)) << db->last_error();
    EXPECT_EQ(run().status, WebIndexReport::Status::kFailed) << c.sql;
    ASSERT_EQ(ui.messages.size(), 1u) << messages();
    EXPECT_EQ(ui.messages[0].title, "Limit reached:");
    EXPECT_NE(ui.messages[0].text.find(c.text), std::string::npos) << ui.messages[0].text;
    EXPECT_NE(ui.messages[0].text.find("left as they were"), std::string::npos);
    EXPECT_TRUE(files_of(dir.path()) == before) << c.sql;
    ASSERT_TRUE(db->exec("rollback to limit_case"));
    ASSERT_TRUE(db->exec("release limit_case"));
  }
}

TEST_F(WebIndex, AsManyDocumentsAsTheLimitAreListed) {
  ASSERT_TRUE(
      db->exec("insert into Docs (URLDocument, URLLevel, URLParent) with recursive n(i) as "
               "(select 1 union all select i + 1 from n where i < 32767) select 'http://h/' || i, "
               "1, 0 from n"));
  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  std::string docs = file("ftsdocs.jpg");
  EXPECT_TRUE(docs.starts_with(" 32767 \r\nhttp://h/\r\n1\r\n1\r\n 1 \r\n 0 \r\n2\r\n"))
      << docs.substr(0, 40);
  EXPECT_TRUE(docs.ends_with("32767\r\n32767\r\n 1 \r\n 0 \r\n"));
}

TEST_F(WebIndex, FailedWriteOrStopKeepsTheEarlierFiles) {
  int64_t doc = add_doc("http://h/a.htm");
  occurs(add_word("APPLE"), doc, 1);
  occurs(add_word("BEAN"), doc, 2);
  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  occurs(add_word("BERRY"), doc, 3);
  std::map<std::string, std::string> before = files_of(dir.path());

  // A folder in the way of the temporary file of group B.
  fs::create_directory(dir.file("ftsindexB.jpg.part"));
  EXPECT_EQ(run().status, WebIndexReport::Status::kFailed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("Unable to write the file"), std::string::npos);
  fs::remove(dir.file("ftsindexB.jpg.part"));
  EXPECT_EQ(files_of(dir.path()), before);

  int asked = 0;
  WebIndexReport stopped =
      generate_web_index(*db, ui, engine, dir.path(), [&] { return ++asked == 2; });
  EXPECT_EQ(stopped.status, WebIndexReport::Status::kStopped);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(files_of(dir.path()), before);
  EXPECT_EQ(ui.labels.back(), "");
  EXPECT_EQ(ui.busy_depth, 0);
}

TEST_F(WebIndex, CommandLinePrintsWordsAndRecordsPerGroup) {
  int64_t doc = add_doc("http://h/a.htm");
  occurs(add_word("APPLE"), doc, 1);
  occurs(add_word("ACORN"), doc, 1);
  occurs(add_word("_X"), doc, 1);
  auto cli = [&](std::vector<std::string> words, std::string* out) {
    words.insert(words.begin(), {"trawlix-cli", "-w", dir.path(), "webindex"});
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    std::ostringstream o, e;
    int status = cli::run(static_cast<int>(argv.size()), argv.data(), o, e);
    *out = o.str();
    return status;
  };
  std::string out;
  // Without --yes and without a terminal the question is cancelled.
  EXPECT_EQ(cli({}, &out), cli::kExitFailure);
  EXPECT_FALSE(exists("ftsdocs.jpg"));
  // The engine is found by the program's own lookup.
  ASSERT_EQ(cli({"--yes"}, &out), cli::kExitOk);
  EXPECT_EQ(out,
            "documents\t1\n"
            "group\twords\tindex records\tcross-reference records\n"
            "A\t2\t4\t4\n"
            "other\t1\t3\t2\n");
  EXPECT_TRUE(exists("ftsindexA.jpg"));
}

TEST_F(WebIndex, ReaderFollowsEveryWordOfTheCrawledSampleSite) {
  testing::TestHttpServer server;
  ASSERT_TRUE(server.server().set_mount_point("/", TRAWLIX_DATA_DIR "/site"));
  StartUrl start;
  start.url = server.url("/index.htm");
  start.max_depth = 3;
  ASSERT_EQ(add_start_url(*db, ui, start), AddResult::kAdded);
  IndexerState state;
  CurlHttpClient http;
  CrawlScheduler crawler(ws, state, ui, http);
  ASSERT_TRUE(crawler.start_crawl());
  ASSERT_GT(db->query_int("select count(*) from Words"), 100);

  ASSERT_EQ(run().status, WebIndexReport::Status::kWritten) << messages();
  WebIndexReader reader(dir.path());
  std::vector<std::string> urls;
  Statement docs = db->prepare("select URLDocument from Docs order by DocID");
  while (docs.step()) urls.push_back(docs.get_text(0));
  EXPECT_EQ(reader.urls, urls);

  std::map<std::string, std::map<std::string, int64_t>> expected;
  Statement st = db->prepare(
      "select Word, URLDocument, WordsDocs.Occurrences from Words join WordsDocs using (WordID) "
      "join Docs using (DocID)");
  while (st.step()) expected[st.get_text(0)][st.get_text(1)] = st.get_int(2);
  ASSERT_FALSE(expected.empty());
  bool digit = false;
  for (const auto& [word, documents] : expected) {
    digit = digit || (word[0] >= '0' && word[0] <= '9');
    std::optional<std::map<std::string, int64_t>> found = reader.find(word);
    ASSERT_TRUE(found.has_value()) << word;
    EXPECT_EQ(*found, documents) << word;
  }
  EXPECT_TRUE(digit);
  EXPECT_FALSE(reader.find("NOSUCHWORD").has_value());
  EXPECT_FALSE(reader.find("ZZZZ").has_value());
}

}  // namespace
}  // namespace trawlix
