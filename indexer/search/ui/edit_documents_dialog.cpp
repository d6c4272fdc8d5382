// The document table editor's form.
#include "search/ui/edit_documents_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/ui/qt_text.h"

namespace trawlix {

EditDocumentsDialog::EditDocumentsDialog(Database& db, UserInterface& ui, QWidget* parent)
    : QDialog(parent), editor_(db, ui) {
  setObjectName(QStringLiteral("frmEditDocuments"));
  setWindowTitle(QStringLiteral("Edit Document table"));
  setModal(true);
  urls_ = new QListWidget(this);
  urls_->setObjectName(QStringLiteral("lstURLs"));
  description_ = new QLineEdit(this);
  description_->setObjectName(QStringLiteral("txtDescription"));
  level_ = new QLineEdit(this);
  level_->setObjectName(QStringLiteral("txtLevel"));
  parent_ = new QComboBox(this);
  parent_->setObjectName(QStringLiteral("cmbParent"));
  parent_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  parent_->setMinimumContentsLength(30);

  auto button = [this](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    // Enter in the description moves to the next document; it must not
    // press a button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
  };
  QPushButton* accept_button = button("btnAccept", QStringLiteral("Accept"));
  QPushButton* cancel_button = button("btnCancel", QStringLiteral("Cancel"));
  delete_ = button("btnDelete", QStringLiteral("Delete"));

  connect(urls_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (filling_ || row < 0) return;
    editor_.select(static_cast<size_t>(row));
    show_selected();
  });
  // textEdited and activated come from the person only: showing a row sets
  // the fields without touching the working copy.
  connect(description_, &QLineEdit::textEdited, this,
          [this](const QString& text) { editor_.edit_description(core_text(text)); });
  connect(description_, &QLineEdit::returnPressed, this, [this] {
    editor_.next_row();
    if (editor_.selected()) urls_->setCurrentRow(static_cast<int>(*editor_.selected()));
  });
  connect(level_, &QLineEdit::textEdited, this,
          [this](const QString& text) { editor_.edit_level(core_text(text)); });
  connect(parent_, &QComboBox::activated, this,
          [this](int index) { editor_.pick_parent(parent_->itemData(index).toInt()); });
  connect(accept_button, &QPushButton::clicked, this, [this] { accept_edits(); });
  connect(cancel_button, &QPushButton::clicked, this, &QDialog::reject);
  connect(delete_, &QPushButton::clicked, this, [this] { delete_document_row(); });

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Description:"), description_);
  form->addRow(QStringLiteral("Level:"), level_);
  form->addRow(QStringLiteral("Parent:"), parent_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(delete_);
  buttons->addStretch(1);
  buttons->addWidget(accept_button);
  buttons->addWidget(cancel_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(urls_, 1);
  layout->addLayout(form);
  layout->addLayout(buttons);
  resize(620, 440);

  editor_.load_form();
  fill();
}

void EditDocumentsDialog::fill() {
  filling_ = true;
  urls_->clear();
  parent_->clear();
  for (size_t i = 0; i < editor_.count(); ++i) {
    auto* item = new QListWidgetItem(display_text(editor_.url(i)), urls_);
    item->setData(Qt::UserRole, editor_.doc_id(i));
  }
  for (const ParentEntry& p : editor_.parent_entries()) {
    parent_->addItem(display_text(p.caption), p.doc_id);
  }
  urls_->setCurrentRow(editor_.selected() ? static_cast<int>(*editor_.selected()) : -1);
  filling_ = false;
  show_selected();
}

void EditDocumentsDialog::show_selected() {
  std::optional<size_t> i = editor_.selected();
  for (QWidget* w : std::initializer_list<QWidget*>{description_, level_, parent_, delete_}) {
    w->setEnabled(i.has_value());
  }
  if (!i) {
    description_->clear();
    level_->clear();
    parent_->setCurrentIndex(0);
    return;
  }
  description_->setText(display_text(editor_.edit_descriptions()[*i]));
  level_->setText(QString::number(editor_.edit_levels()[*i]));
  std::optional<size_t> entry = editor_.parent_entry();
  parent_->setCurrentIndex(entry ? static_cast<int>(*entry) : -1);
}

void EditDocumentsDialog::accept_edits() {
  switch (editor_.save()) {
    case DocumentEditor::SaveResult::kSaved:
      accept();
      return;
    case DocumentEditor::SaveResult::kInvalid:
      // The row at fault is selected, to be put right.
      if (editor_.selected()) urls_->setCurrentRow(static_cast<int>(*editor_.selected()));
      show_selected();
      return;
    case DocumentEditor::SaveResult::kFailed:
      return;
  }
}

void EditDocumentsDialog::delete_document_row() {
  // After a deletion (even a failed one) the working copy was reloaded.
  editor_.delete_selected();
  fill();
}

}  // namespace trawlix
