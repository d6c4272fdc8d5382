// The WorkSpace schema as SQLite reads it back.
#include "shell/schema.h"

#include <gtest/gtest.h>

#include "shell/deferred_indexes.h"
#include "shell/run_lock.h"
#include "shell/workspace.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

class SchemaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    db = Database::open(dir.file("lexmine.mdb"), Database::Mode::kCreateNew, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(create_tables(*db, ui, true));
  }

  // name -> declared type, in column order.
  std::vector<std::pair<std::string, std::string>> columns(const std::string& table) {
    std::vector<std::pair<std::string, std::string>> out;
    Statement st = db->prepare("select name, type from pragma_table_info(?)");
    EXPECT_TRUE(st.bind({table}));
    while (st.step()) out.emplace_back(st.get_text(0), st.get_text(1));
    return out;
  }
  std::vector<std::string> index_names(const std::string& table) {
    std::vector<std::string> out;
    Statement st = db->prepare(
        "select name from sqlite_master where type = 'index' and "
        "tbl_name = ? and sql is not null order by name");
    EXPECT_TRUE(st.bind({table}));
    while (st.step()) out.push_back(st.get_text(0));
    return out;
  }
  std::string index_columns(const std::string& index) {
    std::string out;
    Statement st = db->prepare("select name from pragma_index_info(?) order by seqno");
    EXPECT_TRUE(st.bind({index}));
    while (st.step()) {
      if (!out.empty()) out += ',';
      out += st.get_text(0);
    }
    return out;
  }
  std::string table_sql(const std::string& table) {
    Statement st = db->prepare("select sql from sqlite_master where name = ?");
    EXPECT_TRUE(st.bind({table}));
    return st.step() ? st.get_text(0) : std::string();
  }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  std::unique_ptr<Database> db;
};

using Columns = std::vector<std::pair<std::string, std::string>>;

TEST_F(SchemaTest, TablesHaveTheirColumnsInOrderWithTheirWidths) {
  EXPECT_EQ(columns("Docs"), (Columns{{"DocID", "INTEGER"},
                                      {"URLDocument", "TEXT(255)"},
                                      {"URLDescription", "TEXT(100)"},
                                      {"URLLevel", "SMALLINT"},
                                      {"nMaxDepth", "SMALLINT"},
                                      {"bCrawlAbove", "SMALLINT"},
                                      {"URLParent", "INTEGER"},
                                      {"nStatus", "SMALLINT"},
                                      {"bIndexed", "SMALLINT"}}));
  EXPECT_EQ(columns("Words"),
            (Columns{{"WordID", "INTEGER"}, {"Word", "TEXT(19)"}, {"Occurrences", "INTEGER"}}));
  EXPECT_EQ(columns("WordsDocs"),
            (Columns{{"DocID", "INTEGER"}, {"WordID", "INTEGER"}, {"Occurrences", "INTEGER"}}));
  EXPECT_EQ(columns("URLexternos"), (Columns{{"URLExternal", "TEXT(255)"},
                                             {"URLDescription", "TEXT(255)"},
                                             {"urlSearch", "SMALLINT"},
                                             {"urlFrames", "SMALLINT"},
                                             {"urlError", "SMALLINT"},
                                             {"URLmailto1", "TEXT(255)"},
                                             {"URLmailto2", "TEXT(255)"}}));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SchemaTest, KeysAndIndexesCarryTheirNames) {
  EXPECT_EQ(index_names("Docs"), std::vector<std::string>{"Docs_URLDocumentinx"});
  EXPECT_EQ(index_names("Words"), std::vector<std::string>{"Words_WordIDinx"});
  EXPECT_EQ(index_names("WordsDocs"),
            (std::vector<std::string>{"WordsDocs_DocIDinx", "WordsDocs_WordIDinx"}));
  EXPECT_EQ(index_columns("Docs_URLDocumentinx"), "URLDocument");
  EXPECT_EQ(index_columns("WordsDocs_WordIDinx"), "WordID");
  EXPECT_NE(table_sql("Docs").find("DocID INTEGER CONSTRAINT PrimaryKey PRIMARY KEY AUTOINCREMENT"),
            std::string::npos);
  EXPECT_NE(table_sql("Words").find("CONSTRAINT PrimaryKey UNIQUE (Word)"), std::string::npos);
  EXPECT_NE(table_sql("WordsDocs").find("CONSTRAINT PrimaryKey PRIMARY KEY (DocID, WordId)"),
            std::string::npos);
}

