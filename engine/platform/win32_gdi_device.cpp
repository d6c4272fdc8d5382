// The device over a host's GDI device context: every call goes straight to
// the context (pens from CreatePenIndirect, solid or null brushes,
// Polyline, Polygon in the fill mode, Ellipse, Rectangle, SetPixel and
// GetPixel, SetROP2, a rectangular clip region, CreateFontIndirectA with
// TextOutA and GetTextExtentPoint32A, GetDeviceCaps). The gaps of
// styled pens are left as they were (transparent background), as on the
// raster device.
#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/gdi_device.h"
#include "platform/png_writer.h"

namespace cx {

namespace {

// GDI keeps coordinates to 27 bits; farther points are brought within.
constexpr LONG kCoordinateLimit = (1 << 27) - 1;

POINT point_of(DevicePoint p) {
  return {std::clamp<LONG>(p.x, -kCoordinateLimit, kCoordinateLimit),
          std::clamp<LONG>(p.y, -kCoordinateLimit, kCoordinateLimit)};
}

UINT style_of(const Pen& pen) {
  if (pen.style == PenStyle::null) return PS_NULL;
  // Styles apply to pens of width 1 only; a wider pen is solid.
  if (pen.width > 1) return PS_SOLID;
  switch (pen.style) {
    case PenStyle::dot:
      return PS_DOT;
    case PenStyle::dash:
      return PS_DASH;
    case PenStyle::dash_dot:
      return PS_DASHDOT;
    case PenStyle::dash_dot_dot:
      return PS_DASHDOTDOT;
    case PenStyle::solid:
    case PenStyle::null:
      break;
  }
  return PS_SOLID;
}

class GdiDevice final : public Device {
 public:
  explicit GdiDevice(HDC hdc) : hdc_(hdc), saved_(SaveDC(hdc)) {
    if (GetObjectType(hdc) == OBJ_MEMDC) {
      BITMAP bitmap{};
      if (GetObjectA(GetCurrentObject(hdc, OBJ_BITMAP), sizeof bitmap, &bitmap)) {
        width_ = bitmap.bmWidth;
        height_ = bitmap.bmHeight;
      }
    } else {
      width_ = GetDeviceCaps(hdc, HORZRES);
      height_ = GetDeviceCaps(hdc, VERTRES);
    }
    SetBkMode(hdc, TRANSPARENT);
    SetROP2(hdc, R2_COPYPEN);
    SetPolyFillMode(hdc, ALTERNATE);
    select_pen(pen_);
    select_brush(brush_);
    set_clip({0, 0, width_, height_});
  }

  ~GdiDevice() override {
    // The context's own pen, brush and clip region come back first, so that
    // ours are no longer selected when deleted.
    RestoreDC(hdc_, saved_);
    if (hpen_) DeleteObject(hpen_);
    if (hbrush_) DeleteObject(hbrush_);
  }

  GdiDevice(const GdiDevice&) = delete;
  GdiDevice& operator=(const GdiDevice&) = delete;

  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }
  int32_t number_of_colours() const override {
    const int n = GetDeviceCaps(hdc_, NUMCOLORS);
    return n < 1 || n > 256 ? -1 : n;
  }
  int32_t technology() const override {
    return GetDeviceCaps(hdc_, TECHNOLOGY) == DT_RASPRINTER ? kTechnologyRasterPrinter
                                                            : kTechnologyRasterDisplay;
  }

  Pen select_pen(const Pen& pen) override {
    LOGPEN lp{style_of(pen), {std::max<LONG>(pen.width, 1), 0}, pen.colour & 0xFFFFFF};
    if (HPEN made = CreatePenIndirect(&lp)) {
      SelectObject(hdc_, made);
      if (hpen_) DeleteObject(hpen_);
      hpen_ = made;
    }
    return std::exchange(pen_, pen);
  }

