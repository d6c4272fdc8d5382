// frmEditDocuments, the document table editor: the documents in lstURLs,
// the selected one's description, level and parent, Accept, Cancel and
// Delete, over a DocumentEditor.
#pragma once

#include <QDialog>

#include "search/document_editor.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace trawlix {

class EditDocumentsDialog : public QDialog {
  Q_OBJECT

 public:
  EditDocumentsDialog(Database& db, UserInterface& ui, QWidget* parent = nullptr);

  const DocumentEditor& editor() const { return editor_; }

 private:
  // Shows the working copy: the lists, then the selected row.
  void fill();
  void show_selected();
  void accept_edits();
  void delete_document_row();

  DocumentEditor editor_;
  bool filling_ = false;
  QListWidget* urls_ = nullptr;
  QLineEdit* description_ = nullptr;
  QLineEdit* level_ = nullptr;
  QComboBox* parent_ = nullptr;
  QPushButton* delete_ = nullptr;
};

}  // namespace trawlix
