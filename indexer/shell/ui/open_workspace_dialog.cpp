// The Open Existing Workspace dialog.
#include "shell/ui/open_workspace_dialog.h"

#include <QFileInfo>
#include <QVBoxLayout>

#include "shell/ui/dialog_buttons.h"
#include "shell/ui/directory_chooser.h"
#include "shell/workspace.h"

namespace trawlix {

bool sverify(const QString& nomfile) {
  if (nomfile.isEmpty()) return false;
  QFileInfo info(nomfile);
  return info.exists() && info.isFile();
}

OpenWorkspaceDialog::OpenWorkspaceDialog(Workspace& workspace, QWidget* parent)
    : QDialog(parent), workspace_(workspace) {
  setObjectName(QStringLiteral("frmOpenWorkSpace"));
  setWindowTitle(QStringLiteral("Open Existing Workspace"));
  setModal(true);
  unsetCursor();
  chooser_ = new DirectoryChooser(QStringLiteral("WorkSpace directory"), this);
  chooser_->set_directory(QString::fromStdString(workspace_.dir()));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chooser_, 1);
  layout->addWidget(dialog_buttons(this, kOkButton, kCancelButton, [this] { accept_choice(); }));
  resize(420, 460);
}

void OpenWorkspaceDialog::accept_choice() {
  if (workspace_.open_existing(chooser_->chosen().toStdString()) ==
      Workspace::OpenResult::kOpened) {
    accept();
  }
}

}  // namespace trawlix
