// Library-wide host state: the host window and the stop request of long
// redraws. Both are process-wide, as the host sees one engine per process.
#pragma once

#include <cstdint>

namespace cx {

// The window given to set_Hwnd, 0 before: the owner of every message.
int32_t host_window();

// Set to 1 when a redraw of the base starts; terminar clears it, and the
// redraw stops at its next item when it finds it 0.
int16_t stop_request();
void set_stop_request(int16_t value);

}  // namespace cx
