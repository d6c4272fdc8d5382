// frmOpenWorkSpace, "Open Existing Workspace": choose a folder that holds a
// WorkSpace and make it the current one.
#pragma once

#include <QDialog>
#include <QString>

namespace trawlix {

class DirectoryChooser;
class Workspace;

// True when a file named `nomfile` exists; false for a folder, a missing
// name, an empty one or any error.
bool sverify(const QString& nomfile);

class OpenWorkspaceDialog : public QDialog {
  Q_OBJECT

 public:
  // Starts at the current WorkSpace's folder.
  OpenWorkspaceDialog(Workspace& workspace, QWidget* parent = nullptr);

  DirectoryChooser& chooser() { return *chooser_; }

 private:
  // OK: opens the chosen folder's WorkSpace. The dialog closes once it is
  // open; after a failure (already reported) it stays for another choice.
  void accept_choice();

  Workspace& workspace_;
  DirectoryChooser* chooser_ = nullptr;
};

}  // namespace trawlix
