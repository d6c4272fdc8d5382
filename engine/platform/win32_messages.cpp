// The engine's message boxes and message pumping over USER32: a modal
// MessageBoxA owned by the host window, and the peek-translate-dispatch loop
// over the host window's messages that long loops run.
#include <windows.h>

#include <cstdint>

#include "cartex32.h"
#include "platform/message_sink.h"
#include "platform/pump.h"

namespace cx {

namespace {

HWND window_of(int32_t handle) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
}

// The CX_MB_* styles are the MB_* values of USER32, and the CX_ID* codes its
// button codes, so both pass through unchanged.
static_assert(CX_MB_YESNO == MB_YESNO && CX_MB_ICONSTOP == MB_ICONHAND &&
                  CX_MB_ICONINFORMATION == MB_ICONASTERISK &&
                  CX_MB_ICONQUESTION == MB_ICONQUESTION && CX_MB_DEFBUTTON2 == MB_DEFBUTTON2,
              "message box styles");
static_assert(CX_IDOK == IDOK && CX_IDCANCEL == IDCANCEL && CX_IDNO == IDNO, "button codes");

class MessageBoxSink final : public MessageSink {
 public:
  int show(int32_t owner, const char* caption, const char* text, int style) override {
    // An owner that is no longer a window (the host closed it) would make
    // the box fail; it is shown without an owner instead, as before
    // set_Hwnd.
    HWND parent = window_of(owner);
    if (parent && !IsWindow(parent)) parent = nullptr;
    const int pressed =
        MessageBoxA(parent, text ? text : "", caption ? caption : "", static_cast<UINT>(style));
    // A box that could not be shown (no desktop) answers like nobody there.
    return pressed >= CX_IDOK && pressed <= CX_IDNO ? pressed : safe_answer(style);
  }
};

}  // namespace

MessageSink& system_message_sink() {
  static MessageBoxSink sink;
  return sink;
}

void system_pump(int32_t window) {
  HWND filter = window_of(window);
  if (filter && !IsWindow(filter)) filter = nullptr;
  MSG message;
  while (PeekMessageA(&message, filter, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The host's own loop must still see it, or the host never ends.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace cx