TEST_F(SchemaTest, KeysHoldAndIdentitiesAreNeverReused) {
  ASSERT_TRUE(db->exec("insert into Words (Word, Occurrences) values ('ALPHA', 1)"));
  EXPECT_FALSE(db->exec("insert into Words (Word, Occurrences) values ('ALPHA', 1)"));
  EXPECT_FALSE(db->exec("insert into Words (Word, Occurrences) values ('', 1)"));
  ASSERT_TRUE(db->exec("insert into WordsDocs values (1, 1, 3)"));
  EXPECT_FALSE(db->exec("insert into WordsDocs values (1, 1, 4)"));
  ASSERT_TRUE(db->exec("insert into Docs (URLDocument) values ('http://h/a.htm')"));
  int64_t first = db->last_insert_id();
  ASSERT_TRUE(db->exec("delete from Docs"));
  ASSERT_TRUE(db->exec("insert into Docs (URLDocument) values ('http://h/b.htm')"));
  EXPECT_GT(db->last_insert_id(), first);
  // URLs compare without regard to case, through the index.
  EXPECT_EQ(db->query_int("select count(*) from Docs where URLDocument = ?",
                          {std::string("HTTP://H/B.HTM")}),
            1);
}

TEST(AddTableIndex, NamesTheIndexAndItsFields) {
  TableDef wordsdocs{"WordsDocs", {}, {}};
  add_table_index(wordsdocs, "DocID", "WordId", true, true);
  ASSERT_EQ(wordsdocs.indexes.size(), 1u);
  EXPECT_EQ(wordsdocs.indexes[0].name, "PrimaryKey");
  EXPECT_EQ(wordsdocs.indexes[0].fields, "+DocID;+WordId");
  TableDef docs{"Docs", {}, {}};
  add_table_index(docs, "URLDocument", "", false, false);
  EXPECT_EQ(docs.indexes[0].name, "Docs_URLDocumentinx");
  EXPECT_EQ(docs.indexes[0].fields, "+URLDocument");
  EXPECT_FALSE(docs.indexes[0].primary);
  // A second field of two characters or fewer is not taken.
  add_table_index(docs, "A", "ID", false, true);
  EXPECT_EQ(docs.indexes[1].fields, "+A");
}

TEST_F(SchemaTest, RebuildingWithoutDocsKeepsTheDocumentList) {
  ASSERT_TRUE(
      db->exec("insert into Docs (URLDocument, URLDescription, URLLevel, nMaxDepth, bCrawlAbove, "
               "URLParent, nStatus, bIndexed) values ('http://h/', 'home', 1, 3, -1, 0, 1, -1)"));
  ASSERT_TRUE(db->exec("insert into Words (Word, Occurrences) values ('ALPHA', 2)"));
  ASSERT_TRUE(db->exec("insert into WordsDocs values (1, 1, 2)"));
  ASSERT_TRUE(db->exec("insert into URLexternos (URLExternal) values ('http://x/')"));
  ASSERT_TRUE(create_tables(*db, ui, false));
  EXPECT_EQ(db->query_int("select count(*) from Docs where nStatus = 1 and bIndexed = -1 and "
                          "URLLevel = 1 and nMaxDepth = 3 and URLDescription = 'home'"),
            1);
  EXPECT_EQ(db->query_int("select count(*) from Words"), 0);
  EXPECT_EQ(db->query_int("select count(*) from WordsDocs"), 0);
  EXPECT_EQ(db->query_int("select count(*) from URLexternos"), 1);
  EXPECT_EQ(index_names("WordsDocs").size(), 2u);
  ASSERT_TRUE(create_tables(*db, ui, true));
  EXPECT_EQ(db->query_int("select count(*) from Docs"), 0);
  EXPECT_EQ(db->query_int("select count(*) from URLexternos"), 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SchemaTest, ADropThatFailsStopsTheRebuild) {
  ASSERT_TRUE(db->exec("insert into Words (Word, Occurrences) values ('ALPHA', 2)"));
  ASSERT_TRUE(db->exec("PRAGMA query_only = 1"));
  EXPECT_FALSE(create_tables(*db, ui, true));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "System critical error:");
  EXPECT_EQ(ui.messages[0].text.rfind("Error: removing the old tables: \r", 0), 0u);
  ASSERT_TRUE(db->exec("PRAGMA query_only = 0"));
  EXPECT_EQ(db->query_int("select count(*) from Words"), 1);
}

