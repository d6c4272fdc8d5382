// The document table editor, the printed listing, the statistics box and
// Mail Robot, driven from the main window's menu.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "crawler/ui/survey_commands.h"
#include "gui_support.h"
#include "search/ui/document_commands.h"
#include "search/ui/listing_print.h"
#include "support/scripted_http.h"

namespace trawlix {
namespace {

using testing::child;

struct DocumentsWindow : testing::StartedWindow {
  explicit DocumentsWindow(int16_t mail_robot_mode = 0) : StartedWindow(mail_robot_mode) {
    install_document_commands(window);
    install_survey_commands(window, http);
    window.refresh_commands();
  }
  Database& db() { return *window.workspace().db(); }
  int32_t add(const std::string& url, const std::string& description, int level, int32_t parent) {
    EXPECT_TRUE(db().exec(
        "insert into Docs (URLDocument, URLDescription, URLLevel, nMaxDepth, bCrawlAbove, "
        "URLParent, nStatus, bIndexed) values (?, ?, ?, 0, 0, ?, 1, 0)",
        {url, description, int64_t{level}, int64_t{parent}}));
    return static_cast<int32_t>(db().last_insert_id());
  }
  void add_three() {
    a = add("http://h/a.htm", "Page A", 1, 0);
    b = add("http://h/b.htm", "Page B", 2, a);
    c = add("http://h/c.htm", "Page C", 3, b);
  }
  std::vector<DbValue> row(int32_t id) {
    auto rows = db().query_rows(
        "select URLDescription, URLLevel, URLParent from Docs where DocID = ?", {int64_t{id}});
    return rows && rows->size() == 1 ? (*rows)[0] : std::vector<DbValue>{};
  }
  std::vector<DbValue> values(const char* description, int level, int32_t parent) {
    return {std::string(description), int64_t{level}, int64_t{parent}};
  }
  // Replaces a field's text as a person types it.
  static void retype(QWidget* dialog, const char* field, const QString& text) {
    auto* edit = child<QLineEdit>(dialog, field);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  testing::ScriptedHttp http;
  int32_t a = 0, b = 0, c = 0;
};

TEST(DocumentsMenu, EntriesAreEnabledAndMailRobotOnlyInItsMode) {
  DocumentsWindow plain;
  for (const char* name : {"mnuEditDocuments", "mnuPrintDocuments", "mnuStatistics"}) {
    EXPECT_TRUE(plain.window.entry(QLatin1String(name))->isEnabled()) << name;
  }
  EXPECT_FALSE(plain.window.entry(QStringLiteral("mnuMailRobot"))->isVisible());
  DocumentsWindow robot(1);
  EXPECT_TRUE(robot.window.entry(QStringLiteral("mnuMailRobot"))->isVisible());
  EXPECT_TRUE(robot.window.entry(QStringLiteral("mnuMailRobot"))->isEnabled());
}

TEST(EditDocuments, ShowsTheSelectedDocumentAndAcceptWritesTheEdits) {
  DocumentsWindow w;
  w.add_three();
  testing::when_modal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "frmEditDocuments");
    auto* urls = child<QListWidget>(dialog, "lstURLs");
    auto* parent = child<QComboBox>(dialog, "cmbParent");
    ASSERT_EQ(urls->count(), 3);
    EXPECT_EQ(urls->currentRow(), 0);
    EXPECT_EQ(urls->item(2)->data(Qt::UserRole).toInt(), w.c);
    EXPECT_EQ(child<QLineEdit>(dialog, "txtDescription")->text(), "Page A");
    EXPECT_EQ(parent->count(), 4);
    EXPECT_EQ(parent->currentText(), "(HOME PAGE)");

    urls->setCurrentRow(1);
    EXPECT_EQ(child<QLineEdit>(dialog, "txtDescription")->text(), "Page B");
    EXPECT_EQ(child<QLineEdit>(dialog, "txtLevel")->text(), "2");
    EXPECT_EQ(parent->currentText(), "http://h/a.htm");
    w.retype(dialog, "txtDescription", QStringLiteral("Second page"));
    w.retype(dialog, "txtLevel", QStringLiteral("12abc"));
    parent->setCurrentIndex(0);
    emit parent->activated(0);

