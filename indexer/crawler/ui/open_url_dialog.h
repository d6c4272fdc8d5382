// frmOpenURL, "Open URL": a URL to fetch and show without indexing it.
#pragma once

#include <QDialog>
#include <string>

#include "shell/user_interface.h"

class QLineEdit;

namespace trawlix {

class OpenUrlDialog : public QDialog {
  Q_OBJECT

 public:
  OpenUrlDialog(UserInterface& ui, const std::string& url, const std::string& description,
                QWidget* parent = nullptr);

  // The URL read back by Open; empty after Cancel.
  const std::string& url() const { return url_; }
  const std::string& description() const { return description_; }

 private:
  void load();

  UserInterface& ui_;
  std::string url_;
  std::string description_;
  QLineEdit* url_edit_ = nullptr;
  QLineEdit* description_edit_ = nullptr;
};

}  // namespace trawlix
