// frmStartRobot, "Start Crawl": the crawl's options, shown as they stand
// and stored back on Start.
#pragma once

#include <QDialog>

#include "shell/indexer_state.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace trawlix {

class StartCrawlDialog : public QDialog {
  Q_OBJECT

 public:
  StartCrawlDialog(CrawlSettings& settings, QWidget* parent = nullptr);

 private:
  void start();

  CrawlSettings& settings_;
  QCheckBox* cycling_ = nullptr;
  QCheckBox* robots_ = nullptr;
  QLineEdit* connections_ = nullptr;
  QLineEdit* interval_ = nullptr;
  QLineEdit* timeout_ = nullptr;
  QCheckBox* xml_ = nullptr;
  QCheckBox* alt_ = nullptr;
  QCheckBox* unknown_ = nullptr;
  QButtonGroup* reindex_ = nullptr;
};

}  // namespace trawlix
