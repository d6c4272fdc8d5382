// The command line's UserInterface: messages to standard error, the
// document list to standard output, questions answered by flags or asked
// on the terminal.
#pragma once

#include <deque>
#include <functional>
#include <iosfwd>
#include <optional>

#include "shell/user_interface.h"

namespace trawlix {

class TerminalUi : public UserInterface {
 public:
  TerminalUi(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  // Answers every question with its affirmative button (--yes).
  void set_yes_to_all(bool yes) { yes_to_all_ = yes; }
  // Answers for the next questions, in order; an empty entry means "ask".
  void preset_answers(std::deque<std::optional<Answer>> answers) { preset_ = std::move(answers); }
  // Whether the document list's lines are printed (on standard output).
  void set_show_list(bool show) { show_list_ = show; }
  // Called from process_events() once Ctrl-C has been pressed.
  void set_on_interrupt(std::function<void()> on_interrupt) {
    on_interrupt_ = std::move(on_interrupt);
  }

  void show_message(const std::string& title, const std::string& text, Icon icon) override;
  Answer ask(const std::string& title, const std::string& text, Icon icon,
             Buttons buttons) override;
  void list_clear() override {}
  void list_append(const std::string& line) override;
  void set_label(Label which, const std::string& text) override;
  void process_events() override;
  bool open_in_browser(const std::string& path_or_url) override;

 private:
  Answer ask_terminal(Buttons buttons);

  std::ostream& out_;
  std::ostream& err_;
  bool yes_to_all_ = false;
  bool show_list_ = true;
  std::deque<std::optional<Answer>> preset_;
  std::function<void()> on_interrupt_;
};

// Ctrl-C: the first press asks the running command to stop (seen through
// process_events); interrupted() tells whether it was pressed.
void install_interrupt_handler();
bool interrupted();

// Text for the terminal: Windows-1252 to UTF-8, carriage returns as line
// breaks, every other control character but the tab written out as "\x1b"
// is, so that no text of a page can act on the terminal.
std::string terminal_text(const std::string& text);
// A field of a line of output (a URL, a description, a token): as
// terminal_text, with tabs, carriage returns and line feeds written out as
// "\t", "\r" and "\n" too, so that the field stays one field on one line.
std::string terminal_field(const std::string& text);

}  // namespace trawlix
