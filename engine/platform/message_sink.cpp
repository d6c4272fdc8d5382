// The process-wide message sink slot and the safe answer.
#include "platform/message_sink.h"

#include "cartex32.h"

namespace cx {

namespace {

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

MessageSink* set_message_sink(MessageSink* sink) {
  MessageSink* previous = installed ? installed : &system_message_sink();
  installed = sink;
  return previous;
}

MessageSink& message_sink() {
  return installed ? *installed : system_message_sink();
}

}  // namespace cx
