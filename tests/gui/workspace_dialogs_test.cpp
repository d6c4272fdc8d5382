// The Open and Create WorkSpace dialogs, driven from the main window's menu.
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <filesystem>
#include <fstream>

#include "base/paths.h"
#include "gui_support.h"
#include "shell/ui/create_workspace_dialog.h"
#include "shell/ui/directory_chooser.h"
#include "shell/ui/open_workspace_dialog.h"
#include "support/scripted_ui.h"

namespace trawlix {
namespace {

using testing::child;
using testing::StartedWindow;
using testing::TempDir;

// Picks `path` in the dialog's directory tree, as a click would.
void pick(QWidget* dialog, const std::string& path) {
  auto* tree = child<QTreeView>(dialog, "Dir1");
  auto* model = qobject_cast<QFileSystemModel*>(tree->model());
  ASSERT_NE(model, nullptr);
  QModelIndex index = model->index(QString::fromStdString(path));
  ASSERT_TRUE(index.isValid()) << path;
  tree->setCurrentIndex(index);
}

QString dirbase(QWidget* dialog) {
  return child<QLabel>(dialog, "dirbase")->text();
}

void click(QWidget* dialog, const char* button) {
  child<QPushButton>(dialog, button)->click();
}

// A WorkSpace with one document, made outside the window.
void make_workspace(const std::string& dir) {
  testing::ScriptedUi ui;
  Workspace ws(ui);
  ASSERT_TRUE(ws.start_up(dir));
  ASSERT_TRUE(ws.db()->exec("insert into Docs (URLDocument) values ('http://other/')"));
}

TEST(OpenWorkspace, AFolderWithoutADatabaseChangesNothing) {
  StartedWindow started;
  TempDir empty;
  bool stayed_open = false;
  QString first_dirbase;
  testing::when_modal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "frmOpenWorkSpace");
    EXPECT_EQ(dialog->windowTitle(), "Open Existing Workspace");
    first_dirbase = dirbase(dialog);
    pick(dialog, empty.path());
    EXPECT_EQ(dirbase(dialog).toStdString(), empty.path());
    click(dialog, "btnAccept");
    stayed_open = dialog->isVisible();
    click(dialog, "btnCancel");
  });
  started.trigger("mnuOpenWorkSpace");

  EXPECT_EQ(first_dirbase.toStdString(), started.home.path());
  EXPECT_TRUE(stayed_open);
  ASSERT_EQ(started.recorder.messages.size(), 1u);
  const MessageRequest& m = started.recorder.messages[0];
  EXPECT_EQ(m.title, "Creation error:");
  EXPECT_EQ(m.text, "ERROR: specified directory doesn't contain a WorkSpace. ");
  EXPECT_EQ(m.icon, Icon::kCritical);
  EXPECT_EQ(started.window.windowTitle(), "Lexmine index generator");
  EXPECT_EQ(started.window.workspace().dir(), started.home.path());
  EXPECT_EQ(started.window.workspace().db()->path(), started.home.file("lexmine.mdb"));
}

TEST(OpenWorkspace, OpensTheFolderWithATrailingSlash) {
  StartedWindow started;
  TempDir other;
  make_workspace(other.path());
  testing::when_modal([&](QWidget* dialog) {
    pick(dialog, other.path());
    click(dialog, "btnAccept");
  });
  started.trigger("mnuOpenWorkSpace");

  EXPECT_TRUE(started.recorder.messages.empty());
  Workspace& ws = started.window.workspace();
  EXPECT_EQ(ws.dir(), other.path() + "/");
  EXPECT_EQ(started.window.windowTitle().toStdString(), "Lexmine indexer (" + other.path() + "/)");
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs where URLDocument = 'http://other/'"), 1);
  // A file made from the directory lands in it despite the doubled slash.
  std::ofstream(ws.file("j_URL_t.txt")) << "page";
  EXPECT_TRUE(path_exists(other.file("j_URL_t.txt")));
}

TEST(OpenWorkspace, CancelKeepsTheCaption) {
  StartedWindow started;
  testing::when_modal([&](QWidget* dialog) { click(dialog, "btnCancel"); });
  started.trigger("mnuOpenWorkSpace");
  EXPECT_EQ(started.window.windowTitle(), "Lexmine index generator");
  EXPECT_TRUE(started.recorder.messages.empty());
}

