// The core's one channel to the person using the indexer. The desktop
// program shows it as message boxes and main-window controls, the command
// line as terminal output, the tests as a recording.
//
// All texts passed through this interface are Windows-1252, as the core
// holds them; an implementation converts them for display. A carriage
// return in a message text is a line break.
#pragma once

#include <string>
#include <vector>

namespace trawlix {

enum class Icon { kNone, kInformation, kQuestion, kExclamation, kCritical };

enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel };

enum class Answer { kOk, kCancel, kYes, kNo, kRetry };

// The answer that loses nothing: what a question gets when nobody can
// answer it, or when its box is closed without a button.
inline Answer safe_answer(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return Answer::kOk;
    case Buttons::kYesNo:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

// The answer of a question's first, affirmative button.
inline Answer affirmative_answer(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
    case Buttons::kOkCancel:
      return Answer::kOk;
    case Buttons::kRetryCancel:
      return Answer::kRetry;
    default:
      return Answer::kYes;
  }
}

// Main-window labels and progress bars that the core updates.
enum class Label { kExternal, kLetter };
enum class Progress { kGeneral, kIndex };

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A modal message with an OK button.
  virtual void show_message(const std::string& title, const std::string& text, Icon icon) = 0;
  // A modal question; the answer is one of the given buttons.
  virtual Answer ask(const std::string& title, const std::string& text, Icon icon,
                     Buttons buttons) = 0;

  // The main window's document list.
  virtual void list_clear() = 0;
  virtual void list_append(const std::string& line) = 0;
  // Selects the last line and shows it.
  virtual void list_select_last() {}
  // Width of a line in the list's own unit, and the horizontal extent that
  // makes lines that wide scrollable into view.
  virtual int list_text_width(const std::string& line) { return static_cast<int>(line.size()); }
  virtual void list_set_extent(int /*extent*/) {}

  virtual void set_label(Label /*which*/, const std::string& /*text*/) {}
  virtual void show_progress(Progress /*which*/, bool /*visible*/) {}
  virtual void set_progress(Progress /*which*/, int /*value*/, int /*maximum*/) {}
  virtual void set_busy(bool /*busy*/) {}

  // Lets pending events run; this is where a Stop request is noticed.
  virtual void process_events() {}

  // Opens a file or URL in the user's browser. False when nothing opened it.
  virtual bool open_in_browser(const std::string& /*path_or_url*/) { return false; }
};

}  // namespace trawlix
