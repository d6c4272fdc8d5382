// Helpers of the GUI tests: a started main window whose messages are
// answered by the test, and a way to act on a modal window from inside its
// event loop.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "app/application_start.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_commands.h"
#include "support/temp_dir.h"

namespace trawlix::testing {

// Records every message and question of a QtUserInterface and answers the
// questions from a script (the safe answer when the script is used up).
class MessageRecorder {
 public:
  explicit MessageRecorder(QtUserInterface& ui) {
    ui.set_message_hook([this](const MessageRequest& request) {
      messages.push_back(request);
      if (!request.question) return Answer::kOk;
      if (answers_.empty()) return safe_answer(request.buttons);
      Answer a = answers_.front();
      answers_.pop_front();
      return a;
    });
  }
  void script(std::initializer_list<Answer> answers) { answers_.insert(answers_.end(), answers); }

  std::vector<MessageRequest> messages;

 private:
  std::deque<Answer> answers_;
};

// Runs `act` on the next modal window as soon as it is shown, from inside
// its event loop. `act` must close it. A modal window that does not appear,
// or is left open, fails the test (and is closed, so the test ends).
inline void when_modal(std::function<void(QWidget*)> act, int limit_ms = 5000) {
  auto* timer = new QTimer;
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, act, clock, limit_ms] {
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
      QTimer::singleShot(limit_ms, [modal] {
        if (modal && modal->isVisible()) {
          ADD_FAILURE() << "modal window " << modal->objectName().toStdString() << " left open";
          modal->close();
        }
      });
      return;
    }
    if (clock->elapsed() > limit_ms) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal window appeared";
    }
  });
  timer->start(10);
}

// The child of `parent` named `name`; fails the test when there is none.
template <typename T>
T* child(const QObject* parent, const char* name) {
  T* found = parent->findChild<T*>(QLatin1String(name));
  EXPECT_NE(found, nullptr) << "no " << name;
  return found;
}

// The main window with the shell's commands, started in a fresh folder.
struct StartedWindow {
  explicit StartedWindow(int16_t mail_robot_mode = 0) {
    install_shell_commands(window);
    start_application(window, {home.path(), mail_robot_mode, false});
  }
  void trigger(const char* entry) {
    QAction* action = window.entry(QLatin1String(entry));
    ASSERT_NE(action, nullptr) << entry;
    ASSERT_TRUE(action->isEnabled()) << entry;
    action->trigger();
  }

  TempDir home;
  MainWindow window;
  MessageRecorder recorder{window.ui()};
};

}  // namespace trawlix::testing