TEST_F(SchemaTest, AFailedRebuildRollsBackAndReports) {
  ASSERT_TRUE(db->exec("insert into Words (Word, Occurrences) values ('ALPHA', 2)"));
  // A view named like an index makes building that index fail.
  ASSERT_TRUE(db->exec("drop index WordsDocs_WordIDinx"));
  ASSERT_TRUE(db->exec("create view WordsDocs_WordIDinx as select 1"));
  EXPECT_FALSE(create_tables(*db, ui, false));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "System critical error:");
  EXPECT_EQ(ui.messages[0].text.rfind("Error: creating index: \r", 0), 0u);
  EXPECT_EQ(db->query_int("select count(*) from Words"), 1);
  EXPECT_EQ(db->query_int("select count(*) from sqlite_master where name = 'WordsDocs'"), 1);
}

TEST_F(SchemaTest, DeferredWordIndexesAreBuiltAsTheyWereAtTheEndOrAtTheNextFreeOpen) {
  const char* schema =
      "select group_concat(name || ':' || coalesce(sql, ''), ';') from "
      "(select name, sql from sqlite_master order by name)";
  auto schema_now = [&](Database& d) {
    return std::get<std::string>(d.query_rows(schema).value().at(0).at(0));
  };
  const std::string before = schema_now(*db);
  ASSERT_TRUE(db->exec("insert into WordsDocs values (1, 2, 3), (1, 5, 1), (2, 2, 4)"));
  {
    DeferredWordIndexes deferred(*db, true);
    EXPECT_TRUE(word_indexes_missing(*db));
    // A build that fails (a view holds an index's name) is told, and done
    // when tried again.
    ASSERT_TRUE(db->exec("create view WordsDocs_WordIDinx as select 1"));
    EXPECT_FALSE(deferred.rebuild());
    EXPECT_FALSE(db->last_error().empty());
    ASSERT_TRUE(db->exec("drop view WordsDocs_WordIDinx"));
    EXPECT_TRUE(deferred.rebuild());
  }
  EXPECT_EQ(schema_now(*db), before);
  EXPECT_EQ(db->query_int("select count(*) from WordsDocs indexed by WordsDocs_WordIDinx "
                          "where WordID = 2"),
            2);

  // Left missing, as a killed crawl leaves them: an open builds them, but
  // not while a run holds the WorkSpace.
  ASSERT_TRUE(db->exec("drop index WordsDocs_DocIDinx"));
  {
    RunLock::Result taken;
    std::string holder;
    auto run = RunLock::take(dir.path(), "a crawl", &taken, &holder);
    ASSERT_TRUE(run);
    auto beside = open_workspace_database(dir.path(), nullptr);
    ASSERT_TRUE(beside);
    EXPECT_TRUE(word_indexes_missing(*beside));
  }
  auto after = open_workspace_database(dir.path(), nullptr);
  ASSERT_TRUE(after);
  EXPECT_EQ(schema_now(*after), before);
}

}  // namespace
}  // namespace trawlix
