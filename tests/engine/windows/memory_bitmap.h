// A white 32-bit DIB section selected in a memory device context, for the
// tests that draw through GDI itself.
#pragma once

#include <windows.h>

#include <cstdint>

class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, width, height, WHITENESS);
  }
  ~MemoryBitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;
  int32_t hdc() const { return static_cast<int32_t>(reinterpret_cast<intptr_t>(dc_)); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};