  Brush select_brush(const Brush& brush) override {
    LOGBRUSH lb{brush.hollow ? UINT(BS_NULL) : UINT(BS_SOLID), brush.colour & 0xFFFFFF, 0};
    if (HBRUSH made = CreateBrushIndirect(&lb)) {
      SelectObject(hdc_, made);
      if (hbrush_) DeleteObject(hbrush_);
      hbrush_ = made;
    }
    return std::exchange(brush_, brush);
  }

  Pen pen() const override { return pen_; }
  Brush brush() const override { return brush_; }

  RasterOp set_raster_op(RasterOp op) override {
    SetROP2(hdc_, op == RasterOp::copy ? R2_COPYPEN : R2_XORPEN);
    return std::exchange(op_, op);
  }
  RasterOp raster_op() const override { return op_; }

  FillMode set_fill_mode(FillMode mode) override {
    SetPolyFillMode(hdc_, mode == FillMode::alternate ? ALTERNATE : WINDING);
    return std::exchange(fill_mode_, mode);
  }

  void set_clip(const DeviceRect& region) override {
    const LONG l = std::min(region.left, region.right), r = std::max(region.left, region.right);
    const LONG t = std::min(region.top, region.bottom), b = std::max(region.top, region.bottom);
    clip_ = {std::clamp<LONG>(l, 0, width_), std::clamp<LONG>(t, 0, height_),
             std::clamp<LONG>(r, 0, width_), std::clamp<LONG>(b, 0, height_)};
    HRGN rgn = CreateRectRgn(clip_.left, clip_.top, clip_.right, clip_.bottom);
    if (!rgn) return;
    SelectClipRgn(hdc_, rgn);
    DeleteObject(rgn);
  }
  DeviceRect clip_box() const override { return clip_; }

  bool polyline(const DevicePoint* points, int count, bool) override {
    // GDI starts a styled pen's pattern afresh on every call.
    if (!points || count < 2) return false;
    return Polyline(hdc_, convert(points, count), count) != 0;
  }

  bool polygon(const DevicePoint* points, int count) override {
    if (!points || count < 2) return false;
    return Polygon(hdc_, convert(points, count), count) != 0;
  }

  bool ellipse(const DeviceRect& box) override {
    const POINT a = point_of({box.left, box.top}), b = point_of({box.right, box.bottom});
    return Ellipse(hdc_, a.x, a.y, b.x, b.y) != 0;
  }

  bool rectangle(const DeviceRect& box) override {
    const POINT a = point_of({box.left, box.top}), b = point_of({box.right, box.bottom});
    return Rectangle(hdc_, a.x, a.y, b.x, b.y) != 0;
  }

  Colorref set_pixel(int32_t x, int32_t y, Colorref colour) override {
    if (!inside_clip(x, y)) return kInvalidColour;
    const COLORREF set = SetPixel(hdc_, x, y, colour & 0xFFFFFF);
    return set == CLR_INVALID ? kInvalidColour : Colorref(set);
  }

  Colorref get_pixel(int32_t x, int32_t y) const override {
    if (!inside_clip(x, y)) return kInvalidColour;
    const COLORREF got = GetPixel(hdc_, x, y);
    return got == CLR_INVALID ? kInvalidColour : Colorref(got);
  }

  bool text_out(DevicePoint at, const std::string& text, const FontSpec& font,
                const TextStyle& style) override {
    HFONT made = make_font(font);
    if (!made) return false;
    HGDIOBJ old = SelectObject(hdc_, made);
    const COLORREF ink = SetTextColor(hdc_, style.colour & 0xFFFFFF);
    const COLORREF paper = SetBkColor(hdc_, style.background & 0xFFFFFF);
    SetBkMode(hdc_, style.opaque ? OPAQUE : TRANSPARENT);
    const POINT p = point_of(at);
    const BOOL ok = TextOutA(hdc_, p.x, p.y, text.data(), static_cast<int>(text.size()));
    // Styled pens leave their gaps transparent: the mode goes back at once.
    SetBkMode(hdc_, TRANSPARENT);
    SetBkColor(hdc_, paper);
    SetTextColor(hdc_, ink);
    SelectObject(hdc_, old);
    DeleteObject(made);
    return ok != 0;
  }