TEST(CreateWorkspace, AnEmptyNameClosesAndChangesNothing) {
  StartedWindow started;
  TempDir parent;
  bool closed = false;
  testing::when_modal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "frmWorkSpace");
    EXPECT_EQ(dialog->windowTitle(), "Workspace Creation");
    pick(dialog, parent.path());
    click(dialog, "btnAccept");
    closed = !dialog->isVisible();
    if (!closed) click(dialog, "btnCancel");
  });
  started.trigger("mnuCreateWorkspace");

  EXPECT_TRUE(closed);
  EXPECT_TRUE(started.recorder.messages.empty());
  EXPECT_EQ(started.window.windowTitle(), "Lexmine index generator");
  EXPECT_EQ(started.window.workspace().dir(), started.home.path());
  EXPECT_TRUE(std::filesystem::is_empty(parent.path()));
}

TEST(CreateWorkspace, MakesTheFolderWithoutATrailingSlash) {
  StartedWindow started;
  TempDir parent;
  testing::when_modal([&](QWidget* dialog) {
    pick(dialog, parent.path());
    child<QLineEdit>(dialog, "nombase")->setText("site1");
    click(dialog, "btnAccept");
  });
  started.trigger("mnuCreateWorkspace");

  EXPECT_TRUE(started.recorder.messages.empty());
  Workspace& ws = started.window.workspace();
  EXPECT_EQ(ws.dir(), parent.path() + "/site1");
  EXPECT_EQ(started.window.windowTitle().toStdString(),
            "Lexmine Indexer (" + parent.path() + "/site1)");
  EXPECT_EQ(ws.file("lexmine.mdb"), parent.path() + "/site1/lexmine.mdb");
  EXPECT_TRUE(path_exists(parent.path() + "/site1/lexmine.mdb"));
  EXPECT_EQ(ws.db()->query_int("select count(*) from Docs", {}, -1), 0);
}

TEST(CreateWorkspace, AnExistingFolderIsLeftAloneAndThePreviousWorkspaceStays) {
  StartedWindow started;
  TempDir parent;
  std::filesystem::create_directory(parent.path() + "/taken");
  bool stayed_open = false;
  testing::when_modal([&](QWidget* dialog) {
    pick(dialog, parent.path());
    child<QLineEdit>(dialog, "nombase")->setText("taken");
    click(dialog, "btnAccept");
    stayed_open = dialog->isVisible();
    click(dialog, "btnCancel");
  });
  started.trigger("mnuCreateWorkspace");

  EXPECT_TRUE(stayed_open);
  ASSERT_EQ(started.recorder.messages.size(), 1u);
  EXPECT_EQ(started.recorder.messages[0].title, "Creation error:");
  EXPECT_EQ(started.recorder.messages[0].text.rfind(
                "ERROR:  unable to create directory. Check the name you typed is valid.\r"
                "System returned message: ",
                0),
            0u);
  EXPECT_FALSE(path_exists(parent.path() + "/taken/lexmine.mdb"));
  EXPECT_EQ(started.window.workspace().dir(), started.home.path());
  ASSERT_NE(started.window.workspace().db(), nullptr);
  EXPECT_EQ(started.window.windowTitle(), "Lexmine index generator");
}

TEST(DirectoryChooser, DrivesListTheRootFirstAndMoveTheTree) {
  StartedWindow started;
  CreateWorkspaceDialog dialog(started.window.workspace(), &started.window);
  auto* drives = child<QComboBox>(&dialog, "Drive1");
  ASSERT_GE(drives->count(), 1);
  EXPECT_EQ(drives->itemText(0), "/");
  for (int k = 0; k < drives->count(); ++k)
    EXPECT_TRUE(is_directory(drives->itemText(k).toStdString()));
  EXPECT_EQ(dirbase(&dialog).toStdString(), started.home.path());
  drives->activated(0);
  EXPECT_EQ(dirbase(&dialog), "/");
  // A path that is not a folder is ignored.
  EXPECT_FALSE(dialog.chooser().set_directory("/no/such/folder"));
  EXPECT_EQ(dirbase(&dialog), "/");
}

TEST(Sverify, TrueOnlyForAFileThatExists) {
  TempDir dir;
  std::ofstream(dir.file("lexmine.mdb")) << "x";
  EXPECT_TRUE(sverify(QString::fromStdString(dir.file("lexmine.mdb"))));
  EXPECT_FALSE(sverify(QString::fromStdString(dir.file("missing.mdb"))));
  EXPECT_FALSE(sverify(QString::fromStdString(dir.path())));
  EXPECT_FALSE(sverify(QString()));
}

}  // namespace
}  // namespace trawlix
