// A message sink that records every message and answers from a script, for
// tests that assert what the engine told the user.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/message_sink.h"

namespace cx::testing {

struct Message {
  int owner;
  std::string caption;
  std::string text;
  int style;
};

class RecordingSink final : public MessageSink {
 public:
  RecordingSink() { previous_ = set_message_sink(this); }
  ~RecordingSink() override { set_message_sink(previous_); }
  RecordingSink(const RecordingSink&) = delete;
  RecordingSink& operator=(const RecordingSink&) = delete;

  int show(int32_t owner, const char* caption, const char* text, int style) override {
    messages.push_back({owner, caption ? caption : "", text ? text : "", style});
    if (answers.empty()) return safe_answer(style);
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  // The texts shown, in order.
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
  }

  std::vector<Message> messages;
  std::deque<int> answers;

 private:
  MessageSink* previous_;
};

}  // namespace cx::testing
