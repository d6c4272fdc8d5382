// What the engine takes from the system for its host on POSIX: messages go
// to standard error, there is no message queue of the host window to pump
// (hosts install a pump callback), and unloading runs the exit handlers.
#include <cstdio>

#include "frame/lifecycle.h"
#include "platform/message_sink.h"
#include "platform/pump.h"

namespace cx {

namespace {

// Writes "caption: text" and gives the safe answer: nobody can be asked.
class StderrSink final : public MessageSink {
 public:
  int show(int32_t, const char* caption, const char* text, int style) override {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    std::fflush(stderr);
    return safe_answer(style);
  }
};

}  // namespace

MessageSink& system_message_sink() {
  static StderrSink sink;
  return sink;
}

void system_pump(int32_t) {}

}  // namespace cx

__attribute__((destructor)) static void cartex32_unload() {
  cx::run_exit_handlers();
}
