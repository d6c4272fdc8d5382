// Answers the message boxes this thread shows, for tests of what the engine
// puts in front of the user: a thread timer finds the box (a dialog of
// class #32770), notes its owner, caption, text and icon, and presses the
// chosen button.
#pragma once

#include <windows.h>

#include <string>

namespace cxw {

struct SeenBox {
  int count = 0;  // boxes answered
  HWND owner = nullptr;
  std::string caption;
  std::string text;
  HICON icon = nullptr;
};

class BoxAnswerer {
 public:
  explicit BoxAnswerer(int button) {
    state() = State{};
    state().button = button;
    timer_ = SetTimer(nullptr, 0, 20, tick);
  }
  ~BoxAnswerer() { KillTimer(nullptr, timer_); }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  const SeenBox& seen() const { return state().seen; }

 private:
  // Ids of the controls of a message box's dialog.
  static constexpr int kTextId = 0xFFFF;
  static constexpr int kIconId = 0x0440;

  struct State {
    int button = IDOK;
    SeenBox seen;
  };
  static State& state() {
    static State s;
    return s;
  }

  static BOOL CALLBACK find(HWND window, LPARAM) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
    char text[4096] = "";
    SeenBox& seen = state().seen;
    seen.owner = GetWindow(window, GW_OWNER);
    GetWindowTextA(window, text, sizeof text);
    seen.caption = text;
    text[0] = '\0';
    GetDlgItemTextA(window, kTextId, text, sizeof text);
    seen.text = text;
    seen.icon = reinterpret_cast<HICON>(SendDlgItemMessageA(window, kIconId, STM_GETICON, 0, 0));
    ++seen.count;
    PostMessageA(window, WM_COMMAND, state().button, 0);
    return FALSE;
  }

  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), find, 0);
  }

  UINT_PTR timer_;
};

}  // namespace cxw
