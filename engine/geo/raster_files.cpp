// Small files kept beside rasters: an empty grid of cells for gridded
// results, the size and colour count of a bitmap, and a 1 x 1 bitmap that
// carries another bitmap's palette.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cartex32.h"
#include "frame/messages.h"
#include "platform/files.h"
#include "records/codec.h"
#include "records/record_file.h"

namespace {

constexpr int kCellSize = 20;
constexpr int kFileHeader = 14, kInfoHeader = 40;
constexpr int kPaletteStart = kFileHeader + kInfoHeader;  // 54
constexpr int kPaletteBuffer = 1068;                      // info header and 256 colours + 4

struct CloseFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

File open_file(const char* path, const char* mode) {
  return File(path ? std::fopen(cx::resolve_path(path).c_str(), mode) : nullptr);
}

bool read_exactly(std::FILE* f, unsigned char* out, std::size_t count) {
  return std::fread(out, 1, count, f) == count;
}

// The file header of a bitmap: "BM", and a data offset past both headers.
bool bitmap_header(std::FILE* f, unsigned char* header, const char* who, const char* path) {
  if (read_exactly(f, header, kFileHeader) && header[0] == 'B' && header[1] == 'M' &&
      cx::get_le32(header + 10) >= kPaletteStart)
    return true;
  cx::informe_error("%s: %s no es un mapa de bits", who, path);
  return false;
}

}  // namespace

CX_EXPORT(int16_t) crear_arch_grid(int16_t n, int32_t, const char* path) {
  if (n < 0 || !path) {
    cx::informe_error("crear_arch_grid: %d celdas por lado no es v\xE1lido", static_cast<int>(n));
    return -1;
  }
  // Opened for writing without being shortened; created when missing.
  int handle = cx::abra_compartido(path);
  if (handle < 0) handle = cx::files().create(path);
  if (handle < 0) {
    cx::informe_error("crear_arch_grid: no se pudo abrir %s", path);
    return -1;
  }
  cx::ArchivoAbierto file(handle);
  const int64_t side = int64_t{n} + 1;
  std::vector<unsigned char> row(static_cast<std::size_t>(side) * kCellSize);
  for (int64_t c = 0; c < side; ++c) {
    unsigned char* cell = row.data() + c * kCellSize;
    cx::put_f64(cell, -1.0);
    cx::put_f64(cell + 8, 0.0);
    cx::put_le32(cell + 16, -1);
  }
  const auto row_bytes = static_cast<int32_t>(row.size());
  for (int64_t r = 0; r < side; ++r)
    if (cx::esc_bytes(handle, r * row_bytes, row.data(), row_bytes) != 0) return -1;
  return static_cast<int16_t>(handle);
}

CX_EXPORT(int16_t)
get_bmpinfo(const char* path, int16_t* width, int16_t* height, int16_t* colours) {
  File f = open_file(path, "rb");
  if (!f) return 0;
  unsigned char header[kFileHeader], info[kInfoHeader];
  if (!bitmap_header(f.get(), header, "get_bmpinfo", path)) return 0;
  if (!read_exactly(f.get(), info, kInfoHeader) || cx::get_le32(info) < kInfoHeader) {
    cx::informe_error("get_bmpinfo: %s no tiene cabecera de informaci\xF3n", path);
    return 0;
  }
  const int32_t w = cx::get_le32(info + 4), h = cx::get_le32(info + 8);
  if (w < -32768 || w > 32767 || h < -32768 || h > 32767) {
    cx::informe_error("get_bmpinfo: %s mide %d x %d, fuera de 16 bits", path, static_cast<int>(w),
                      static_cast<int>(h));
    return 0;
  }
  if (width) *width = static_cast<int16_t>(w);
  if (height) *height = static_cast<int16_t>(h);
  const int bits = cx::get_le16(info + 14);
  const int16_t count = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : bits == 24 ? 32737 : 0;
  if (colours && count) *colours = count;
  return -1;
}

CX_EXPORT(int16_t) create_bmpal(const char* source, const char* target, void* buffer) {
  if (!buffer) {
    cx::avise_error("create_bmpal: falta el buffer de trabajo");
    return 0;
  }
  File in = open_file(source, "rb");
  if (!in) return 0;
  unsigned char header[kFileHeader];
  if (!bitmap_header(in.get(), header, "create_bmpal", source)) return 0;
  // The palette and 4 bytes of pixels follow the info header in the buffer.
  const int32_t offset = cx::get_le32(header + 10);
  if (offset > kPaletteBuffer + kFileHeader - 4 || (offset - kPaletteStart) % 4 != 0) {
    cx::informe_error("create_bmpal: la paleta de %s (datos en %d) no cabe en %d bytes", source,
                      static_cast<int>(offset), kPaletteBuffer);
    return 0;
  }
  auto* info = static_cast<unsigned char*>(buffer);
  const std::size_t needed = static_cast<std::size_t>(offset) - kFileHeader + 4;
  const std::size_t got = std::fread(info, 1, kPaletteBuffer, in.get());
  if (got < needed || cx::get_le32(info) != kInfoHeader) {
    cx::informe_error("create_bmpal: %s est\xE1 incompleto", source);
    return 0;
  }
  File out = open_file(target, "wb");
  if (!out) return 0;

  cx::put_le32(header + 2, offset + 4);
  const int32_t used = (offset - kPaletteStart) / 4;
  cx::put_le32(info + 4, 1);
  cx::put_le32(info + 8, 1);
  cx::put_le32(info + 20, 4);
  cx::put_le32(info + 32, used);
  cx::put_le32(info + 36, used);
  const std::size_t body = needed;  // info header, palette, 4 bytes of pixels
  const bool written = std::fwrite(header, 1, kFileHeader, out.get()) == kFileHeader &&
                       std::fwrite(info, 1, body, out.get()) == body;
  if (!written || std::fclose(out.release()) != 0) {
    cx::informe_error("create_bmpal: no se pudo escribir %s", target);
    return 0;
  }
  return -1;
}
