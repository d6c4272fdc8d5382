// The exports through which a host installs its message callback and its
// event pump.
#include "cartex32.h"
#include "platform/message_sink.h"
#include "platform/pump.h"

namespace {

class CallbackSink final : public cx::MessageSink {
 public:
  cx_message_fn callback = nullptr;
  void* user = nullptr;

  int show(int32_t owner, const char* caption, const char* text, int style) override {
    return callback(user, owner, caption, text, style);
  }
};

CallbackSink callback_sink;

// The host's pump has the exports' calling convention; the engine's pump
// slot takes a plain function, which calls it.
cx_pump_fn host_pump = nullptr;

void run_host_pump(void* user) {
  if (host_pump) host_pump(user);
}

}  // namespace

CX_EXPORT(int16_t) cx_set_message_callback(cx_message_fn callback, void* user) {
  callback_sink.callback = callback;
  callback_sink.user = user;
  cx::set_message_sink(callback ? &callback_sink : nullptr);
  return -1;
}

CX_EXPORT(int16_t) cx_set_pump_callback(cx_pump_fn callback, void* user) {
  host_pump = callback;
  cx::set_pump(callback ? run_host_pump : nullptr, user);
  return -1;
}
