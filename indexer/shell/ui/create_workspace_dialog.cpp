// The Workspace Creation dialog.
#include "shell/ui/create_workspace_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "shell/ui/dialog_buttons.h"
#include "shell/ui/directory_chooser.h"
#include "shell/workspace.h"

namespace trawlix {

CreateWorkspaceDialog::CreateWorkspaceDialog(Workspace& workspace, QWidget* parent)
    : QDialog(parent), workspace_(workspace) {
  setObjectName(QStringLiteral("frmWorkSpace"));
  setWindowTitle(QStringLiteral("Workspace Creation"));
  setModal(true);
  chooser_ = new DirectoryChooser(QStringLiteral("Parent  directory"), this);
  chooser_->set_directory(QString::fromStdString(workspace_.dir()));
  name_ = new QLineEdit(this);
  name_->setObjectName(QStringLiteral("nombase"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Name for workspace"), name_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chooser_, 1);
  layout->addLayout(form);
  layout->addWidget(dialog_buttons(this, kOkButton, kCancelButton, [this] { accept_choice(); }));
  resize(420, 500);
}

void CreateWorkspaceDialog::accept_choice() {
  switch (workspace_.create_new(chooser_->chosen().toStdString(), name_->text().toStdString())) {
    case Workspace::CreateResult::kCreated:
      accept();
      break;
    case Workspace::CreateResult::kNothingToDo:
      reject();
      break;
    case Workspace::CreateResult::kFailed:
      break;
  }
}

}  // namespace trawlix
