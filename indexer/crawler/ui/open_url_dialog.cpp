// The Open URL dialog.
#include "crawler/ui/open_url_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "crawler/ui/add_url_dialog.h"
#include "shell/ui/qt_user_interface.h"

namespace trawlix {

OpenUrlDialog::OpenUrlDialog(UserInterface& ui, const std::string& url,
                             const std::string& description, QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setObjectName(QStringLiteral("frmOpenURL"));
  setWindowTitle(QStringLiteral("Open URL"));
  setModal(true);
  url_edit_ = new QLineEdit(display_text(url), this);
  url_edit_->setObjectName(QStringLiteral("txtURLname"));
  description_edit_ = new QLineEdit(display_text(description), this);
  description_edit_->setObjectName(QStringLiteral("txtDescription"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("URL:"), url_edit_);
  form->addRow(QStringLiteral("Description:"), description_edit_);
  auto* open = new QPushButton(QStringLiteral("Open"), this);
  open->setObjectName(QStringLiteral("btnLoad"));
  open->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("btnCancel"));
  connect(open, &QPushButton::clicked, this, [this] { load(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(open);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  resize(480, 140);
}

void OpenUrlDialog::load() {
  std::string url = core_text(url_edit_->text().trimmed());
  if (url.empty()) {
    ui_.show_message("Information not provided:", "Please type an URL to load/index",
                     Icon::kExclamation);
    return;
  }
  url_ = url;
  description_ = core_text(description_edit_->text());
  accept();
}

}  // namespace trawlix
