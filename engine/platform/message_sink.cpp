// The default message sink and the process-wide sink slot.
#include "platform/message_sink.h"

#include <cstdio>

#include "cartex32.h"

namespace cx {

namespace {

class StderrSink final : public MessageSink {
 public:
  int show(int32_t, const char* caption, const char* text, int style) override {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    std::fflush(stderr);
    return safe_answer(style);
  }
};

MessageSink* installed = nullptr;

}  // namespace

int safe_answer(int style) {
  switch (style & CX_MB_TYPEMASK) {
    case CX_MB_OKCANCEL:
    case CX_MB_YESNOCANCEL:
    case CX_MB_RETRYCANCEL:
      return CX_IDCANCEL;
    case CX_MB_YESNO:
      return CX_IDNO;
    case CX_MB_ABORTRETRYIGNORE:
      return CX_IDABORT;
    default:
      return CX_IDOK;
  }
}

MessageSink& stderr_message_sink() {
  static StderrSink sink;
  return sink;
}

MessageSink* set_message_sink(MessageSink* sink) {
  MessageSink* previous = installed ? installed : &stderr_message_sink();
  installed = sink;
  return previous;
}

MessageSink& message_sink() {
  return installed ? *installed : stderr_message_sink();
}

}  // namespace cx
