// The document table editor: loading, selecting, editing, saving by DocID
// in one transaction, the limits checked first, and deleting.
#include "search/document_editor.h"

#include <gtest/gtest.h>

#include "shell/workspace.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

using Rows = std::vector<std::vector<DbValue>>;

class DocumentEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ws.start_up(dir.path()));
    db = ws.db();
  }

  int32_t add_doc(const std::string& url, DbValue description, int level, int32_t parent) {
    EXPECT_TRUE(
        db->exec("insert into Docs (URLDocument, URLDescription, URLLevel, nMaxDepth, bCrawlAbove, "
                 "URLParent, nStatus, bIndexed) values (?, ?, ?, 0, 0, ?, 1, -1)",
                 {url, description, int64_t{level}, int64_t{parent}}));
    return static_cast<int32_t>(db->last_insert_id());
  }
  void add_three() {
    a = add_doc("http://h/a.htm", std::string("Page A"), 1, 0);
    b = add_doc("http://h/b.htm", std::string("Page B"), 2, a);
    c = add_doc("http://h/c.htm", std::string("Page C"), 3, b);
  }
  Rows docs() { return db->query_rows("select * from Docs order by DocID").value(); }
  DbValue column(const char* name, int32_t doc_id) {
    auto rows = db->query_rows(std::string("select ") + name + " from Docs where DocID = ?",
                               {int64_t{doc_id}});
    return rows && rows->size() == 1 ? (*rows)[0][0] : DbValue{std::string("(no row)")};
  }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  Workspace ws{ui};
  Database* db = nullptr;
  int32_t a = 0, b = 0, c = 0;
};

TEST(LeadingNumber, TakesTheNumberATypedLevelBeginsWith) {
  EXPECT_EQ(leading_number("12abc"), 12);
  EXPECT_EQ(leading_number("  7 "), 7);
  EXPECT_EQ(leading_number("abc"), 0);
  EXPECT_EQ(leading_number(""), 0);
  EXPECT_EQ(leading_number("-3x"), -3);
  EXPECT_EQ(leading_number("+4"), 4);
  EXPECT_EQ(leading_number("2.5"), 3);
  EXPECT_EQ(leading_number("2.49"), 2);
  EXPECT_EQ(leading_number("99999999999999999999"), INT32_MAX);
  EXPECT_EQ(leading_number("-99999999999999999999"), INT32_MIN);
}

