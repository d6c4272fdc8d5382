// Terminal messages and questions.
#include "cli/terminal_ui.h"

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

#include "base/cp1252.h"

namespace trawlix {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void on_sigint(int) {
  g_interrupted = 1;
}

const char* answer_name(Answer a) {
  switch (a) {
    case Answer::kOk:
      return "OK";
    case Answer::kCancel:
      return "Cancel";
    case Answer::kYes:
      return "Yes";
    case Answer::kNo:
      return "No";
    case Answer::kRetry:
      return "Retry";
  }
  return "";
}

}  // namespace

namespace {

// Control characters that a terminal acts on: C0, DEL, and the bytes that
// Windows-1252 leaves undefined, which stand for the C1 controls.
bool is_control(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// `text` (Windows-1252) as UTF-8 with each control character written out
// visibly; `keep` returns the text for a control character that stays
// what it is, or null.
template <typename Keep>
std::string escaped(const std::string& text, Keep keep) {
  static const char kHex[] = "0123456789abcdef";
  std::string visible;
  visible.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (!is_control(byte)) {
      visible += c;
    } else if (const char* kept = keep(c)) {
      visible += kept;
    } else {
      visible += "\\x";
      visible += kHex[byte >> 4];
      visible += kHex[byte & 0x0F];
    }
  }
  return cp1252_to_utf8(visible);
}

}  // namespace

std::string terminal_text(const std::string& text) {
  return escaped(text, [](char c) -> const char* {
    switch (c) {
      case '\r':
      case '\n':
        return "\n";
      case '\t':
        return "\t";
      default:
        return nullptr;
    }
  });
}

std::string terminal_field(const std::string& text) {
  return escaped(text, [](char c) -> const char* {
    switch (c) {
      case '\r':
        return "\\r";
      case '\n':
        return "\\n";
      case '\t':
        return "\\t";
      default:
        return nullptr;
    }
  });
}

void TerminalUi::show_message(const std::string& title, const std::string& text, Icon) {
  err_ << terminal_text(title) << " " << terminal_text(text) << std::endl;
}

Answer TerminalUi::ask(const std::string& title, const std::string& text, Icon, Buttons buttons) {
  err_ << terminal_text(title) << " " << terminal_text(text) << std::endl;
  std::optional<Answer> answer;
  if (!preset_.empty()) {
    answer = preset_.front();
    preset_.pop_front();
  }
  if (!answer && yes_to_all_) answer = affirmative_answer(buttons);
  if (!answer) {
    if (::isatty(STDIN_FILENO)) return ask_terminal(buttons);
    answer = safe_answer(buttons);
  }
  err_ << "  -> " << answer_name(*answer) << std::endl;
  return *answer;
}

Answer TerminalUi::ask_terminal(Buttons buttons) {
  const char* prompt = "[y/n] ";
  switch (buttons) {
    case Buttons::kOk:
      return Answer::kOk;
    case Buttons::kOkCancel:
      prompt = "[o]k/[c]ancel ";
      break;
    case Buttons::kRetryCancel:
      prompt = "[r]etry/[c]ancel ";
      break;
    case Buttons::kYesNoCancel:
      prompt = "[y]es/[n]o/[c]ancel ";
      break;
    case Buttons::kYesNo:
      break;
  }
  std::string line;
  while (true) {
    err_ << prompt << std::flush;
    if (!std::getline(std::cin, line)) return safe_answer(buttons);
    char c =
        line.empty() ? 0 : static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    if (buttons == Buttons::kOkCancel && c == 'o') return Answer::kOk;
    if (buttons == Buttons::kRetryCancel && c == 'r') return Answer::kRetry;
    if ((buttons == Buttons::kYesNo || buttons == Buttons::kYesNoCancel) && c == 'y') {
      return Answer::kYes;
    }
    if ((buttons == Buttons::kYesNo || buttons == Buttons::kYesNoCancel) && c == 'n') {
      return Answer::kNo;
    }
    if (buttons != Buttons::kYesNo && c == 'c') return Answer::kCancel;
  }
}

void TerminalUi::list_append(const std::string& line) {
  if (show_list_) out_ << terminal_text(line) << "\n";
}

void TerminalUi::set_label(Label, const std::string& text) {
  // A label cleared at the end of a run has nothing to say.
  if (!text.empty()) err_ << terminal_text(text) << std::endl;
}

void TerminalUi::process_events() {
  if (g_interrupted && on_interrupt_) on_interrupt_();
}

bool TerminalUi::open_in_browser(const std::string& path_or_url) {
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    execlp("xdg-open", "xdg-open", path_or_url.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void install_interrupt_handler() {
  struct sigaction sa {};
  sa.sa_handler = on_sigint;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
}

bool interrupted() {
  return g_interrupted != 0;
}

}  // namespace trawlix
