// Message boxes and main-window controls behind the core's UserInterface.
#include "shell/ui/qt_user_interface.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollBar>
#include <QUrl>
#include <memory>

#include "shell/ui/qt_text.h"

namespace trawlix {
namespace {

QMessageBox::Icon box_icon(Icon icon) {
  switch (icon) {
    case Icon::kInformation:
      return QMessageBox::Information;
    case Icon::kQuestion:
      return QMessageBox::Question;
    case Icon::kExclamation:
      return QMessageBox::Warning;
    case Icon::kCritical:
      return QMessageBox::Critical;
    case Icon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons box_buttons(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return QMessageBox::Ok;
    case Buttons::kOkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::kYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::kRetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

}  // namespace

std::unique_ptr<QMessageBox> make_message_box(QWidget* parent, const MessageRequest& request) {
  auto box = std::make_unique<QMessageBox>(box_icon(request.icon), display_text(request.title),
                                           display_text(request.text), box_buttons(request.buttons),
                                           parent);
  box->setTextFormat(Qt::PlainText);
  if (request.buttons == Buttons::kYesNo) box->setEscapeButton(QMessageBox::No);
  return box;
}

Answer answer_of_button(int standard_button) {
  switch (standard_button) {
    case QMessageBox::Ok:
      return Answer::kOk;
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    case QMessageBox::Retry:
      return Answer::kRetry;
    default:
      return Answer::kCancel;
  }
}

Answer QtUserInterface::run(const MessageRequest& request) {
  if (message_hook_) return message_hook_(request);
  std::unique_ptr<QMessageBox> box = make_message_box(controls_.window, request);
  int result = box->exec();
  if (box->clickedButton() == nullptr) return safe_answer(request.buttons);
  return answer_of_button(result);
}

void QtUserInterface::show_message(const std::string& title, const std::string& text, Icon icon) {
  run({title, text, icon, Buttons::kOk, false});
}

Answer QtUserInterface::ask(const std::string& title, const std::string& text, Icon icon,
                            Buttons buttons) {
  return run({title, text, icon, buttons, true});
}

void QtUserInterface::list_clear() {
  if (controls_.documents) controls_.documents->clear();
}

void QtUserInterface::list_append(const std::string& line) {
  if (controls_.documents) controls_.documents->addItem(display_text(line));
}

void QtUserInterface::list_select_last() {
  QListWidget* list = controls_.documents;
  if (!list || list->count() == 0) return;
  list->setCurrentRow(list->count() - 1);
  list->scrollToBottom();
}

int QtUserInterface::list_text_width(const std::string& line) {
  if (!controls_.documents) return UserInterface::list_text_width(line);
  return controls_.documents->fontMetrics().horizontalAdvance(display_text(line));
}

void QtUserInterface::set_label(Label which, const std::string& text) {
  QLabel* label = which == Label::kExternal ? controls_.external : controls_.letter;
  if (label) label->setText(display_text(text));
}

QProgressBar* QtUserInterface::bar(Progress which) const {
  return which == Progress::kGeneral ? controls_.general : controls_.index;
}

void QtUserInterface::show_progress(Progress which, bool visible) {
  if (QProgressBar* b = bar(which)) b->setVisible(visible);
}

void QtUserInterface::set_progress(Progress which, int value, int maximum) {
  QProgressBar* b = bar(which);
  if (!b) return;
  b->setRange(0, maximum);
  b->setValue(value);
}

void QtUserInterface::set_busy(bool busy) {
  if (busy) {
    ++busy_depth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busy_depth_ > 0) {
    --busy_depth_;
    QApplication::restoreOverrideCursor();
  }
}

void QtUserInterface::process_events() {
  QCoreApplication::processEvents();
}

bool QtUserInterface::open_in_browser(const std::string& path_or_url) {
  if (browser_hook_) return browser_hook_(path_or_url);
  QString target = QString::fromStdString(path_or_url);
  QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())
                                       : QUrl::fromUserInput(target);
  return QDesktopServices::openUrl(url);
}

}  // namespace trawlix
