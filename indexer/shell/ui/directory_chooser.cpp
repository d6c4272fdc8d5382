// Drive list, directory tree and chosen-folder label.
#include "shell/ui/directory_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace trawlix {

QStringList DirectoryChooser::drives() {
  QStringList roots{QStringLiteral("/")};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    QString root = volume.rootPath();
    if (!roots.contains(root)) roots << root;
  }
  std::sort(roots.begin() + 1, roots.end());
  return roots;
}

DirectoryChooser::DirectoryChooser(const QString& frame_caption, QWidget* parent)
    : QGroupBox(frame_caption, parent) {
  drive_ = new QComboBox(this);
  drive_->setObjectName(QStringLiteral("Drive1"));
  drive_->addItems(drives());

  model_ = new QFileSystemModel(this);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model_->setRootPath(QStringLiteral("/"));
  tree_ = new QTreeView(this);
  tree_->setObjectName(QStringLiteral("Dir1"));
  tree_->setModel(model_);
  tree_->setHeaderHidden(true);
  for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);

  dirbase_ = new QLabel(this);
  dirbase_->setObjectName(QStringLiteral("dirbase"));
  dirbase_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  dirbase_->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(drive_);
  layout->addWidget(tree_, 1);
  layout->addWidget(dirbase_);

  connect(drive_, &QComboBox::activated, this,
          [this](int index) { set_directory(drive_->itemText(index)); });
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { show_index(current); });
  connect(tree_, &QTreeView::clicked, this, &DirectoryChooser::show_index);
}

void DirectoryChooser::show_index(const QModelIndex& index) {
  if (index.isValid()) dirbase_->setText(model_->filePath(index));
}

bool DirectoryChooser::set_directory(const QString& path) {
  QFileInfo info(path);
  if (path.isEmpty() || !info.isDir()) return false;
  QString dir = QDir::cleanPath(info.absoluteFilePath());
  QModelIndex index = model_->index(dir);
  if (index.isValid()) {
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
    tree_->expand(index);
  }
  dirbase_->setText(dir);
  return true;
}

QString DirectoryChooser::chosen() const {
  return dirbase_->text();
}

}  // namespace trawlix
