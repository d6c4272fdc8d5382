// Opening, creating and re-initialising WorkSpaces, and what stays when
// they fail.
#include "shell/workspace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/paths.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(WorkspaceStartUp, CreatesTheDatabaseSilentlyInAnEmptyFolder) {
  testing::TempDir dir;
  testing::ScriptedUi ui;
  Workspace ws(ui);
  ASSERT_TRUE(ws.start_up(dir.path()));
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_TRUE(ws.db());
  EXPECT_TRUE(path_exists(dir.file("lexmine.mdb")));
  EXPECT_EQ(ws.dir(), dir.path());
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs", {}, -1), 0);
  // A second start finds it and opens it.
  Workspace again(ui);
  ASSERT_TRUE(again.start_up(dir.path()));
  EXPECT_TRUE(ui.messages.empty());
}

TEST(WorkspaceStartUp, NeverDestroysAForeignFile) {
  testing::TempDir dir;
  std::ofstream(dir.file("lexmine.mdb")) << "somebody else's file";
  testing::ScriptedUi ui;
  Workspace ws(ui);
  EXPECT_FALSE(ws.start_up(dir.path()));
  EXPECT_EQ(ws.db(), nullptr);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Error opening lexmine database:");
  EXPECT_EQ(ui.messages[0].icon, Icon::kCritical);
  EXPECT_EQ(read_all(dir.file("lexmine.mdb")), "somebody else's file");
}

class WorkspaceCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ws.start_up(home.path()));
    ASSERT_TRUE(
        ws.db()->exec("insert into Docs (URLDocument, nStatus, bIndexed) "
                      "values ('http://home/', 1, -1)"));
  }
  testing::TempDir home;
  testing::TempDir other;
  testing::ScriptedUi ui;
  Workspace ws{ui};
};

TEST_F(WorkspaceCommands, OpeningAFolderWithoutAWorkspaceChangesNothing) {
  EXPECT_EQ(ws.open_existing(other.path()), Workspace::OpenResult::kNoWorkspace);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Creation error:");
  EXPECT_EQ(ui.messages[0].text, "ERROR: specified directory doesn't contain a WorkSpace. ");
  EXPECT_EQ(ws.dir(), home.path());
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs"), 1);
}

TEST_F(WorkspaceCommands, OpeningAForeignDatabaseKeepsThePreviousWorkspace) {
  std::ofstream(other.file("lexmine.mdb")) << "not ours";
  EXPECT_EQ(ws.open_existing(other.path()), Workspace::OpenResult::kFailed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind(
                "ERROR:  unable to open Workspace. Check the name you typed is valid.\r"
                "System returned message: ",
                0),
            0u);
  EXPECT_EQ(ws.dir(), home.path());
  ASSERT_TRUE(ws.db());
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs"), 1);
  EXPECT_EQ(read_all(other.file("lexmine.mdb")), "not ours");
}

TEST_F(WorkspaceCommands, OpenEndsWithASlashCreateDoesNotAndBothMakeFiles) {
  ASSERT_EQ(ws.create_new(other.path(), "new ws"), Workspace::CreateResult::kCreated);
  EXPECT_EQ(ws.dir(), other.path() + "/new ws");
  EXPECT_TRUE(path_exists(ws.file("lexmine.mdb")));
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs", {}, -1), 0);
  std::ofstream(ws.file("j_URL_t.txt")) << "x";
  EXPECT_TRUE(path_exists(other.path() + "/new ws/j_URL_t.txt"));

  ASSERT_EQ(ws.open_existing(home.path()), Workspace::OpenResult::kOpened);
  EXPECT_EQ(ws.dir(), home.path() + "/");
  EXPECT_EQ(ws.file("lexmine.mdb"), home.path() + "//lexmine.mdb");
  EXPECT_TRUE(path_exists(ws.file("lexmine.mdb")));
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs"), 1);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WorkspaceCommands, CreateRefusesAnEmptyNameAndAnExistingFolder) {
  EXPECT_EQ(ws.create_new(other.path(), ""), Workspace::CreateResult::kNothingToDo);
  EXPECT_TRUE(ui.messages.empty());
  std::filesystem::create_directory(other.file("taken"));
  EXPECT_EQ(ws.create_new(other.path(), "taken"), Workspace::CreateResult::kFailed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind(
                "ERROR:  unable to create directory. Check the name you typed is valid.\r"
                "System returned message: ",
                0),
            0u);
  EXPECT_FALSE(path_exists(other.file("taken/lexmine.mdb")));
  EXPECT_EQ(ws.create_new(other.path() + "/no/such/parent", "x"), Workspace::CreateResult::kFailed);
  EXPECT_EQ(ws.dir(), home.path());
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs"), 1);
}

TEST_F(WorkspaceCommands, ReinitialiseAsksTwiceAndKeepsDocsOnNo) {
  ASSERT_TRUE(ws.db()->exec("insert into Words (Word, Occurrences) values ('ALPHA', 1)"));
  ui.script({Answer::kYes, Answer::kNo});
  ASSERT_TRUE(ws.reinitialize());
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].title, "Confirm critical operation:");
  EXPECT_EQ(ui.messages[0].text,
            "Are you sure you want to reinitialize the index database?\r"
            "(all the words of the index will be removed)");
  EXPECT_EQ(ui.messages[0].buttons, Buttons::kYesNo);
  EXPECT_EQ(ui.messages[1].text,
            "Do you want to erase the URL/document list also?\r(your database will be emptied...)");
  EXPECT_EQ(ui.messages[1].buttons, Buttons::kYesNoCancel);
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs where nStatus = 1 and bIndexed = -1"), 1);
  EXPECT_EQ(ws.db()->query_int("select count(*) from Words"), 0);
}

TEST_F(WorkspaceCommands, ReinitialiseStopsOnNoOrCancelAndEmptiesAllOnYes) {
  ui.script({Answer::kNo});
  EXPECT_FALSE(ws.reinitialize());
  EXPECT_EQ(ui.messages.size(), 1u);
  ui.script({Answer::kYes, Answer::kCancel});
  EXPECT_FALSE(ws.reinitialize());
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs"), 1);
  ui.script({Answer::kYes, Answer::kYes});
  EXPECT_TRUE(ws.reinitialize());
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs"), 0);
}

TEST(WorkspaceAccess, AReadOnlyFolderIsRefused) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  testing::TempDir dir;
  testing::ScriptedUi ui;
  Workspace ws(ui);
  ::chmod(dir.path().c_str(), 0555);
  EXPECT_FALSE(ws.start_up(dir.path()));
  EXPECT_EQ(ws.create_new(dir.path(), "x"), Workspace::CreateResult::kFailed);
  EXPECT_FALSE(path_exists(dir.file("lexmine.mdb")));
}

}  // namespace
}  // namespace trawlix
