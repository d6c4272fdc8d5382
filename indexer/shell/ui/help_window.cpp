// Reading the manual's topics and showing them.
#include "shell/ui/help_window.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QVBoxLayout>
#include <map>

#include "base/paths.h"

namespace trawlix {
namespace {

QString plain(const QString& html) {
  return QTextDocumentFragment::fromHtml(html).toPlainText();
}

QString key_of(QString text) {
  return text.remove(QLatin1Char('&')).trimmed().toCaseFolded();
}

}  // namespace

QString help_directory() {
  QString dir = qEnvironmentVariable("TRAWLIX_HELP_DIR");
  if (!dir.isEmpty()) return dir;
  return QDir::cleanPath(QString::fromStdString(program_directory()) + QLatin1Char('/') +
                         QLatin1String(TRAWLIX_HELP_RELATIVE));
}

std::vector<HelpTopic> read_help_topics(const QString& dir) {
  static const QRegularExpression heading(
      QStringLiteral(R"re(<h([1-3])[^>]*\bid="([^"]+)"[^>]*>(.*?)</h\1>)re"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  QStringList pages = QDir(dir).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
  if (pages.removeAll(QStringLiteral("index.html"))) pages.prepend(QStringLiteral("index.html"));
  std::vector<HelpTopic> topics;
  for (const QString& page : pages) {
    QFile file(QDir(dir).filePath(page));
    if (!file.open(QIODevice::ReadOnly)) continue;
    QString html = QString::fromUtf8(file.readAll());
    for (auto m = heading.globalMatch(html); m.hasNext();) {
      auto match = m.next();
      topics.push_back({plain(match.captured(3)).simplified(), file.fileName(), match.captured(2)});
    }
  }
  return topics;
}

int find_help_topic(const std::vector<HelpTopic>& topics, const QString& keyword) {
  QString key = key_of(keyword);
  if (key.isEmpty()) return -1;
  for (size_t k = 0; k < topics.size(); ++k) {
    if (key_of(topics[k].title) == key) return static_cast<int>(k);
  }
  for (size_t k = 0; k < topics.size(); ++k) {
    if (topics[k].id.toCaseFolded() == key) return static_cast<int>(k);
  }
  for (size_t k = 0; k < topics.size(); ++k) {
    if (key_of(topics[k].title).startsWith(key)) return static_cast<int>(k);
  }
  return -1;
}

HelpWindow::HelpWindow(const QString& dir, QWidget* parent)
    : QDialog(parent), dir_(dir), topics_(read_help_topics(dir)) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(QStringLiteral("Trawlix Help"));
  setWindowFlag(Qt::Window);
  setModal(false);

  std::map<QString, QString> texts;
  for (const HelpTopic& t : topics_) {
    QString& text = texts[t.file];
    if (text.isEmpty()) {
      QFile file(t.file);
      if (file.open(QIODevice::ReadOnly)) text = plain(QString::fromUtf8(file.readAll()));
    }
    page_texts_.push_back(text);
  }

  auto* splitter = new QSplitter(this);
  auto* side = new QWidget(splitter);
  auto* side_layout = new QVBoxLayout(side);
  side_layout->setContentsMargins(0, 0, 0, 0);
  side_layout->addWidget(new QLabel(QStringLiteral("Search help for:"), side));
  search_ = new QLineEdit(side);
  search_->setObjectName(QStringLiteral("txtHelpSearch"));
  search_->setClearButtonEnabled(true);
  side_layout->addWidget(search_);
  list_ = new QListWidget(side);
  list_->setObjectName(QStringLiteral("lstHelpTopics"));
  side_layout->addWidget(list_, 1);
  browser_ = new QTextBrowser(splitter);
  browser_->setObjectName(QStringLiteral("brwHelp"));
  browser_->setOpenExternalLinks(true);
  splitter->addWidget(side);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 3);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(splitter);
  resize(760, 520);

  connect(search_, &QLineEdit::textChanged, this, &HelpWindow::fill_list);
  connect(search_, &QLineEdit::returnPressed, this, [this] {
    if (list_->count() > 0) show_index(list_->item(0)->data(Qt::UserRole).toInt());
  });
  connect(list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { show_index(item->data(Qt::UserRole).toInt()); });
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { show_index(item->data(Qt::UserRole).toInt()); });
  fill_list(QString());
}

std::vector<int> HelpWindow::search(const QString& text) const {
  std::vector<int> in_title, in_page;
  QString key = key_of(text);
  QStringList words = key.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (size_t k = 0; k < topics_.size(); ++k) {
    int index = static_cast<int>(k);
    if (key_of(topics_[k].title).contains(key)) {
      in_title.push_back(index);
      continue;
    }
    bool all = !words.isEmpty();
    for (const QString& w : words) all = all && page_texts_[k].contains(w, Qt::CaseInsensitive);
    if (all) in_page.push_back(index);
  }
  in_title.insert(in_title.end(), in_page.begin(), in_page.end());
  return in_title;
}

void HelpWindow::fill_list(const QString& text) {
  list_->clear();
  for (int index : search(text)) {
    auto* item = new QListWidgetItem(topics_[static_cast<size_t>(index)].title, list_);
    item->setData(Qt::UserRole, index);
  }
}

void HelpWindow::show_index(int topic) {
  if (topic < 0) {
    browser_->setHtml(
        QStringLiteral("<h1>The manual is missing</h1><p>No help pages were found in ") +
        dir_.toHtmlEscaped() + QStringLiteral(".</p>"));
    return;
  }
  const HelpTopic& t = topics_[static_cast<size_t>(topic)];
  QUrl url = QUrl::fromLocalFile(t.file);
  url.setFragment(t.id);
  browser_->setSource(url);
}

void HelpWindow::show_topic(const QString& keyword) {
  int topic = find_help_topic(topics_, keyword);
  if (topic < 0) topic = find_help_topic(topics_, QStringLiteral("Contents"));
  show_index(topic);
  show();
  raise();
  activateWindow();
}

void HelpWindow::show_search() {
  search_->clear();
  if (browser_->source().isEmpty())
    show_index(find_help_topic(topics_, QStringLiteral("Contents")));
  show();
  raise();
  activateWindow();
  search_->setFocus();
}

}  // namespace trawlix
