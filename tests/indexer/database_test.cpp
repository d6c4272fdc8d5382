// The database layer: bound parameters, names, transactions, encodings.
#include "shell/database.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace trawlix {
namespace {

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    db = Database::open(dir.file("t.db"), Database::Mode::kCreateNew, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(db->exec("create table a (id integer primary key, v text, n integer)"));
    ASSERT_TRUE(db->exec("create table b (id integer, n integer)"));
  }
  testing::TempDir dir;
  std::unique_ptr<Database> db;
};

TEST_F(DatabaseTest, ValuesTravelAsBoundParameters) {
  std::string tricky = "it's a \"test\"; drop table a; --";
  ASSERT_TRUE(db->exec("insert into a (v, n) values (?, ?)", {tricky, int64_t{7}}));
  EXPECT_EQ(db->last_insert_id(), 1);
  EXPECT_EQ(db->changes(), 1);
  Statement st = db->prepare("select v, n from a where v = ?");
  ASSERT_TRUE(st.ok());
  ASSERT_TRUE(st.bind({tricky}));
  ASSERT_TRUE(st.step());
  EXPECT_EQ(st.get_text("v"), tricky);
  EXPECT_EQ(st.get_int(1), 7);
  EXPECT_FALSE(st.step());
  EXPECT_FALSE(st.failed());
}

TEST_F(DatabaseTest, ColumnsByQualifiedNameAndPosition) {
  ASSERT_TRUE(db->exec("insert into a (id, v, n) values (1, 'x', 10)"));
  ASSERT_TRUE(db->exec("insert into b (id, n) values (1, 20)"));
  Statement st = db->prepare("select a.n, b.n, a.v from a, b where a.id = b.id");
  ASSERT_TRUE(st.step());
  EXPECT_EQ(st.get_int("a.n"), 10);
  EXPECT_EQ(st.get_int("B.N"), 20);
  EXPECT_EQ(st.column_index("v"), 2);
  EXPECT_EQ(st.column_index("c.n"), -1);
  EXPECT_EQ(st.column_index("missing"), -1);
  EXPECT_TRUE(st.is_null("missing"));
  EXPECT_EQ(st.get_int("missing"), 0);
}

TEST_F(DatabaseTest, TextIsStoredAsUtf8AndReadBackAsWindows1252) {
  ASSERT_TRUE(db->exec("insert into a (v) values (?)", {std::string("\xC9"
                                                                    "cole \x80")}));
  Statement raw = db->prepare("select hex(v) from a");
  ASSERT_TRUE(raw.step());
  EXPECT_EQ(raw.get_text(0), "C389636F6C6520E282AC");
  EXPECT_EQ(db->query_int("select count(*) from a where v = ?", {std::string("\xC9"
                                                                             "cole \x80")}),
            1);
  Statement back = db->prepare("select v from a");
  ASSERT_TRUE(back.step());
  EXPECT_EQ(back.get_text(0),
            "\xC9"
            "cole \x80");
}

TEST_F(DatabaseTest, TransactionsRollBackUnlessCommittedAndNest) {
  {
    Transaction tx(*db);
    ASSERT_TRUE(tx.ok());
    ASSERT_TRUE(db->exec("insert into b values (1, 1)"));
  }
  EXPECT_EQ(db->query_int("select count(*) from b"), 0);
  {
    Transaction outer(*db);
    ASSERT_TRUE(db->exec("insert into b values (1, 1)"));
    {
      Transaction inner(*db);
      ASSERT_TRUE(db->exec("insert into b values (2, 2)"));
      inner.rollback();
    }
    EXPECT_TRUE(db->in_transaction());
    EXPECT_TRUE(outer.commit());
  }
  EXPECT_FALSE(db->in_transaction());
  EXPECT_EQ(db->query_int("select count(*) from b"), 1);
  EXPECT_EQ(db->query_int("select sum(id) from b"), 1);
}

TEST_F(DatabaseTest, AnInnerTransactionThatCannotRollBackNeverKeepsItsWork) {
  {
    Transaction outer(*db);
    ASSERT_TRUE(db->exec("insert into b values (1, 1)"));
    Transaction inner(*db);
    ASSERT_TRUE(db->exec("insert into b values (2, 2)"));
    // Its savepoint is gone behind its back: rolling back to it fails.
    ASSERT_TRUE(db->exec("RELEASE t1"));
    inner.rollback();
    EXPECT_FALSE(outer.commit());
  }
  EXPECT_FALSE(db->in_transaction());
  EXPECT_EQ(db->query_int("select count(*) from b"), 0);
  // The connection goes on working.
  Transaction next(*db);
  ASSERT_TRUE(db->exec("insert into b values (3, 3)"));
  EXPECT_TRUE(next.commit());
  EXPECT_EQ(db->query_int("select sum(id) from b"), 3);
}

TEST_F(DatabaseTest, FailuresSayWhy) {
  EXPECT_FALSE(db->exec("insert into nosuch values (1)"));
  EXPECT_NE(db->last_error().find("nosuch"), std::string::npos);
  EXPECT_FALSE(db->prepare("select from").ok());
  EXPECT_EQ(db->query_int("select n from a where id = 99", {}, -5), -5);
  auto rows = db->query_rows("select id from b");
  ASSERT_TRUE(rows);
  EXPECT_TRUE(rows->empty());
}

TEST(DatabaseOpen, NeverCreatesOnOpenNorOverwritesOnCreate) {
  testing::TempDir dir;
  std::string error;
  EXPECT_FALSE(Database::open(dir.file("none.db"), Database::Mode::kOpenExisting, &error));
  EXPECT_FALSE(std::ifstream(dir.file("none.db")).good());
  std::ofstream(dir.file("text.db")) << "this is not a database, and it must survive\n";
  EXPECT_FALSE(Database::open(dir.file("text.db"), Database::Mode::kOpenExisting, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(Database::open(dir.file("text.db"), Database::Mode::kCreateNew, &error));
  std::string content;
  std::getline(std::ifstream(dir.file("text.db")), content);
  EXPECT_EQ(content, "this is not a database, and it must survive");
}

}  // namespace
}  // namespace trawlix
