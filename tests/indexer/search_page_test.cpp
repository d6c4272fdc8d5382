// The search page beside the web index: its fold of query words is the
// scanner's, and the web index command copies its files next to the index
// files, keeping the earlier copy when it cannot write a new one.
#include "search/search_page.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "base/cp1252.h"
#include "base/paths.h"
#include "support/cli_run.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "text/scanner_tables.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedUi;
using testing::TempDir;

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The string literal `name` of the page's script, its \xNN escapes
// decoded, as Windows-1252 bytes.
std::string script_literal(const std::string& script, const std::string& name) {
  std::smatch m;
  if (!std::regex_search(script, m, std::regex("const " + name + " =\\s*\"([^\"]*)\";"))) {
    ADD_FAILURE() << "search.js has no literal " << name;
    return {};
  }
  std::string text = m[1], bytes;
  for (size_t k = 0; k < text.size(); ++k) {
    if (text.compare(k, 2, "\\x") == 0) {
      bytes += static_cast<char>(std::stoi(text.substr(k + 2, 2), nullptr, 16));
      k += 3;
    } else {
      EXPECT_NE(text[k], '\\') << name << " holds an escape other than \\xNN";
      bytes += text[k];
    }
  }
  return bytes;
}

TEST(SearchPage, FoldsQueryCharactersAsTheScannerFoldsPageText) {
  std::string script = read_file(TRAWLIX_WEB_SOURCE_DIR "/search.js");
  std::string chars = script_literal(script, "WORD_CHARS");
  std::string folded = script_literal(script, "WORD_FOLDED");
  ASSERT_EQ(chars.size(), folded.size());
  // The scanner upper-cases a line, then folds each character it finds in
  // its word table; a character whose upper case is no word character ends
  // the word (ÿ becomes Ÿ, which is none).
  std::string expected_chars, expected_folded;
  for (int b = 1; b < 256; ++b) {
    char upper = upper_cp1252(static_cast<char>(b));
    int position = word_char_position(upper);
    if (position == 0) continue;
    expected_chars += static_cast<char>(b);
    char f = upper;
    if (position >= 63) f = scanner_tables().folded_chars[static_cast<size_t>(position - 1)];
    expected_folded += f;
  }
  EXPECT_EQ(cp1252_to_utf8(chars), cp1252_to_utf8(expected_chars));
  EXPECT_EQ(cp1252_to_utf8(folded), cp1252_to_utf8(expected_folded));
}

TEST(SearchPage, BuildTreeHoldsThePageBesideTheProgram) {
  unsetenv("TRAWLIX_WEB_DIR");
  for (const std::string& name : search_page_files()) {
    EXPECT_EQ(read_file(join_path(search_page_directory(), name)),
              read_file(join_path(TRAWLIX_WEB_SOURCE_DIR, name)))
        << name;
  }
}

TEST(SearchPage, CopyReplacesThePageOrKeepsTheEarlierOne) {
  struct Case {
    const char* what;
    const char* missing_source;  // a file taken away from the source folder
    const char* blocked;         // a folder in the way of a target file
    bool copied;
    const char* message;
  };
  const Case cases[] = {
      {"copies every file", nullptr, nullptr, true, ""},
      {"a source file missing", "search.css", nullptr, false, "search.css could not be read"},
      {"a target in the way", nullptr, "search.js", false, "Unable to write the file"},
  };
  for (const Case& c : cases) {
    TempDir from, dir;
    for (const std::string& name : search_page_files()) {
      if (c.missing_source && name == c.missing_source) continue;
      std::ofstream(from.file(name)) << "new " << name;
      std::ofstream(dir.file(name)) << "old " << name;
    }
    if (c.blocked) {
      fs::remove(dir.file(c.blocked));
      fs::create_directory(dir.file(c.blocked));
      fs::create_directory(dir.file(std::string(c.blocked) + "/in the way"));
    }
    ScriptedUi ui;
    EXPECT_EQ(copy_search_page(ui, dir.path(), from.path()), c.copied) << c.what;
    if (c.copied) {
      EXPECT_TRUE(ui.messages.empty()) << c.what;
    } else {
      ASSERT_EQ(ui.messages.size(), 1u) << c.what;
      EXPECT_NE(ui.messages[0].text.find(c.message), std::string::npos) << ui.messages[0].text;
      EXPECT_NE(ui.messages[0].text.find("the search page was not copied"), std::string::npos);
    }
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      std::string name = entry.path().filename().string();
      EXPECT_FALSE(name.ends_with(".part")) << c.what << ": " << name;
      if (!entry.is_regular_file()) continue;
      // A file is either the new one whole or still the old one.
      std::string text = read_file(entry.path().string());
      EXPECT_TRUE(text == "new " + name || (!c.copied && text == "old " + name))
          << c.what << ": " << name << " holds " << text;
    }
  }
}

TEST(SearchPage, CommandLineCopiesThePageAndFailsWithoutIt) {
  TempDir ws, empty;
  ASSERT_EQ(testing::run_cli({"-w", ws.path(), "init"}).status, cli::kExitOk);
  setenv("TRAWLIX_WEB_DIR", empty.path().c_str(), 1);
  testing::CliResult missing = testing::run_cli({"-w", ws.path(), "webindex", "--yes"});
  EXPECT_EQ(missing.status, cli::kExitFailure);
  EXPECT_NE(missing.err.find("search.html could not be read"), std::string::npos) << missing.err;
  EXPECT_TRUE(fs::exists(ws.file("ftsdocs.jpg")));
  EXPECT_FALSE(fs::exists(ws.file("search.html")));

  setenv("TRAWLIX_WEB_DIR", TRAWLIX_WEB_SOURCE_DIR, 1);
  testing::CliResult copied = testing::run_cli({"-w", ws.path(), "webindex", "--yes"});
  EXPECT_EQ(copied.status, cli::kExitOk) << copied.err;
  for (const std::string& name : search_page_files()) {
    EXPECT_EQ(read_file(ws.file(name)), read_file(join_path(TRAWLIX_WEB_SOURCE_DIR, name)));
  }
  unsetenv("TRAWLIX_WEB_DIR");
}

}  // namespace
}  // namespace trawlix
