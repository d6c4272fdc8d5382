// The Start Crawl dialog.
#include "crawler/ui/start_crawl_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "crawler/start_urls.h"
#include "shell/ui/dialog_buttons.h"
#include "shell/ui/qt_text.h"

namespace trawlix {

StartCrawlDialog::StartCrawlDialog(CrawlSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("frmStartRobot"));
  setWindowTitle(QStringLiteral("Start Crawl"));
  setModal(true);
  auto check = [this](const char* name, const char* caption, bool on) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), this);
    box->setObjectName(QLatin1String(name));
    box->setChecked(on);
    return box;
  };
  auto edit = [this](const char* name, int value) {
    auto* line = new QLineEdit(QString::number(value), this);
    line->setObjectName(QLatin1String(name));
    return line;
  };

  auto* crawling = new QGroupBox(QStringLiteral("Crawling Options"), this);
  cycling_ = check("chkKeep_Cycling", "Crawl continously", settings.keep_cycling);
  robots_ = check("chkRobotsProtocol", "Respect Robots protocol", settings.respect_robots);
  interval_ = edit("txtTimeBetweenAccess", settings.time_between_access);
  timeout_ = edit("txtTimeout", settings.access_timeout);
  connections_ = edit("txtConnections", settings.connections);
  auto* grid = new QGridLayout(crawling);
  grid->addWidget(cycling_, 0, 0, 1, 3);
  grid->addWidget(robots_, 1, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Time between access:"), this), 2, 0);
  grid->addWidget(interval_, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("MiliSecs."), this), 2, 2);
  grid->addWidget(new QLabel(QStringLiteral("Access Timeout:"), this), 3, 0);
  grid->addWidget(timeout_, 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("Secs."), this), 3, 2);
  grid->addWidget(new QLabel(QStringLiteral("Connections:"), this), 4, 0);
  grid->addWidget(connections_, 4, 1);
  grid->addWidget(new QLabel(QStringLiteral("at once"), this), 4, 2);

  auto* indexing = new QGroupBox(QStringLiteral("Indexing Options"), this);
  xml_ = check("chkXSGML", "Index XML/SGML tags", settings.index_xml_tags);
  alt_ = check("chkAlt", "Index ALT values in IMG tags", settings.index_alt_text);
  unknown_ = check("chkUnknown", "Index unknown HTML  tag contents", settings.index_unknown_tags);
  auto* indexing_layout = new QVBoxLayout(indexing);
  indexing_layout->addWidget(xml_);
  indexing_layout->addWidget(alt_);
  indexing_layout->addWidget(unknown_);

  auto* reindexing = new QGroupBox(QStringLiteral("ReIndexing Options"), this);
  reindex_ = new QButtonGroup(this);
  reindex_->setObjectName(QStringLiteral("optReindex"));
  auto* reindex_layout = new QVBoxLayout(reindexing);
  const char* options[] = {"Do not reindex documents", "Reindex documents always",
                           "Ask to confirm reindex"};
  for (int k = 0; k < 3; ++k) {
    auto* option = new QRadioButton(QString::fromLatin1(options[k]), reindexing);
    option->setObjectName(QStringLiteral("optReindex%1").arg(k));
    option->setChecked(settings.reindex_mode == k);
    reindex_->addButton(option, k);
    reindex_layout->addWidget(option);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(crawling);
  layout->addWidget(indexing);
  layout->addWidget(reindexing);
  layout->addWidget(
      dialog_buttons(this, {"btnStart", "Start"}, kCancelButton, [this] { start(); }));
}

void StartCrawlDialog::start() {
  settings_.index_alt_text = alt_->isChecked();
  settings_.index_xml_tags = xml_->isChecked();
  settings_.index_unknown_tags = unknown_->isChecked();
  int chosen = reindex_->checkedId();
  settings_.reindex_mode = chosen == 0 ? 0 : chosen == 1 ? 1 : 2;
  settings_.time_between_access = typed_number(core_text(interval_->text()));
  settings_.access_timeout = typed_number(core_text(timeout_->text()));
  settings_.connections =
      std::clamp(typed_number(core_text(connections_->text())), 1, kMaxConnections);
  settings_.respect_robots = robots_->isChecked();
  settings_.keep_cycling = cycling_->isChecked();
  accept();
}

}  // namespace trawlix
