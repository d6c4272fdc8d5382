// The OK and Cancel buttons shared by the WorkSpace dialogs.
#pragma once

#include <QDialogButtonBox>
#include <QPushButton>

namespace trawlix {

// A button row with btnAccept ("OK") and btnCancel ("Cancel"); Cancel
// rejects `dialog`, OK calls `on_accept`.
template <typename Accept>
QDialogButtonBox* workspace_dialog_buttons(QDialog* dialog, Accept on_accept) {
  auto* box = new QDialogButtonBox(dialog);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("btnAccept"));
  ok->setDefault(true);
  QPushButton* cancel = box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("btnCancel"));
  QObject::connect(ok, &QPushButton::clicked, dialog, on_accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return box;
}

}  // namespace trawlix
