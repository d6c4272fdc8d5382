// The desktop UserInterface: message boxes and the main window's controls.
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "gui_support.h"
#include "shell/ui/qt_text.h"

namespace trawlix {
namespace {

using testing::child;

TEST(QtMessageBox, ShowsTheCoreTextConvertedWithItsIconAndButtons) {
  std::unique_ptr<QMessageBox> box = make_message_box(
      nullptr, {"Confirm critical operation:", "Caf\xe9 \x80 5\rsecond line\r\nthird",
                Icon::kQuestion, Buttons::kYesNoCancel, true});
  EXPECT_EQ(box->windowTitle(), "Confirm critical operation:");
  EXPECT_EQ(box->text(), QString::fromUtf8("Café € 5\nsecond line\nthird"));
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

  std::unique_ptr<QMessageBox> critical =
      make_message_box(nullptr, {"Creation error:", "x", Icon::kCritical, Buttons::kOk, false});
  EXPECT_EQ(critical->icon(), QMessageBox::Critical);
  EXPECT_EQ(critical->standardButtons(), QMessageBox::Ok);
}

TEST(QtText, FieldTextComesBackAsTheCoreWroteIt) {
  std::string every_byte;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r') every_byte += static_cast<char>(b);
  }
  EXPECT_EQ(core_text(display_text(every_byte)), every_byte);
  EXPECT_EQ(display_text("a\rb\r\nc\n"), QStringLiteral("a\nb\nc\n"));
  // A character the core cannot hold is not dropped: it stands as "?".
  EXPECT_EQ(core_text(QString::fromUtf8("x\xE6\x97\xA5y")), "x?y");
}

TEST(QtMessageBox, AskReturnsTheButtonClickedAndEscapeIsTheSafeAnswer) {
  QtUserInterface ui;
  testing::when_modal([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(ui.ask("Q:", "sure?", Icon::kQuestion, Buttons::kYesNoCancel), Answer::kYes);

  testing::when_modal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
  EXPECT_EQ(ui.ask("Q:", "sure?", Icon::kQuestion, Buttons::kYesNo), Answer::kNo);

  testing::when_modal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
  EXPECT_EQ(ui.ask("Q:", "sure?", Icon::kQuestion, Buttons::kYesNoCancel), Answer::kCancel);

  testing::when_modal([](QWidget* modal) {
    qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Retry)->click();
  });
  EXPECT_EQ(ui.ask("Q:", "again?", Icon::kExclamation, Buttons::kRetryCancel), Answer::kRetry);
}

TEST(QtMainWindowUi, WritesListLabelsAndProgressBars) {
  testing::StartedWindow started;
  UserInterface& ui = started.window.ui();
  auto* list = child<QListWidget>(&started.window, "lstDocuments");
  ui.list_append("R\xe9sum\xe9 page");
  ui.list_append("second");
  ui.list_select_last();
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("Résumé page"));
  EXPECT_EQ(list->currentRow(), 1);
  EXPECT_GT(ui.list_text_width("a much longer line of text"), ui.list_text_width("short"));
  ui.list_clear();
  EXPECT_EQ(list->count(), 0);

  ui.set_label(Label::kExternal, "12");
  ui.set_label(Label::kLetter, "\xc9");
  EXPECT_EQ(child<QLabel>(&started.window, "lblExternal")->text(), "12");
  EXPECT_EQ(child<QLabel>(&started.window, "lblLetter")->text(), QString::fromUtf8("É"));

  auto* general = child<QProgressBar>(&started.window, "pbGeneralProgress");
  ui.set_progress(Progress::kGeneral, 3, 26);
  EXPECT_EQ(general->maximum(), 26);
  EXPECT_EQ(general->value(), 3);
  ui.show_progress(Progress::kIndex, false);
  EXPECT_TRUE(child<QProgressBar>(&started.window, "pgIndexProgress")->isHidden());
}

TEST(QtMainWindowUi, BusyPointerNestsAndProcessEventsRunsTimers) {
  QtUserInterface ui;
  ui.set_busy(true);
  ui.set_busy(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  ui.set_busy(false);
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  ui.set_busy(false);
  ui.set_busy(false);  // one too many is harmless
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  bool fired = false;
  QTimer::singleShot(0, [&] { fired = true; });
  ui.process_events();
  EXPECT_TRUE(fired);
}

}  // namespace
}  // namespace trawlix