  DevicePoint text_extent(const std::string& text, const FontSpec& font) override {
    FontSpec flat = font;
    flat.escapement = 0;
    HFONT made = make_font(flat);
    if (!made) return {0, 0};
    HGDIOBJ old = SelectObject(hdc_, made);
    SIZE size{};
    const BOOL ok = GetTextExtentPoint32A(hdc_, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(hdc_, old);
    DeleteObject(made);
    return ok ? DevicePoint{size.cx, size.cy} : DevicePoint{0, 0};
  }

  bool save_png(const std::string& path) const override {
    std::vector<uint8_t> rgbx(std::size_t(width_) * height_ * 4);
    if (rgbx.empty() || !copy_pixels(rgbx.data())) return false;
    std::vector<uint32_t> pixels(std::size_t(width_) * height_);
    for (std::size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = rgbx[4 * i] | (rgbx[4 * i + 1] << 8) | (uint32_t(rgbx[4 * i + 2]) << 16);
    return write_png(path, pixels.data(), width_, height_);
  }

  // The context's pixels, copied through a 32-bit top-down DIB section.
  bool copy_pixels(uint8_t* out) const override {
    if (!out || width_ < 1 || height_ < 1) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(hdc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return false;
    HDC copy = CreateCompatibleDC(hdc_);
    bool done = false;
    if (copy) {
      HGDIOBJ old = SelectObject(copy, dib);
      done = BitBlt(copy, 0, 0, width_, height_, hdc_, 0, 0, SRCCOPY) != 0;
      GdiFlush();
      if (done) {
        // Each pixel is the value 0x00RRGGBB: bytes blue, green, red, 0.
        const uint8_t* p = static_cast<const uint8_t*>(bits);
        for (std::size_t i = 0; i < std::size_t(width_) * height_; ++i, p += 4) {
          *out++ = p[2];
          *out++ = p[1];
          *out++ = p[0];
          *out++ = 0;
        }
      }
      SelectObject(copy, old);
      DeleteDC(copy);
    }
    DeleteObject(dib);
    return done;
  }

 private:
  // The font of a description as CreateFontIndirectA takes it: the cell
  // height (a negative lfHeight would be the character height instead).
  static HFONT make_font(const FontSpec& font) {
    LOGFONTA lf{};
    lf.lfHeight = font.height;
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfEscapement = font.escapement;
    lf.lfOrientation = font.escapement;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfPitchAndFamily = static_cast<BYTE>(font.pitch_and_family);
    const size_t n = std::min(font.face.size(), sizeof lf.lfFaceName - 1);
    std::copy_n(font.face.data(), n, lf.lfFaceName);
    return CreateFontIndirectA(&lf);
  }

  bool inside_clip(int32_t x, int32_t y) const {
    return x >= clip_.left && x < clip_.right && y >= clip_.top && y < clip_.bottom;
  }
  const POINT* convert(const DevicePoint* points, int count) {
    scratch_.resize(count);
    for (int i = 0; i < count; ++i) scratch_[i] = point_of(points[i]);
    return scratch_.data();
  }

  HDC hdc_;
  int saved_;
  int32_t width_ = 0, height_ = 0;
  HPEN hpen_ = nullptr;
  HBRUSH hbrush_ = nullptr;
  Pen pen_;
  Brush brush_;
  RasterOp op_ = RasterOp::copy;
  FillMode fill_mode_ = FillMode::alternate;
  DeviceRect clip_;
  std::vector<POINT> scratch_;
};

}  // namespace

bool gdi_supported() {
  return true;
}

std::unique_ptr<Device> dispositivo_gdi(int32_t hdc) {
  HDC dc = reinterpret_cast<HDC>(static_cast<intptr_t>(hdc));
  const DWORD type = dc ? GetObjectType(dc) : 0;
  if (type != OBJ_DC && type != OBJ_MEMDC) return nullptr;
  return std::make_unique<GdiDevice>(dc);
}

}  // namespace cx
