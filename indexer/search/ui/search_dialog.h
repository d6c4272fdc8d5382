// frmSearch: the query, all or any of its words, the partial option, and
// the documents found; the results page opens in the browser.
#pragma once

#include <QDialog>
#include <string>

#include "shell/workspace.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QListWidgetItem;

namespace trawlix {

class SearchDialog : public QDialog {
  Q_OBJECT

 public:
  SearchDialog(Workspace& workspace, UserInterface& ui, QWidget* parent = nullptr);

  // btnSearch: runs the query in txtSearch.
  void search();
  // A double click on a found document opens it in the browser.
  void open_document(QListWidgetItem* item);

 private:
  Workspace& workspace_;
  UserInterface& ui_;
  QComboBox* query_ = nullptr;
  QComboBox* type_ = nullptr;
  QCheckBox* partial_ = nullptr;
  QListWidget* results_ = nullptr;
};

}  // namespace trawlix
