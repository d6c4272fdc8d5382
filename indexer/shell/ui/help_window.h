// The user manual and its window. The manual is a set of HTML pages
// installed with the program; each heading with an id is a topic, found by
// its title (the caption of a menu command, "Contents", ...).
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace trawlix {

struct HelpTopic {
  QString title;  // plain text of the heading
  QString file;   // absolute path of its page
  QString id;     // the heading's anchor
};

// The manual's folder: $TRAWLIX_HELP_DIR when set, else the folder
// installed beside the program (<prefix>/share/trawlix/help).
QString help_directory();

// Every topic of the manual in `dir`: index.html first, the other pages in
// name order, headings in page order.
std::vector<HelpTopic> read_help_topics(const QString& dir);

// The topic for `keyword`: a title equal to it (ignoring case and "&"),
// else an id equal to it, else the first title that starts with it.
// -1 when none.
int find_help_topic(const std::vector<HelpTopic>& topics, const QString& keyword);

class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit HelpWindow(const QString& dir, QWidget* parent = nullptr);

  // Shows the topic for `keyword`; the Contents when there is none.
  void show_topic(const QString& keyword);
  // Shows the window with its search field ready for a word.
  void show_search();

  // The topics listed for `text`: those whose title holds it first, then
  // those whose page holds every word of it. All topics for an empty text.
  std::vector<int> search(const QString& text) const;

 private:
  void show_index(int topic);
  void fill_list(const QString& text);

  QString dir_;
  std::vector<HelpTopic> topics_;
  std::vector<QString> page_texts_;  // plain text of each topic's page
  QLineEdit* search_ = nullptr;
  QListWidget* list_ = nullptr;
  QTextBrowser* browser_ = nullptr;
};

}  // namespace trawlix
