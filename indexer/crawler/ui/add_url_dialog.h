// frmRobot, "Add URL": a URL with its description, exploration depth,
// level and parent, for "Add starting URL's" and "Explore individual URL".
#pragma once

#include <QDialog>

#include "crawler/start_urls.h"
#include "shell/database.h"
#include "shell/user_interface.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace trawlix {

class AddUrlDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows `previous` (the values of the last time) and the documents of
  // `db` as parents.
  AddUrlDialog(Database& db, UserInterface& ui, const StartUrl& previous,
               QWidget* parent = nullptr);

  // What btnLoad read back; url is empty after Done.
  const StartUrl& start_url() const { return start_; }

 private:
  void load();

  UserInterface& ui_;
  StartUrl start_;
  QLineEdit* url_ = nullptr;
  QLineEdit* description_ = nullptr;
  QLineEdit* depth_ = nullptr;
  QLineEdit* level_ = nullptr;
  QComboBox* parent_ = nullptr;
  QCheckBox* crawl_above_ = nullptr;
};

}  // namespace trawlix
