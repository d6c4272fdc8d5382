// Grid files and bitmap headers as a host calls them, on bitmaps the test
// writes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/engine_library.h"
#include "support/temp_base.h"

namespace {

using Bytes = std::vector<unsigned char>;
using cx::testing::TempBase;

void put32(Bytes& b, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A bitmap of w x 5 pixels of `bits` bits with `colours` palette entries,
// palette and pixels filled with a running pattern.
Bytes bitmap(int bits, int w, int colours) {
  const int stride = (w * bits + 31) / 32 * 4, offset = 54 + 4 * colours;
  Bytes b(offset + stride * 5);
  for (std::size_t i = 54; i < b.size(); ++i) b[i] = static_cast<unsigned char>(i * 7);
  b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = static_cast<unsigned char>(bits);
  for (auto [at, v] : {std::pair<int, int>{2, int(b.size())},
                       {10, offset},
                       {14, 40},
                       {18, w},
                       {22, 5},
                       {34, stride * 5},
                       {46, colours}})
    put32(b, at, static_cast<uint32_t>(v));
  return b;
}

int32_t CX_CALL answer(void*, int32_t, const char*, const char*, int32_t) {
  return CX_IDOK;
}

struct RasterFiles {
  TempBase dir;
  cx::testing::EngineLibrary lib;
  decltype(&crear_arch_grid) grid = CX_BIND(lib, crear_arch_grid);
  decltype(&get_bmpinfo) info = CX_BIND(lib, get_bmpinfo);
  decltype(&create_bmpal) palette = CX_BIND(lib, create_bmpal);
  RasterFiles() { CX_BIND(lib, cx_set_message_callback)(answer, nullptr); }
  ~RasterFiles() { CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr); }
};

TEST(RasterFiles, GridCellsAreWrittenOverWithoutShortening) {
  RasterFiles f;
  Bytes cell(20, 0xFF);  // -1.0, 0.0, -1 on a little-endian host
  const double minus_one = -1.0, zero = 0.0;
  std::memcpy(cell.data(), &minus_one, 8);
  std::memcpy(cell.data() + 8, &zero, 8);
  TempBase::write("long.dat", Bytes(3000, 0xAA));
  for (auto [n, path, size] :
       {std::tuple{0, "g.dat", 20}, {9, "g.dat", 2000}, {9, "long.dat", 3000}}) {
    EXPECT_GE(f.grid(static_cast<int16_t>(n), 0, path), 0);
    const Bytes got = TempBase::bytes(path);
    ASSERT_EQ(got.size(), std::size_t(size));
    for (int at = 0; at < 20 * (n + 1) * (n + 1); at += 20)
      ASSERT_TRUE(std::equal(cell.begin(), cell.end(), got.begin() + at)) << n << " at " << at;
    EXPECT_EQ(got.back(), size == 3000 ? 0xAA : 0xFF);
  }
  EXPECT_EQ(f.grid(-2, 0, "neg.dat"), -1);
  EXPECT_EQ(f.grid(1, 0, "no/such/dir/g.dat"), -1);
  EXPECT_FALSE(TempBase::exists("neg.dat"));
}

TEST(RasterFiles, BitmapHeadersAndPalettes) {
  RasterFiles f;
  for (auto [bits, colours] : {std::pair{1, 2}, {4, 16}, {8, 256}, {24, 32737}, {16, -7}}) {
    const int entries = bits <= 8 ? 1 << bits : 0;
    const Bytes src = bitmap(bits, 300, entries);
    TempBase::write("src.bmp", src);
    int16_t w = 0, h = 0, count = -7;
    EXPECT_EQ(f.info("src.bmp", &w, &h, &count), -1);
    EXPECT_TRUE(w == 300 && h == 5 && count == colours) << bits << ": " << count;
    if (!entries) continue;
    // The 1 x 1 bitmap: the headers changed, the palette and first pixels kept.
    Bytes work(1068), expected(src.begin(), src.begin() + 58 + 4 * entries);
    for (auto [at, v] : {std::pair<int, int>{2, int(expected.size())},
                         {18, 1},
                         {22, 1},
                         {34, 4},
                         {46, entries},
                         {50, entries}})
      put32(expected, at, static_cast<uint32_t>(v));
    ASSERT_EQ(f.palette("src.bmp", "pal.bmp", work.data()), -1) << bits;
    EXPECT_EQ(TempBase::bytes("pal.bmp"), expected) << bits;
  }
  // Not a bitmap, cut short, too wide for 16 bits, a palette past the work
  // buffer, no buffer: nothing written, and the target is not made.
  Bytes other = bitmap(8, 4, 0), cut = bitmap(8, 4, 256), wide = bitmap(8, 40000, 0);
  other[0] = 'P';
  cut.resize(30);
  for (auto [path, data] : {std::pair{"other.bmp", other},
                            {"cut.bmp", cut},
                            {"wide.bmp", wide},
                            {"big.bmp", bitmap(8, 2, 300)}})
    TempBase::write(path, data);
  Bytes work(1068);
  for (const char* path : {"other.bmp", "cut.bmp", "missing.bmp"}) {
    int16_t w = -5;
    EXPECT_EQ(f.info(path, &w, nullptr, nullptr), 0) << path;
    EXPECT_EQ(w, -5) << path;
    EXPECT_EQ(f.palette(path, "out.bmp", work.data()), 0) << path;
  }
  EXPECT_EQ(f.info("wide.bmp", nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(f.palette("big.bmp", "out.bmp", work.data()), 0);
  EXPECT_EQ(f.palette("src.bmp", "out.bmp", nullptr), 0);
  EXPECT_FALSE(TempBase::exists("out.bmp"));
}

}  // namespace
