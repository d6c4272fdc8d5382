// The user interface of the indexer's benchmarks: shows nothing but
// critical messages (on stderr, counted), and answers every question with
// its safe answer.
#pragma once

#include <cstdio>
#include <string>

#include "base/cp1252.h"
#include "shell/user_interface.h"

namespace trawlix {

class QuietUi : public UserInterface {
 public:
  explicit QuietUi(const char* program) : program_(program) {}
  void show_message(const std::string& title, const std::string& text, Icon icon) override {
    if (icon != Icon::kCritical) return;
    std::fprintf(stderr, "%s: %s %s\n", program_, cp1252_to_utf8(title).c_str(),
                 cp1252_to_utf8(text).c_str());
    failures++;
  }
  Answer ask(const std::string&, const std::string&, Icon, Buttons buttons) override {
    return safe_answer(buttons);
  }
  void list_clear() override {}
  void list_append(const std::string&) override {}
  int failures = 0;

 private:
  const char* program_;
};

}  // namespace trawlix
