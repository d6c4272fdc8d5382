// The Open URL dialog.
#include "crawler/ui/open_url_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "shell/ui/dialog_buttons.h"
#include "shell/ui/qt_text.h"

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
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(dialog_buttons(this, {"btnLoad", "Open"}, kCancelButton, [this] { load(); }));
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
