// Grid files and bitmap headers as a host calls them, on bitmaps the test
// writes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/engine_library.h"
#include "support/temp_base.h"

namespace {

using Bytes = std::vector<unsigned char>;
using cx::testing::TempBase;

void put32(Bytes& b, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
uint32_t get32(const Bytes& b, std::size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
  return v;
}

// A bitmap of w x h pixels of `bits` bits with `colours` palette entries
// (entry i is 0x00i0i1i2-ish, pixels count up), as a paint program writes it.
Bytes bitmap(int bits, int w, int h, int colours) {
  const int stride = (w * bits + 31) / 32 * 4, offset = 54 + 4 * colours;
  Bytes b(offset + stride * h, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 2, static_cast<uint32_t>(b.size()));
  put32(b, 10, offset);
  put32(b, 14, 40);
  put32(b, 18, w);
  put32(b, 22, h);
  b[26] = 1;
  b[28] = static_cast<unsigned char>(bits);
  put32(b, 34, stride * h);
  put32(b, 46, colours);
  for (int i = 0; i < colours; ++i) put32(b, 54 + 4 * i, 0x010203u * (i + 1) & 0xFFFFFF);
  for (std::size_t i = offset; i < b.size(); ++i) b[i] = static_cast<unsigned char>(i * 7);
  return b;
}

int32_t CX_CALL count_message(void* count, int32_t, const char*, const char*, int32_t) {
  ++*static_cast<int*>(count);
  return CX_IDOK;
}

struct RasterFiles {
  cx::testing::EngineLibrary lib;
  decltype(&crear_arch_grid) grid = CX_BIND(lib, crear_arch_grid);
  decltype(&get_bmpinfo) info = CX_BIND(lib, get_bmpinfo);
  decltype(&create_bmpal) palette = CX_BIND(lib, create_bmpal);
  int messages = 0;

  RasterFiles() { CX_BIND(lib, cx_set_message_callback)(count_message, &messages); }
  ~RasterFiles() { CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr); }
  bool bound() const { return grid && info && palette; }
};

TEST(RasterFiles, GridCellsAreWrittenOverWithoutShortening) {
  TempBase dir;
  RasterFiles f;
  ASSERT_TRUE(f.bound());
  Bytes cell(20, 0);
  const double minus_one = -1.0;
  std::memcpy(cell.data(), &minus_one, 8);  // the hosts are little-endian
  put32(cell, 16, 0xFFFFFFFFu);
  for (int n : {0, 9}) {
    EXPECT_GE(f.grid(static_cast<int16_t>(n), 0, "grid.dat"), 0);
    const Bytes got = TempBase::bytes("grid.dat");
    ASSERT_EQ(got.size(), 20u * (n + 1) * (n + 1));
    for (std::size_t at = 0; at < got.size(); at += 20)
      ASSERT_TRUE(std::equal(cell.begin(), cell.end(), got.begin() + at)) << n << " at " << at;
  }
  TempBase::write("long.dat", Bytes(3000, 0xAA));
  EXPECT_GE(f.grid(9, 0, "long.dat"), 0);
  const Bytes got = TempBase::bytes("long.dat");
  ASSERT_EQ(got.size(), 3000u);
  EXPECT_EQ(Bytes(got.begin(), got.begin() + 20), cell);
  EXPECT_EQ(got[1999], 0xFF);
  EXPECT_EQ(got[2000], 0xAA);
  EXPECT_EQ(f.grid(-2, 0, "neg.dat"), -1);
  EXPECT_EQ(f.grid(1, 0, "no/such/dir/g.dat"), -1);
  EXPECT_EQ(f.messages, 2);
  EXPECT_FALSE(TempBase::exists("neg.dat"));
}

TEST(RasterFiles, BitmapInfoByBitCount) {
  TempBase dir;
  RasterFiles f;
  ASSERT_TRUE(f.bound());
  const struct {
    int bits, colours;
  } cases[] = {{1, 2}, {4, 16}, {8, 256}, {24, 32737}, {16, -7}, {32, -7}};
  for (const auto& c : cases) {
    TempBase::write("b.bmp", bitmap(c.bits, 300, 17, 0));
    int16_t w = 0, h = 0, colours = -7;
    EXPECT_EQ(f.info("b.bmp", &w, &h, &colours), -1) << c.bits;
    EXPECT_EQ(w, 300);
    EXPECT_EQ(h, 17);
    EXPECT_EQ(colours, c.colours) << c.bits;
  }
  // Not a bitmap, cut short, or too wide for 16 bits: nothing written.
  Bytes wide = bitmap(8, 40000, 1, 0), other = bitmap(8, 4, 4, 0);
  other[0] = 'P';
  TempBase::write("wide.bmp", wide);
  TempBase::write("other.bmp", other);
  Bytes cut = bitmap(8, 4, 4, 0);
  cut.resize(30);
  TempBase::write("short.bmp", cut);
  for (const char* path : {"wide.bmp", "other.bmp", "short.bmp"}) {
    int16_t w = -5;
    const int before = f.messages;
    EXPECT_EQ(f.info(path, &w, nullptr, nullptr), 0) << path;
    EXPECT_EQ(w, -5) << path;
    EXPECT_EQ(f.messages, before + 1) << path;
  }
  EXPECT_EQ(f.info("missing.bmp", nullptr, nullptr, nullptr), 0);
}

TEST(RasterFiles, PaletteBitmapsCarryTheSourcePalette) {
  TempBase dir;
  RasterFiles f;
  ASSERT_TRUE(f.bound());
  for (int bits : {1, 4, 8}) {
    const int colours = 1 << bits;
    const Bytes src = bitmap(bits, 13, 5, colours);
    TempBase::write("src.bmp", src);
    std::vector<unsigned char> work(1068);
    ASSERT_EQ(f.palette("src.bmp", "pal.bmp", work.data()), -1) << bits;
    const Bytes got = TempBase::bytes("pal.bmp");
    const std::size_t offset = 54 + 4 * colours;
    ASSERT_EQ(got.size(), offset + 4) << bits;
    EXPECT_EQ(get32(got, 2), offset + 4);
    EXPECT_EQ(get32(got, 10), offset);
    EXPECT_EQ(get32(got, 18), 1u);  // width
    EXPECT_EQ(get32(got, 22), 1u);  // height
    EXPECT_EQ(get32(got, 34), 4u);  // image size
    EXPECT_EQ(get32(got, 46), static_cast<uint32_t>(colours));
    EXPECT_EQ(get32(got, 50), static_cast<uint32_t>(colours));
    EXPECT_EQ(got[28], bits);
    // The palette and the first pixels as they were.
    EXPECT_TRUE(std::equal(got.begin() + 54, got.end(), src.begin() + 54)) << bits;
  }
  // A palette past the work buffer, a short file, a missing buffer: 0, and
  // the target is not made.
  TempBase::write("big.bmp", bitmap(8, 2, 2, 300));
  Bytes cut = bitmap(8, 2, 2, 256);
  cut.resize(500);
  TempBase::write("cut.bmp", cut);
  std::vector<unsigned char> work(1068);
  const int before = f.messages;
  EXPECT_EQ(f.palette("big.bmp", "out.bmp", work.data()), 0);
  EXPECT_EQ(f.palette("cut.bmp", "out.bmp", work.data()), 0);
  EXPECT_EQ(f.palette("src.bmp", "out.bmp", nullptr), 0);
  EXPECT_EQ(f.messages, before + 3);
  EXPECT_EQ(f.palette("missing.bmp", "out.bmp", work.data()), 0);
  EXPECT_FALSE(TempBase::exists("out.bmp"));
}

}  // namespace
