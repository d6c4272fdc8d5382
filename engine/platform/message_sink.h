// Where the engine's message boxes go: a sink receives owner window, caption,
// text and style and returns the button pressed. The sink is process-wide
// because the engine's message display is: every part of the library reports
// through the same one. Until a host installs its own, the system's sink is
// used: a modal MessageBoxA over the owner on Windows, standard error
// elsewhere.
#pragma once

#include <cstdint>

namespace cx {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Shows one message; returns the CX_ID* code of the button pressed.
  virtual int show(int32_t owner, const char* caption, const char* text, int style) = 0;
};

// The answer a sink gives when nobody can be asked: OK for a notice, else
// Cancel, No or Abort, so that nothing is deleted or retried without a yes.
int safe_answer(int style);

// The system's sink (posix_host.cpp or win32_messages.cpp).
MessageSink& system_message_sink();

// Installs a sink (null restores the system's); returns the one that was
// installed before, so a caller can put it back.
MessageSink* set_message_sink(MessageSink* sink);
MessageSink& message_sink();

}  // namespace cx
