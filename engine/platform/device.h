// The drawing surface behind a host's device context. The graphics kernel
// draws through this interface only: pens, brushes, polylines, polygons,
// ellipses, rectangles, pixels, the raster operation, one rectangular clip
// region and the device's capabilities. Coordinates are device pixels, y
// downward. Rectangles and ellipses leave out their right and bottom edges;
// a polyline leaves out the last pixel of each segment, as the device
// contexts the engine was written for do.
//
// Text goes out in a font described by FontSpec, as a device context's
// TextOut does: the point is the top-left corner of the text's cell,
// turned with the escapement about that point.
//
// Implementations: RasterDevice (a 32-bit pixel buffer that saves PNG) and
// RecordingDevice (logs every call, for tests that assert what was drawn).
#pragma once

#include <cstdint>
#include <string>

namespace cx {

struct DevicePoint {
  int32_t x = 0, y = 0;
  bool operator==(const DevicePoint&) const = default;
};

// A colour value 0x00BBGGRR.
using Colorref = uint32_t;
inline constexpr Colorref kInvalidColour = 0xFFFFFFFF;

// A null pen draws nothing: shapes drawn with it are filled only.
enum class PenStyle { solid, dot, dash, dash_dot, dash_dot_dot, null };

struct Pen {
  PenStyle style = PenStyle::solid;  // styles other than solid apply to width 1 only
  int32_t width = 1;                 // pixels; wider pens have round caps and joins
  Colorref colour = 0;
  bool operator==(const Pen&) const = default;
};

struct Brush {
  bool hollow = false;  // a hollow brush fills nothing
  Colorref colour = 0xFFFFFF;
  bool operator==(const Brush&) const = default;
};

enum class RasterOp { copy, xor_pen };
enum class FillMode { alternate, winding };

// A rectangle of device pixels: left and top inside, right and bottom not.
struct DeviceRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const DeviceRect&) const = default;
};

// A font as a device context's font description gives it.
struct FontSpec {
  int32_t height = 15;   // cell height in pixels (ascent plus descent)
  int32_t weight = 400;  // 400 normal, 700 bold
  bool italic = false;
  int32_t escapement = 0;           // tenths of a degree, counter-clockwise on the screen
  std::string face;                 // empty: a face of the family below
  int32_t pitch_and_family = 0x22;  // family in the high nibble: 0x10 roman, 0x20 swiss
  bool operator==(const FontSpec&) const = default;
};

// How text is laid over the surface: transparent leaves the pixels between
// the letters, opaque first fills the text's cell with `background`.
struct TextStyle {
  Colorref colour = 0;
  bool opaque = false;
  Colorref background = 0xFFFFFF;
  bool operator==(const TextStyle&) const = default;
};

// The capabilities the kernel asks for.
inline constexpr int32_t kTechnologyRasterDisplay = 1;
inline constexpr int32_t kTechnologyRasterPrinter = 2;

class Device {
 public:
  virtual ~Device() = default;

  virtual int32_t width() const = 0;
  virtual int32_t height() const = 0;
  // Number of colours of a palette device; -1 for a device of more than 256.
  virtual int32_t number_of_colours() const = 0;
  virtual int32_t technology() const = 0;

  // The pen and brush in use; select_* returns the one it replaces.
  virtual Pen select_pen(const Pen& pen) = 0;
  virtual Brush select_brush(const Brush& brush) = 0;
  virtual Pen pen() const = 0;
  virtual Brush brush() const = 0;
  virtual RasterOp set_raster_op(RasterOp op) = 0;
  virtual RasterOp raster_op() const = 0;
  virtual FillMode set_fill_mode(FillMode mode) = 0;

  // The clip region: everything outside it is left as it was. clip_box is
  // the region within the device, an empty rectangle possibly.
  virtual void set_clip(const DeviceRect& region) = 0;
  virtual DeviceRect clip_box() const = 0;

  // A polyline with the pen. `continues` carries the style of a width-1
  // styled pen on from the previous polyline, for a line drawn in pieces.
  virtual bool polyline(const DevicePoint* points, int count, bool continues = false) = 0;
  // A closed polygon filled with the brush in the fill mode, outlined with
  // the pen.
  virtual bool polygon(const DevicePoint* points, int count) = 0;
  // The ellipse inscribed in the rectangle (corners in any order), outlined
  // with the pen and filled with the brush.
  virtual bool ellipse(const DeviceRect& box) = 0;
  virtual bool rectangle(const DeviceRect& box) = 0;
  // The colour set, or kInvalidColour when the pixel is outside the device
  // or the clip region.
  virtual Colorref set_pixel(int32_t x, int32_t y, Colorref colour) = 0;
  // kInvalidColour outside the device or the clip region.
  virtual Colorref get_pixel(int32_t x, int32_t y) const = 0;

  // Writes `text` (Windows-1252 bytes) with its cell's top-left corner at
  // `at`; false when the device has no fonts (the build has no font
  // library, or no face could be found) and nothing was drawn.
  virtual bool text_out(DevicePoint at, const std::string& text, const FontSpec& font,
                        const TextStyle& style) = 0;
  // The width and height in pixels of `text` in `font`, unrotated; 0 x 0
  // for a device without fonts.
  virtual DevicePoint text_extent(const std::string& text, const FontSpec& font) = 0;

  // Saves the surface as a PNG file; false when it cannot (a device without
  // pixels, a file that cannot be written, no PNG support in this build).
  virtual bool save_png(const std::string& path) const = 0;
  // Copies width x height pixels, rows top to bottom, each the bytes red,
  // green, blue, 0; false for a device without pixels.
  virtual bool copy_pixels(uint8_t* out) const = 0;
};

}  // namespace cx
