// The Add URL dialog.
#include "crawler/ui/add_url_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "shell/ui/dialog_buttons.h"
#include "shell/ui/qt_text.h"
#include "text/scanner.h"

namespace trawlix {

AddUrlDialog::AddUrlDialog(Database& db, UserInterface& ui, const StartUrl& previous,
                           QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setObjectName(QStringLiteral("frmRobot"));
  setWindowTitle(QStringLiteral("Add URL"));
  setModal(true);
  auto field = [this](const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, this);
    edit->setObjectName(QLatin1String(name));
    return edit;
  };
  url_ = field("txtURLname", display_text(previous.url));
  description_ = field("txtDescription", display_text(previous.description));
  depth_ = field("txtExploreDepth", QString::number(previous.max_depth));
  level_ = field("txtThisLevel", QString::number(previous.level));
  parent_ = new QComboBox(this);
  parent_->setObjectName(QStringLiteral("cmbParent"));
  for (const ParentChoice& p : parent_choices(db)) {
    parent_->addItem(display_text(p.caption), p.doc_id);
  }
  parent_->setCurrentIndex(0);
  crawl_above_ = new QCheckBox(QStringLiteral("Crawl above (to upper levels)"), this);
  crawl_above_->setObjectName(QStringLiteral("chkCrawlAbove"));
  crawl_above_->setChecked(previous.crawl_above);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("URL:"), url_);
  form->addRow(QStringLiteral("Description:"), description_);
  form->addRow(QStringLiteral("Max. Exploration depth:"), depth_);
  form->addRow(QStringLiteral("Level of this page:"), level_);
  form->addRow(QStringLiteral("Parent:"), parent_);
  form->addRow(crawl_above_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(
      dialog_buttons(this, {"btnLoad", "Add"}, {"btnCancel", "Done"}, [this] { load(); }));
  resize(480, 260);
}

void AddUrlDialog::load() {
  std::string url = trim_blanks(core_text(url_->text().trimmed()));
  if (url.empty()) {
    ui_.show_message("Information not provided:", "Please type an URL to load/index",
                     Icon::kExclamation);
    return;
  }
  start_.url = url;
  start_.description = core_text(description_->text());
  start_.max_depth = typed_number(core_text(depth_->text()));
  start_.level = typed_number(core_text(level_->text()));
  start_.parent = parent_->currentData().toInt();
  start_.crawl_above = crawl_above_->isChecked();
  accept();
}

}  // namespace trawlix
