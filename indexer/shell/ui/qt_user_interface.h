// The desktop program's UserInterface: the core's messages and questions as
// modal message boxes, its lines, labels and progress bars on the main
// window's controls.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "shell/user_interface.h"

class QLabel;
class QListWidget;
class QMessageBox;
class QProgressBar;
class QWidget;

namespace trawlix {

// One message or question of the core, as the person would see it.
struct MessageRequest {
  std::string title;  // Windows-1252
  std::string text;   // Windows-1252, "\r" a line break
  Icon icon = Icon::kNone;
  Buttons buttons = Buttons::kOk;
  bool question = false;
};

// A message box for `request`, parented to `parent`, which must outlive it.
std::unique_ptr<QMessageBox> make_message_box(QWidget* parent, const MessageRequest& request);

// The answer a button of a message box stands for.
Answer answer_of_button(int standard_button);

class QtUserInterface : public UserInterface {
 public:
  // The main window's controls this interface writes to. Any may be null.
  struct Controls {
    QWidget* window = nullptr;
    QListWidget* documents = nullptr;
    QLabel* external = nullptr;
    QLabel* letter = nullptr;
    QProgressBar* general = nullptr;
    QProgressBar* index = nullptr;
  };
  void attach(const Controls& controls) { controls_ = controls; }

  // When set, every message and question goes to `hook` instead of a
  // message box; its return value answers a question. Tests use this to
  // answer in place of a person.
  using MessageHook = std::function<Answer(const MessageRequest&)>;
  void set_message_hook(MessageHook hook) { message_hook_ = std::move(hook); }
  // When set, open_in_browser calls `hook` instead of the desktop.
  using BrowserHook = std::function<bool(const std::string&)>;
  void set_browser_hook(BrowserHook hook) { browser_hook_ = std::move(hook); }

  void show_message(const std::string& title, const std::string& text, Icon icon) override;
  Answer ask(const std::string& title, const std::string& text, Icon icon,
             Buttons buttons) override;

  void list_clear() override;
  void list_append(const std::string& line) override;
  void list_select_last() override;
  int list_text_width(const std::string& line) override;

  void set_label(Label which, const std::string& text) override;
  void show_progress(Progress which, bool visible) override;
  void set_progress(Progress which, int value, int maximum) override;
  void set_busy(bool busy) override;

  void process_events() override;
  bool open_in_browser(const std::string& path_or_url) override;

 private:
  Answer run(const MessageRequest& request);
  QProgressBar* bar(Progress which) const;

  Controls controls_;
  MessageHook message_hook_;
  BrowserHook browser_hook_;
  int busy_depth_ = 0;
};

}  // namespace trawlix
