// The button row of the program's dialogs: one default button that acts and
// one that closes the dialog.
#pragma once

#include <QDialogButtonBox>
#include <QPushButton>

namespace trawlix {

// A button's object name (what tests find it by) and caption.
struct DialogButton {
  const char* object_name;
  const char* caption;
};

// A button row with `act`, the default button, which calls `on_act`, and
// `close`, which rejects `dialog`.
template <typename Act>
QDialogButtonBox* dialog_buttons(QDialog* dialog, DialogButton act, DialogButton close,
                                 Act on_act) {
  auto* box = new QDialogButtonBox(dialog);
  QPushButton* act_button =
      box->addButton(QString::fromLatin1(act.caption), QDialogButtonBox::AcceptRole);
  act_button->setObjectName(QLatin1String(act.object_name));
  act_button->setDefault(true);
  QPushButton* close_button =
      box->addButton(QString::fromLatin1(close.caption), QDialogButtonBox::RejectRole);
  close_button->setObjectName(QLatin1String(close.object_name));
  QObject::connect(act_button, &QPushButton::clicked, dialog, on_act);
  QObject::connect(close_button, &QPushButton::clicked, dialog, &QDialog::reject);
  return box;
}

// The usual OK and Cancel.
inline constexpr DialogButton kOkButton{"btnAccept", "OK"};
inline constexpr DialogButton kCancelButton{"btnCancel", "Cancel"};

}  // namespace trawlix