    // Choosing the parent shown is the person's act; the code's showing
    // it is not.
    urls->setCurrentRow(2);
    parent->setCurrentIndex(0);
    child<QPushButton>(dialog, "btnAccept")->click();
    EXPECT_FALSE(dialog->isVisible());
  });
  w.trigger("mnuEditDocuments");
  EXPECT_EQ(w.row(w.a), w.values("Page A", 1, 0));
  EXPECT_EQ(w.row(w.b), w.values("Second page", 12, 0));
  EXPECT_EQ(w.row(w.c), w.values("Page C", 3, w.b));
  EXPECT_TRUE(w.recorder.messages.empty());
}

TEST(EditDocuments, CancelWritesNothing) {
  DocumentsWindow w;
  w.add_three();
  testing::when_modal([&](QWidget* dialog) {
    child<QListWidget>(dialog, "lstURLs")->setCurrentRow(1);
    w.retype(dialog, "txtDescription", QStringLiteral("changed"));
    child<QPushButton>(dialog, "btnCancel")->click();
  });
  w.trigger("mnuEditDocuments");
  EXPECT_EQ(w.row(w.b), w.values("Page B", 2, w.a));
}

TEST(EditDocuments, EnterInTheDescriptionMovesToTheNextLine) {
  DocumentsWindow w;
  w.add_three();
  testing::when_modal([&](QWidget* dialog) {
    auto* urls = child<QListWidget>(dialog, "lstURLs");
    auto* description = child<QLineEdit>(dialog, "txtDescription");
    QTest::keyClick(description, Qt::Key_Return);
    EXPECT_EQ(urls->currentRow(), 1);
    EXPECT_EQ(description->text(), "Page B");
    QTest::keyClick(description, Qt::Key_Return);
    QTest::keyClick(description, Qt::Key_Enter);
    EXPECT_EQ(urls->currentRow(), 2);
    EXPECT_TRUE(dialog->isVisible());
    child<QPushButton>(dialog, "btnCancel")->click();
  });
  w.trigger("mnuEditDocuments");
}

TEST(EditDocuments, ALevelOutOfRangeKeepsTheFormOpenAndWritesNothing) {
  DocumentsWindow w;
  w.add_three();
  testing::when_modal([&](QWidget* dialog) {
    w.retype(dialog, "txtDescription", QStringLiteral("First"));
    child<QListWidget>(dialog, "lstURLs")->setCurrentRow(2);
    w.retype(dialog, "txtLevel", QStringLiteral("40000"));
    child<QListWidget>(dialog, "lstURLs")->setCurrentRow(0);
    child<QPushButton>(dialog, "btnAccept")->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(child<QListWidget>(dialog, "lstURLs")->currentRow(), 2);
    EXPECT_EQ(child<QLineEdit>(dialog, "txtLevel")->text(), "40000");
    child<QPushButton>(dialog, "btnCancel")->click();
  });
  w.trigger("mnuEditDocuments");
  ASSERT_EQ(w.recorder.messages.size(), 1u);
  EXPECT_EQ(w.recorder.messages[0].title, "Please note:");
  EXPECT_EQ(w.row(w.a), w.values("Page A", 1, 0));
}

TEST(EditDocuments, DeleteAsksThenSelectsAndEmptiesTheForm) {
  DocumentsWindow w;
  w.add_three();
  w.recorder.script({Answer::kCancel, Answer::kOk, Answer::kOk, Answer::kOk});
  testing::when_modal([&](QWidget* dialog) {
    auto* urls = child<QListWidget>(dialog, "lstURLs");
    auto* remove = child<QPushButton>(dialog, "btnDelete");
    urls->setCurrentRow(2);
    remove->click();  // Cancel
    EXPECT_EQ(urls->count(), 3);
    EXPECT_EQ(urls->currentRow(), 2);
    remove->click();  // the last line: the first is selected
    ASSERT_EQ(urls->count(), 2);
    EXPECT_EQ(urls->currentRow(), 0);
    EXPECT_EQ(child<QComboBox>(dialog, "cmbParent")->count(), 3);
    remove->click();
    remove->click();
    EXPECT_EQ(urls->count(), 0);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(dialog, "txtDescription")->isEnabled());
    EXPECT_EQ(child<QComboBox>(dialog, "cmbParent")->count(), 1);
    child<QPushButton>(dialog, "btnAccept")->click();
    EXPECT_FALSE(dialog->isVisible());
  });
  w.trigger("mnuEditDocuments");
  ASSERT_EQ(w.recorder.messages.size(), 4u);
  EXPECT_EQ(w.recorder.messages[0].title, "Please confirm:");
  EXPECT_EQ(w.recorder.messages[0].text, "Are you sure you want to delete document \"Page C\"?");
  EXPECT_EQ(w.db().query_int("select count(*) from Docs"), 0);
}

