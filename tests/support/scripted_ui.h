// A UserInterface for tests: records every message, question and list line,
// and answers questions from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "shell/user_interface.h"

namespace trawlix::testing {

struct RecordedMessage {
  std::string title;
  std::string text;
  Icon icon;
  bool question;
  Buttons buttons;
};

class ScriptedUi : public UserInterface {
 public:
  // Answers for the next questions, in order. A question with no scripted
  // answer left is recorded and answered kCancel (or kNo for Yes/No).
  void script(std::initializer_list<Answer> answers) { answers_.insert(answers_.end(), answers); }

  void show_message(const std::string& title, const std::string& text, Icon icon) override {
    messages.push_back({title, text, icon, false, Buttons::kOk});
  }
  Answer ask(const std::string& title, const std::string& text, Icon icon,
             Buttons buttons) override {
    messages.push_back({title, text, icon, true, buttons});
    if (answers_.empty()) {
      ++unscripted_questions;
      return safe_answer(buttons);
    }
    Answer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  void list_clear() override { lines.clear(); }
  void list_append(const std::string& line) override { lines.push_back(line); }
  void set_label(Label which, const std::string& text) override {
    (which == Label::kExternal ? external_label : letter_label) = text;
  }
  void process_events() override {
    ++events_processed;
    if (on_events) on_events();
  }
  bool open_in_browser(const std::string& path_or_url) override {
    opened.push_back(path_or_url);
    return browser_available;
  }

  std::vector<RecordedMessage> messages;
  std::vector<std::string> lines;
  std::vector<std::string> opened;
  std::string external_label;
  std::string letter_label;
  int events_processed = 0;
  int unscripted_questions = 0;
  bool browser_available = true;
  std::function<void()> on_events;

 private:
  std::deque<Answer> answers_;
};

}  // namespace trawlix::testing
