// The folder chooser of the WorkSpace dialogs: the drive list Drive1 (the
// file-system root and the mounted volumes), the directory tree Dir1 and
// the label dirbase showing the chosen folder, in a frame.
#pragma once

#include <QGroupBox>
#include <QString>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QTreeView;

namespace trawlix {

class DirectoryChooser : public QGroupBox {
  Q_OBJECT

 public:
  DirectoryChooser(const QString& frame_caption, QWidget* parent);

  // Points Dir1 at `path` and shows it in dirbase. A path that is not an
  // existing folder is ignored; returns false then.
  bool set_directory(const QString& path);
  // The folder shown in dirbase.
  QString chosen() const;

  // The drives of Drive1: "/" and the root of every mounted volume.
  static QStringList drives();

 private:
  void show_index(const QModelIndex& index);

  QComboBox* drive_ = nullptr;
  QTreeView* tree_ = nullptr;
  QFileSystemModel* model_ = nullptr;
  QLabel* dirbase_ = nullptr;
};

}  // namespace trawlix