// The pages of a PDF file that Qt wrote.
int pdf_pages(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  QString text = QString::fromLatin1(file.readAll());
  return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

TEST(PrintDocuments, PrintsOnTheChosenPrinterBreakingPages) {
  DocumentsWindow w;
  QPrinter& printer = w.window.printer();
  QString pdf = QString::fromStdString(w.home.file("listing.pdf"));
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);

  w.trigger("mnuPrintDocuments");
  ASSERT_EQ(w.recorder.messages.size(), 1u);
  EXPECT_EQ(w.recorder.messages[0].text, "NO documents to search!!!");
  EXPECT_FALSE(QFile::exists(pdf));

  ListingGeometry g = listing_geometry(printer);
  ASSERT_GT(g.rows, 4u);
  // One page full and one line more.
  for (size_t k = 0; k + 4 < g.rows + 1; ++k) {
    w.add("http://h/" + std::to_string(k) + ".htm", "", 1, 0);
  }
  w.trigger("mnuPrintDocuments");
  EXPECT_EQ(w.recorder.messages.size(), 1u);
  EXPECT_EQ(pdf_pages(pdf), 2);
}

TEST(PrintDocuments, APrinterThatCannotStartIsReported) {
  DocumentsWindow w;
  w.add_three();
  QPrinter& printer = w.window.printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(w.home.file("no/such/folder/listing.pdf")));
  w.trigger("mnuPrintDocuments");
  ASSERT_EQ(w.recorder.messages.size(), 1u);
  EXPECT_EQ(w.recorder.messages[0].title, "Printing error:");
}

TEST(Statistics, ShowsTheFourCountsInOneBox) {
  DocumentsWindow w;
  w.add_three();
  EXPECT_TRUE(w.db().exec("update Docs set bIndexed = -1 where DocID = ?", {int64_t{w.b}}));
  w.trigger("mnuStatistics");
  ASSERT_EQ(w.recorder.messages.size(), 1u);
  EXPECT_EQ(w.recorder.messages[0].title, "System Statistics");
  EXPECT_EQ(w.recorder.messages[0].icon, Icon::kInformation);
  EXPECT_EQ(w.recorder.messages[0].text,
            "Total documents: 3\rTotal Previously Indexed documents: 0\r"
            "Total Indexed in this crawl: 1\rTotal words: 0");
}

TEST(MailRobot, RunsTheSurveyWithStopShownAndStopsBetweenRows) {
  DocumentsWindow w(1);
  for (const char* url : {"http://x/1.htm", "http://x/2.htm"}) {
    w.http.answer(url, testing::ScriptedHttp::page({"<a href=\"mailto:a@x.org\">a</a>"}));
    EXPECT_TRUE(
        w.db().exec("insert into URLexternos (URLExternal, URLDescription) values (?, 'http://h/')",
                    {std::string(url)}));
  }
  bool stop_shown = false;
  QTimer::singleShot(0, &w.window, [&] {
    auto* stop = child<QPushButton>(&w.window, "btnStop");
    stop_shown = !stop->isHidden();
    stop->click();
  });
  w.trigger("mnuMailRobot");
  EXPECT_TRUE(stop_shown);
  EXPECT_TRUE(child<QPushButton>(&w.window, "btnStop")->isHidden());
  EXPECT_EQ(w.http.requests.size(), 1u);
  EXPECT_EQ(w.db().query_int("select count(*) from URLexternos where URLmailto1 = 'a@x.org'"), 1);
  EXPECT_EQ(child<QListWidget>(&w.window, "lstDocuments")->count(), 1);
  EXPECT_EQ(child<QLabel>(&w.window, "lblExternal")->text(), "1 http://x/1.htm");

  w.trigger("mnuMailRobot");
  EXPECT_EQ(w.http.requests.size(), 2u);
  EXPECT_EQ(w.db().query_int("select count(*) from URLexternos where urlSearch is null"), 0);
}

}  // namespace
}  // namespace trawlix
