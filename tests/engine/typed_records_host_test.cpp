// Typed records through the exports a host binds: each host record, with
// garbage in its padding, is written by its sescribir_* export, the packed
// bytes on disk are compared with a hand-made record, and its sleer_* twin
// reads back the fields with the padding zeroed. Built for the Linux library
// and for the 32-bit DLL, whose host layouts must agree with the packing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "support/engine_library.h"
#include "support/host_files.h"
#include "support/packed_record.h"
#include "support/temp_base.h"

namespace {

using cx::testing::EngineLibrary;
using cx::testing::Packed;
using cx::testing::TempBase;
using Bytes = std::vector<unsigned char>;

// One host record and its packed form, with the pair of exports for its type.
struct RoundTrip {
  std::string exports;  // "writer/reader"
  std::size_t host_size, expected_host_size;
  Bytes host;  // as given to the writer: padding 0xCC
  Bytes back;  // as the reader must give it: the fields, padding 0
  Bytes disk;  // the packed record
  std::function<int16_t(const EngineLibrary&, int16_t, const void*, int32_t, int16_t)> write;
  std::function<int16_t(const EngineLibrary&, int16_t, void*, int32_t)> read;
};

template <typename T>
Bytes record_bytes(unsigned char padding, void (*fill)(T&)) {
  T record;
  std::memset(&record, padding, sizeof record);
  fill(record);
  Bytes bytes(sizeof record);
  std::memcpy(bytes.data(), &record, sizeof record);
  return bytes;
}

template <typename W, typename R, typename T>
RoundTrip make_round_trip(const char* writer, const char* reader, std::size_t expected_host_size,
                          void (*fill)(T&), const Packed& disk) {
  RoundTrip r;
  r.exports = std::string(writer) + "/" + reader;
  r.host_size = sizeof(T);
  r.expected_host_size = expected_host_size;
  r.host = record_bytes<T>(0xCC, fill);
  r.back = record_bytes<T>(0, fill);
  r.disk = disk.bytes;
  r.write = [writer](const EngineLibrary& lib, int16_t h, const void* host, int32_t n,
                     int16_t size) -> int16_t {
    W* f = lib.bind<W>(writer);
    return f ? f(h, static_cast<const T*>(host), n, size) : -2;
  };
  r.read = [reader](const EngineLibrary& lib, int16_t h, void* host, int32_t n) -> int16_t {
    R* f = lib.bind<R>(reader);
    return f ? f(h, static_cast<T*>(host), n, 0) : -2;
  };
  return r;
}

#define ROUND_TRIP(type, writer, reader, host_size, fill, disk)                                    \
  make_round_trip<decltype(::writer), decltype(::reader), type>(#writer, #reader, host_size, fill, \
                                                                disk)

std::vector<RoundTrip> round_trips() {
  return {
      ROUND_TRIP(
          cx_object, sescribir_obj, sleer_obj, 36,
          [](cx_object& o) {
            o.kind = 513;
            o.layer = 7;
            o.x = 1234.5;
            o.y = -0.25;
            o.rotation = -900;
            o.block = 2408;
            o.count = 3;
            o.area = 70000;
          },
          Packed().i16(513).u8(7).f64(1234.5).f64(-0.25).i16(-900).i32(2408).i16(3).i32(70000)),
      ROUND_TRIP(
          cx_node, sescribir_nod, sleer_nod, 52,
          [](cx_node& n) {
            n.code_prefix = 4;
            std::memcpy(n.code, "0000000042", 10);
            n.kind = 2;
            n.state = 1;
            n.x = 500000.0;
            n.y = 600000.0;
            n.rotation = n.count = 0;
            n.block = n.area = 0;
            n.first_list = 17;
          },
          Packed().u8(4).text("0000000042", 10).t0(2, 1, 500000.0, 600000.0, 0, 0, 0, 0).i32(17)),
      ROUND_TRIP(
          cx_node, sescribir_nod, sleer_nod, 52,
          [](cx_node& n) {
            n.code_prefix = 4;
            std::memcpy(n.code, "0123456789", 10);
            n.kind = 12;
            n.state = 1;
            n.x = 10.0;
            n.y = 20.0;
            n.rotation = 5;
            n.block = 0;
            n.count = 0;
            n.area = 3;
            n.first_list = 77;
          },
          Packed().u8(4).text("0123456789", 10).t0(12, 1, 10.0, 20.0, 5, 0, 0, 3).i32(77)),
      ROUND_TRIP(
          cx_arc, sescribir_arc, sleer_arc, 52,
          [](cx_arc& a) {
            a.kind = 1;
            a.state = 0;
            a.xmin = 100.0;
            a.ymin = 200.0;
            a.width = 3;
            a.block = 4816;
            a.count = 12;
            a.first_desc = 0;
            a.from_node = 5;
            a.from_flag = 1;
            a.to_node = 6;
            a.to_flag = 2;
          },
          Packed()
              .i16(1)
              .u8(0)
              .f64(100.0)
              .f64(200.0)
              .i16(3)
              .i32(4816)
              .i16(12)
              .i32(0)
              .i32(5)
              .u8(1)
              .i32(6)
              .u8(2)),
      ROUND_TRIP(
          cx_arc, sescribir_arc, sleer_arc, 52,
          [](cx_arc& a) {
            a.kind = 2;
            a.state = 0;
            a.xmin = -5.5;
            a.ymin = 6.25;
            a.width = 1;
            a.block = 4816;
            a.count = 2;
            a.first_desc = 0;
            a.from_node = 100000;
            a.from_flag = 1;
            a.to_node = 100001;
            a.to_flag = 2;
          },
          Packed()
              .i16(2)
              .u8(0)
              .f64(-5.5)
              .f64(6.25)
              .i16(1)
              .i32(4816)
              .i16(2)
              .i32(0)
              .i32(100000)
              .u8(1)
              .i32(100001)
              .u8(2)),
      ROUND_TRIP(
          cx_area_object, sescribir_top, sleer_top, 56,
          [](cx_area_object& t) {
            std::memcpy(t.code, "0412345678901", 13);
            t.kind = 9;
            t.state = 3;
            t.x = 10.5;
            t.y = 20.5;
            t.rotation = 450;
            t.block = t.area = 0;
            t.count = 0;
            t.first_desc = 99;
          },
          Packed().text("0412345678901", 13).t0(9, 3, 10.5, 20.5, 450, 0, 0, 0).i32(99)),
      ROUND_TRIP(
          cx_area_object, sescribir_top, sleer_top, 56,
          [](cx_area_object& t) {
            std::memcpy(t.code, "05AREA0000001", 13);
            t.kind = 40;
            t.state = 3;
            t.x = 1e6;
            t.y = -1e6;
            t.rotation = 0;
            t.block = 0;
            t.count = 0;
            t.area = 9;
            t.first_desc = 11;
          },
          Packed().text("05AREA0000001", 13).t0(40, 3, 1e6, -1e6, 0, 0, 0, 9).i32(11)),
      ROUND_TRIP(
          cx_area, sescribir_are, sleer_are, 30,
          [](cx_area& a) {
            std::memcpy(a.code, "01ABCDEFGHIJK", 13);
            a.object = 12;
            a.value[0] = -1;
            a.value[1] = 0x01020304;
            a.value[2] = 5;
          },
          Packed().text("01ABCDEFGHIJK", 13).i32(12).i32(-1).i32(0x01020304).i32(5)),
      ROUND_TRIP(
          cx_area, sescribir_are, sleer_are, 30,
          [](cx_area& a) {
            std::memcpy(a.code, "03ABCDEFGHIJK", 13);
            a.object = 65537;
            a.value[0] = -1;
            a.value[1] = 2;
            a.value[2] = 0x7FFFFFFF;
          },
          Packed().text("03ABCDEFGHIJK", 13).i32(65537).i32(-1).i32(2).i32(0x7FFFFFFF)),
  };
}

TEST(TypedRecordsHost, EachRecordIsPackedOnDiskAndReadBackWithItsPaddingZeroed) {
  EngineLibrary lib;
  ASSERT_TRUE(lib.loaded());
  TempBase base;
  const std::size_t packed_sizes[] = {31, 46, 46, 41, 41, 48, 48, 29, 29};
  const std::vector<RoundTrip> cases = round_trips();
  ASSERT_EQ(cases.size(), std::size(packed_sizes));
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const RoundTrip& c = cases[i];
    SCOPED_TRACE(c.exports);
    EXPECT_EQ(c.host_size, c.expected_host_size);
    ASSERT_EQ(c.disk.size(), packed_sizes[i]);
    const auto size = static_cast<int16_t>(c.disk.size());
    const int h = cx::testing::open_host_file("REC.DAT");
    ASSERT_GE(h, 0);
    // Record 2, after a header and a record the writer must not touch.
    EXPECT_EQ(c.write(lib, static_cast<int16_t>(h), c.host.data(), 2, size), 0);
    const Bytes file = TempBase::bytes("REC.DAT");
    EXPECT_EQ(file.size(), 3u * size);
    if (file.size() == 3u * size) {
      EXPECT_EQ(Bytes(file.begin() + 2 * size, file.end()), c.disk);
      EXPECT_EQ(Bytes(file.begin(), file.begin() + 2 * size), Bytes(2 * size, 0));
    }
    Bytes back(c.host_size, 0xCC);
    EXPECT_EQ(c.read(lib, static_cast<int16_t>(h), back.data(), 2), 0);
    EXPECT_EQ(back, c.back);
    cx::testing::close_host_file(h);
  }
}

}  // namespace
