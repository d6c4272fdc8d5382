// The distance field of a raster: for every pixel of a source device, the
// distance to its nearest feature pixel (one darker than near-white),
// written as a pixel value into a target device. Two passes of vector
// propagation: each pixel keeps the offset (dx, dy) to the nearest feature
// found so far and that feature's colour, its class. The forward pass runs
// down the rows and parks each row's offsets and classes in three
// temporary record files; the backward pass reads them back bottom up, so
// that only eight rows are ever held in memory.
#include <cmath>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "cartex32.h"
#include "frame/messages.h"
#include "platform/device_table.h"
#include "platform/files.h"
#include "records/record_file.h"

namespace {

constexpr cx::Colorref kDefaultThreshold = 0xFFFCFF;
// A row record's size is a 16-bit value.
constexpr int32_t kMaxWidth = 32767 / 4;
constexpr int32_t kClassWeight = 10;

cx::Colorref feature_threshold = kDefaultThreshold;

// Every class weighs the same. A weighted transform would look the class up
// here; the tie rules below already compare weights.
int32_t weight_of(int32_t /*class*/) {
  return kClassWeight;
}

// 100 (dx^2 + dy^2) / w in 64 bits: offsets reach the image's width plus
// its height, whose squares overflow 32 bits from about 4,600 pixels.
int64_t cost(int32_t dx, int32_t dy, int32_t weight) {
  const int64_t squared = int64_t{dx} * dx + int64_t{dy} * dy;
  return weight == kClassWeight ? 10 * squared : 100 * squared / weight;
}

// One row's offsets and classes.
struct Row {
  std::vector<int32_t> dx, dy, k;
  explicit Row(int32_t width) : dx(width), dy(width), k(width) {}
};

// A temporary row file, closed and deleted with its owner.
class TempFile {
 public:
  explicit TempFile(std::string name) : name_(std::move(name)) {}
  ~TempFile() {
    if (!file_.abierto()) return;
    file_.cierre();
    cx::files().remove(name_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool open(int32_t record_size) {
    int16_t unused = -1;
    if (cx::crear_archivo(&unused, name_.c_str(), record_size) != 0) {
      cx::files().remove(name_.c_str());  // made, perhaps, but not written
      return false;
    }
    file_ = cx::ArchivoAbierto(cx::abra_compartido(name_.c_str()));
    if (file_.abierto()) return true;
    cx::files().remove(name_.c_str());
    cx::informe_error("distancias_raster: no se pudo abrir %s", name_.c_str());
    return false;
  }
  bool write(const std::vector<int32_t>& row, int32_t r) {
    const auto size = static_cast<int32_t>(row.size() * 4);
    return cx::escriba_registro(file_.get(), row.data(), r, size) == 0;
  }
  bool read(std::vector<int32_t>& row, int32_t r) {
    const auto size = static_cast<int32_t>(row.size() * 4);
    return cx::lea_registro(file_.get(), row.data(), r, size) == 0;
  }

 private:
  std::string name_;
  cx::ArchivoAbierto file_;
};

// "tempx<process>_<n>.$$$": two transforms, in one process or two, never
// share their files.
std::string temp_name(char which) {
  static int serial = 0;
#ifdef _WIN32
  const long process = _getpid();
#else
  const long process = static_cast<long>(getpid());
#endif
  char name[64];
  std::snprintf(name, sizeof name, "temp%c%ld_%d.$$$", which, process, ++serial);
  return name;
}

bool is_feature(cx::Colorref colour) {
  return colour < feature_threshold;
}

// The starting values of a row that stands for row r: a feature is its own
// nearest feature; a background pixel points at a virtual feature far up
// and to the left.
void fila_inicial(const std::vector<cx::Colorref>& colours, Row& row, int32_t height, int32_t r) {
  const auto width = static_cast<int32_t>(colours.size());
  for (int32_t c = 0; c < width; ++c) {
    const bool feature = is_feature(colours[c]);
    row.dx[c] = feature ? 0 : width + c;
    row.dy[c] = feature ? 0 : height + r;
    row.k[c] = static_cast<int32_t>(colours[c]);
  }
}

// A scaled distance as a pixel value: truncated, saturated to 32 bits.
cx::Colorref pixel_value(double v) {
  if (!(v > -2147483648.0)) return v < 0 ? 0x80000000u : 0;  // NaN gives 0
  if (v >= 2147483647.0) return 0x7FFFFFFF;
  return static_cast<cx::Colorref>(static_cast<int32_t>(v));
}

void read_row(const cx::Device& src, int32_t r, std::vector<cx::Colorref>& colours) {
  for (int32_t c = 0; c < static_cast<int32_t>(colours.size()); ++c)
    colours[c] = src.get_pixel(c, r);
}

// Takes candidate (cx, cy, ck) at column c when it differs from the
// current offset and costs less, or costs the same and the current class
// weighs less.
void offer(Row& row, int32_t c, int32_t cx_, int32_t cy, int32_t ck) {
  if (cx_ == row.dx[c] && cy == row.dy[c]) return;
  const int32_t current_weight = weight_of(row.k[c]), weight = weight_of(ck);
  const int64_t candidate = cost(cx_, cy, weight),
                current = cost(row.dx[c], row.dy[c], current_weight);
  if (candidate < current || (candidate == current && current_weight < weight)) {
    row.dx[c] = cx_;
    row.dy[c] = cy;
    row.k[c] = ck;
  }
}

// The forward pass over one row: from above and from the left, then from
// the right.
void forward_row(const std::vector<cx::Colorref>& colours, const Row& above, Row& row) {
  const auto width = static_cast<int32_t>(colours.size());
  for (int32_t c = 1; c < width; ++c) {
    if (is_feature(colours[c])) continue;
    const int32_t ax = above.dx[c], ay = above.dy[c] + 1, ak = above.k[c];
    const int32_t lx = row.dx[c - 1] + 1, ly = row.dy[c - 1], lk = row.k[c - 1];
    // The cheaper of the two, by class weight when they cost the same, and
    // the left one when that ties too: a pixel left with its own starting
    // offset, far beyond the image, would pass it on along the row.
    const int32_t aw = weight_of(ak), lw = weight_of(lk);
    const int64_t a = cost(ax, ay, aw), l = cost(lx, ly, lw);
    if (a < l || (a == l && lw < aw)) {
      row.dx[c] = ax;
      row.dy[c] = ay;
      row.k[c] = ak;
    } else {
      row.dx[c] = lx;
      row.dy[c] = ly;
      row.k[c] = lk;
    }
  }
  for (int32_t c = width - 2; c >= 0; --c)
    if (!is_feature(colours[c])) offer(row, c, row.dx[c + 1] - 1, row.dy[c + 1], row.k[c + 1]);
}

// The backward pass over one row: from below and from the left, then from
// the right with the distances; the last column keeps its source colour.
void backward_row(std::vector<cx::Colorref>& colours, const Row& below, Row& row, double scale) {
  const auto width = static_cast<int32_t>(colours.size());
  if (width > 2) {
    for (int32_t c = 1; c <= width - 2; ++c) {
      if (is_feature(colours[c])) continue;
      offer(row, c, below.dx[c], below.dy[c] - 1, below.k[c]);
      offer(row, c, row.dx[c - 1] + 1, row.dy[c - 1], row.k[c - 1]);
    }
  }
  for (int32_t c = width - 2; c >= 0; --c) {
    if (!is_feature(colours[c])) offer(row, c, row.dx[c + 1] - 1, row.dy[c + 1], row.k[c + 1]);
    const auto d = static_cast<int64_t>(
        std::sqrt(static_cast<double>(cost(row.dx[c], row.dy[c], weight_of(row.k[c])))));
    colours[c] = pixel_value(scale * static_cast<double>(d));
  }
}

bool transform(const cx::Device& src, cx::Device& dst, int32_t width, int32_t height,
               double scale) {
  TempFile fx(temp_name('x')), fy(temp_name('y')), fk(temp_name('c'));
  const int32_t record = width * 4;
  if (!fx.open(record) || !fy.open(record) || !fk.open(record)) return false;

  // The eight rows: colours, offsets and classes of the current row and of
  // its neighbour, and the neighbour's colours.
  std::vector<cx::Colorref> colours(width), neighbour_colours(width, 0);
  Row row(width), neighbour(width);

  // Above row 0 lies a row of features.
  fila_inicial(neighbour_colours, neighbour, height, -1);
  for (int32_t r = 0; r < height; ++r) {
    if (r > 0) std::swap(neighbour, row);
    read_row(src, r, colours);
    fila_inicial(colours, row, height, r);
    forward_row(colours, neighbour, row);
    if (!fx.write(row.dx, r) || !fy.write(row.dy, r) || !fk.write(row.k, r)) return false;
  }

  read_row(src, height - 1, neighbour_colours);
  fila_inicial(neighbour_colours, neighbour, height, height);
  for (int32_t r = height - 1; r >= 0; --r) {
    if (r < height - 1) std::swap(neighbour, row);
    read_row(src, r, colours);
    if (!fx.read(row.dx, r) || !fy.read(row.dy, r) || !fk.read(row.k, r)) return false;
    backward_row(colours, neighbour, row, scale);
    if (!fk.write(row.k, r)) return false;
    for (int32_t c = 0; c < width; ++c) dst.set_pixel(c, r, colours[c]);
  }
  return true;
}

}  // namespace

CX_EXPORT(int32_t) init_distancias_raster(int32_t) {
  feature_threshold = kDefaultThreshold;
  return 0;
}

CX_EXPORT(int32_t)
distancias_raster(int32_t src, int32_t dst, int16_t width, int16_t height, double scale) {
  const cx::Device* source = cx::dispositivo(src);
  cx::Device* target = cx::dispositivo(dst);
  if (!source || !target) {
    cx::informe_error("distancias_raster: dispositivo %d inexistente",
                      static_cast<int>(source ? dst : src));
    return 0;
  }
  if (width < 1 || height < 1 || width > kMaxWidth) {
    cx::informe_error("distancias_raster: tama\xF1o inv\xE1lido %d x %d (de 1 a %d columnas)",
                      static_cast<int>(width), static_cast<int>(height),
                      static_cast<int>(kMaxWidth));
    return 0;
  }
  try {
    return transform(*source, *target, width, height, scale) ? -1 : 0;
  } catch (const std::bad_alloc&) {
    cx::informe_error("ERROR de memoria : distancias_raster %d x %d", static_cast<int>(width),
                      static_cast<int>(height));
    return 0;
  }
}