TEST_F(DocumentEditorTest, LoadsTheWorkingCopyAndSelectsTheFirstRow) {
  add_three();
  DocumentEditor editor(*db, ui);
  ASSERT_TRUE(editor.load_form());
  ASSERT_EQ(editor.count(), 3u);
  EXPECT_EQ(editor.url(1), "http://h/b.htm");
  EXPECT_EQ(editor.doc_id(2), c);
  EXPECT_EQ(editor.edit_descriptions(), (std::vector<std::string>{"Page A", "Page B", "Page C"}));
  EXPECT_EQ(editor.edit_levels(), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(editor.edit_parents(), (std::vector<int32_t>{0, a, b}));
  ASSERT_EQ(editor.parent_entries().size(), 4u);
  EXPECT_EQ(editor.parent_entries()[0].caption, "(HOME PAGE)");
  EXPECT_EQ(editor.parent_entries()[0].doc_id, 0);
  EXPECT_EQ(editor.parent_entries()[3].caption, "http://h/c.htm");
  EXPECT_EQ(editor.parent_entries()[3].doc_id, c);
  EXPECT_EQ(editor.selected(), 0u);
  // A parent of 0 shows the home page; another shows its document.
  EXPECT_EQ(editor.parent_entry(), 0u);
  editor.select(2);
  EXPECT_EQ(editor.parent_entry(), 2u);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentEditorTest, AnEmptyTableHasOnlyTheHomePageAndNothingToEditOrDelete) {
  DocumentEditor editor(*db, ui);
  ASSERT_TRUE(editor.load_form());
  EXPECT_EQ(editor.count(), 0u);
  ASSERT_EQ(editor.parent_entries().size(), 1u);
  EXPECT_EQ(editor.parent_entries()[0].caption, "(HOME PAGE)");
  EXPECT_FALSE(editor.selected());
  editor.edit_description("x");
  editor.edit_level("5");
  editor.pick_parent(1);
  editor.next_row();
  EXPECT_FALSE(editor.delete_selected());
  EXPECT_EQ(editor.save(), DocumentEditor::SaveResult::kSaved);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(db->query_int("select count(*) from Docs"), 0);
}

TEST_F(DocumentEditorTest, NothingIsWrittenUntilSaveThenEveryEditIs) {
  add_three();
  Rows before = docs();
  {
    // Cancel: the form closes with its working copy.
    DocumentEditor editor(*db, ui);
    ASSERT_TRUE(editor.load_form());
    editor.select(1);
    editor.edit_description("Second page");
  }
  EXPECT_EQ(docs(), before);

  DocumentEditor editor(*db, ui);
  ASSERT_TRUE(editor.load_form());
  editor.select(1);
  editor.edit_description("Second page");
  editor.edit_level("12abc");
  editor.select(2);
  editor.pick_parent(0);
  ASSERT_EQ(editor.save(), DocumentEditor::SaveResult::kSaved);
  Rows after = docs();
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(column("URLDescription", b), DbValue{std::string("Second page")});
  EXPECT_EQ(column("URLLevel", b), DbValue{int64_t{12}});
  EXPECT_EQ(column("URLParent", b), DbValue{int64_t{a}});
  EXPECT_EQ(column("URLParent", c), DbValue{int64_t{0}});
  EXPECT_EQ(column("URLDescription", c), DbValue{std::string("Page C")});
  EXPECT_EQ(column("nStatus", b), DbValue{int64_t{1}});
}

TEST_F(DocumentEditorTest, NullsAndMissingParentsAreLeftAloneUnlessEdited) {
  int32_t lone = add_doc("http://h/lone.htm", std::monostate{}, 1, 99);
  int32_t other = add_doc("http://h/other.htm", std::monostate{}, 1, 0);
  DocumentEditor editor(*db, ui);
  ASSERT_TRUE(editor.load_form());
  EXPECT_EQ(editor.edit_descriptions()[0], "");
  // Document 99 is not in the table: no entry shows it.
  EXPECT_FALSE(editor.parent_entry());
  editor.edit_level("4");
  editor.select(1);
  editor.edit_description("");
  ASSERT_EQ(editor.save(), DocumentEditor::SaveResult::kSaved);
  EXPECT_EQ(column("URLDescription", lone), DbValue{});
  EXPECT_EQ(column("URLParent", lone), DbValue{int64_t{99}});
  EXPECT_EQ(column("URLLevel", lone), DbValue{int64_t{4}});
  EXPECT_EQ(column("URLDescription", other), DbValue{std::string()});
}

TEST_F(DocumentEditorTest, LimitsAreCheckedBeforeAnythingIsWritten) {
  add_three();
  Rows before = docs();
  DocumentEditor editor(*db, ui);
  ASSERT_TRUE(editor.load_form());
  editor.edit_description(std::string(100, 'd'));  // the widest allowed
  editor.select(2);
  editor.edit_level("32768");
  editor.select(1);
  EXPECT_EQ(editor.save(), DocumentEditor::SaveResult::kInvalid);
  EXPECT_EQ(docs(), before);
  EXPECT_EQ(editor.selected(), 2u);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Please note:");
  EXPECT_NE(ui.messages[0].text.find("http://h/c.htm"), std::string::npos);

  editor.edit_level("-32768");
  editor.select(1);
  editor.edit_description(std::string(101, 'd'));
  EXPECT_EQ(editor.save(), DocumentEditor::SaveResult::kInvalid);
  EXPECT_EQ(editor.selected(), 1u);
  EXPECT_EQ(docs(), before);

  editor.edit_description("fits");
  ASSERT_EQ(editor.save(), DocumentEditor::SaveResult::kSaved);
  EXPECT_EQ(column("URLDescription", a), DbValue{std::string(100, 'd')});
  EXPECT_EQ(column("URLLevel", c), DbValue{int64_t{-32768}});
}

TEST_F(DocumentEditorTest, AFailedSaveWritesNoRowAndKeepsTheEdits) {
  add_three();
  Rows before = docs();
  ASSERT_TRUE(db->exec("create trigger refuse before update on Docs when new.DocID = " +
                       std::to_string(c) + " begin select raise(abort, 'refused'); end"));
  DocumentEditor editor(*db, ui);
  ASSERT_TRUE(editor.load_form());
  editor.edit_description("first");
  editor.select(2);
  editor.edit_description("third");
  EXPECT_EQ(editor.save(), DocumentEditor::SaveResult::kFailed);
  EXPECT_EQ(docs(), before);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Database error:");
  EXPECT_NE(ui.messages[0].text.find("refused"), std::string::npos);
  EXPECT_EQ(editor.edit_descriptions()[0], "first");
  ASSERT_TRUE(db->exec("drop trigger refuse"));
  ASSERT_EQ(editor.save(), DocumentEditor::SaveResult::kSaved);
  EXPECT_EQ(column("URLDescription", a), DbValue{std::string("first")});
  EXPECT_EQ(column("URLDescription", c), DbValue{std::string("third")});
}

TEST_F(DocumentEditorTest, EnterMovesToTheNextRowButNotPastTheLast) {
  add_three();
  DocumentEditor editor(*db, ui);
  ASSERT_TRUE(editor.load_form());
  editor.next_row();
  EXPECT_EQ(editor.selected(), 1u);
  editor.next_row();
  editor.next_row();
  EXPECT_EQ(editor.selected(), 2u);
}

TEST_F(DocumentEditorTest, DeleteAsksThenSelectsTheRowThatTookItsPlace) {
  add_three();
  ASSERT_TRUE(db->exec("insert into WordsDocs (DocID, WordID, Occurrences) values (?, 1, 2)",
                       {int64_t{b}}));
  DocumentEditor editor(*db, ui);
  ASSERT_TRUE(editor.load_form());
  editor.select(1);
  editor.edit_description("B edited");
  EXPECT_EQ(editor.delete_question(), "Are you sure you want to delete document \"B edited\"?");
  ui.script({Answer::kCancel});
  EXPECT_FALSE(editor.delete_selected());
  EXPECT_EQ(db->query_int("select count(*) from Docs"), 3);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Please confirm:");
  EXPECT_EQ(ui.messages[0].icon, Icon::kExclamation);
  EXPECT_EQ(ui.messages[0].buttons, Buttons::kOkCancel);

  // An edit of another row survives the deletion.
  editor.select(0);
  editor.edit_description("A edited");
  editor.select(1);
  ui.script({Answer::kOk});
  EXPECT_TRUE(editor.delete_selected());
  EXPECT_EQ(db->query_int("select count(*) from Docs where DocID = ?", {int64_t{b}}), 0);
  EXPECT_EQ(db->query_int("select count(*) from WordsDocs"), 0);
  ASSERT_EQ(editor.count(), 2u);
  EXPECT_EQ(editor.selected(), 1u);
  EXPECT_EQ(editor.doc_id(1), c);
  EXPECT_EQ(editor.edit_descriptions()[0], "A edited");
  EXPECT_EQ(editor.parent_entries().size(), 3u);

  // Deleting the last row selects the first; deleting the only one, none.
  ui.script({Answer::kOk, Answer::kOk});
  EXPECT_TRUE(editor.delete_selected());
  EXPECT_EQ(editor.selected(), 0u);
  EXPECT_TRUE(editor.delete_selected());
  EXPECT_FALSE(editor.selected());
  EXPECT_EQ(editor.count(), 0u);
  EXPECT_EQ(db->query_int("select count(*) from Docs"), 0);
}

TEST_F(DocumentEditorTest, OccurrencesThatCannotBeDeletedMakeTheDeletionFail) {
  add_three();
  ASSERT_TRUE(db->exec("insert into WordsDocs (DocID, WordID, Occurrences) values (?, 1, 2)",
                       {int64_t{b}}));
  ASSERT_TRUE(
      db->exec("create trigger keep before delete on WordsDocs "
               "begin select raise(abort, 'kept'); end"));
  DocumentEditor editor(*db, ui);
  ASSERT_TRUE(editor.load_form());
  editor.select(1);
  ui.script({Answer::kOk});
  EXPECT_FALSE(editor.delete_selected());
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].title, "Findlet error:");
  EXPECT_EQ(ui.messages[1].text.rfind("Error erasing doc. " + std::to_string(b) + "\r", 0), 0u);
  // Nothing of a deletion done in part is kept: the row and its occurrences
  // stay, and the form shows them.
  EXPECT_EQ(db->query_int("select count(*) from WordsDocs"), 1);
  EXPECT_EQ(db->query_int("select count(*) from Docs where DocID = ?", {int64_t{b}}), 1);
  EXPECT_EQ(editor.count(), 3u);
}

}  // namespace
}  // namespace trawlix
