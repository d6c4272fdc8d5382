// frmWorkSpace, "Workspace Creation": a new WorkSpace folder, named in
// nombase, inside the chosen parent folder.
#pragma once

#include <QDialog>

class QLineEdit;

namespace trawlix {

class DirectoryChooser;
class Workspace;

class CreateWorkspaceDialog : public QDialog {
  Q_OBJECT

 public:
  // Starts at the current WorkSpace's folder.
  CreateWorkspaceDialog(Workspace& workspace, QWidget* parent = nullptr);

  DirectoryChooser& chooser() { return *chooser_; }

 private:
  // OK: with no name, closes without doing anything (rejected); otherwise
  // creates the WorkSpace and closes once it is current. After a failure
  // (already reported) the dialog stays for another name.
  void accept_choice();

  Workspace& workspace_;
  DirectoryChooser* chooser_ = nullptr;
  QLineEdit* name_ = nullptr;
};

}  // namespace trawlix
