// The search form.
#include "search/ui/search_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "search/local_search.h"
#include "shell/ui/qt_text.h"

namespace trawlix {

SearchDialog::SearchDialog(Workspace& workspace, UserInterface& ui, QWidget* parent)
    : QDialog(parent), workspace_(workspace), ui_(ui) {
  setObjectName(QStringLiteral("frmSearch"));
  setWindowTitle(QStringLiteral("Search"));
  setModal(true);
  query_ = new QComboBox(this);
  query_->setObjectName(QStringLiteral("txtSearch"));
  query_->setEditable(true);
  query_->setInsertPolicy(QComboBox::NoInsert);
  query_->setMinimumWidth(260);
  type_ = new QComboBox(this);
  type_->setObjectName(QStringLiteral("cmbSearchType"));
  type_->addItem(QStringLiteral("All Words"));
  type_->addItem(QStringLiteral("Any Word"));
  type_->setCurrentIndex(0);
  partial_ = new QCheckBox(QStringLiteral("Partial words"), this);
  partial_->setObjectName(QStringLiteral("chkPartial"));
  auto* run = new QPushButton(QStringLiteral("Search"), this);
  run->setObjectName(QStringLiteral("btnSearch"));
  run->setDefault(true);
  results_ = new QListWidget(this);
  results_->setObjectName(QStringLiteral("lstResults"));
  connect(run, &QPushButton::clicked, this, [this] { search(); });
  connect(results_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { open_document(item); });

  auto* row = new QHBoxLayout;
  row->addWidget(query_, 1);
  row->addWidget(type_);
  row->addWidget(partial_);
  row->addWidget(run);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(results_, 1);
  resize(640, 400);
}

void SearchDialog::search() {
  QString text = query_->currentText();
  if (!text.trimmed().isEmpty() &&
      query_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
    query_->addItem(text);
  }
  if (!workspace_.db()) return;
  SearchRequest request;
  request.query = core_text(text);
  request.type = type_->currentIndex() == 1 ? SearchType::kAnyWord : SearchType::kAllWords;
  request.partial = partial_->isChecked();
  std::string page = workspace_.file(kResultsFile);
  SearchResult result = run_search(*workspace_.db(), ui_, request, page);
  if (result.status != SearchResult::Status::kFound) return;
  results_->clear();
  for (const SearchHit& hit : result.hits) {
    auto* item = new QListWidgetItem(display_text(hit.url + " : " + hit.description), results_);
    item->setData(Qt::UserRole, hit.doc_id);
    item->setData(Qt::UserRole + 1, display_text(hit.url));
  }
  open_results_page(ui_, page);
}

void SearchDialog::open_document(QListWidgetItem* item) {
  if (!item) return;
  open_search_hit(ui_, core_text(item->data(Qt::UserRole + 1).toString()));
}

}  // namespace trawlix
