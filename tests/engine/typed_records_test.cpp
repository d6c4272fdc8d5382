// Typed records: each host record is packed to its disk layout, compared
// byte for byte with a hand-made packed record, and read back.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "cartex32.h"
#include "records/record_file.h"
#include "support/recording_sink.h"
#include "support/temp_base.h"

namespace cx {
namespace {

using testing::RecordingSink;
using testing::TempBase;
using Bytes = std::vector<unsigned char>;

// Little-endian pieces for hand-made records.
void add16(Bytes& b, int16_t v) {
  for (int i = 0; i < 2; ++i)
    b.push_back(static_cast<unsigned char>(static_cast<uint16_t>(v) >> (8 * i)));
}
void add32(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; ++i)
    b.push_back(static_cast<unsigned char>(static_cast<uint32_t>(v) >> (8 * i)));
}
void add64(Bytes& b, double v) {
  uint64_t u;
  std::memcpy(&u, &v, 8);
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<unsigned char>(u >> (8 * i)));
}
void add_text(Bytes& b, const char* text, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<unsigned char>(text[i]));
}
// kind, state, x, y, rotation, block, count, area: the embedded T0 part.
void add_t0(Bytes& b, int16_t kind, uint8_t state, double x, double y, int16_t rot, int32_t block,
            int16_t count, int32_t area) {
  add16(b, kind);
  b.push_back(state);
  add64(b, x);
  add64(b, y);
  add16(b, rot);
  add32(b, block);
  add16(b, count);
  add32(b, area);
}

template <typename T>
T with_garbage_padding() {
  T rec;
  std::memset(&rec, 0xCC, sizeof rec);
  return rec;
}

class TypedRecords : public ::testing::Test {
 protected:
  // Writes with the writer at record 2, checks the disk bytes of that
  // record, reads it back with the reader.
  template <typename T, typename W, typename R>
  T round_trip(const T& host, W writer, R reader, const Bytes& expected) {
    const int size = static_cast<int>(expected.size());
    int16_t unused;
    EXPECT_EQ(crear_archivo(&unused, "REC.DAT", size), 0);
    const int h = abra_compartido("REC.DAT");
    EXPECT_EQ(writer(h, &host, 2, static_cast<int16_t>(size)), 0);
    const Bytes file = TempBase::bytes("REC.DAT");
    EXPECT_EQ(file.size(), 3u * size);
    if (file.size() == 3u * size) {
      EXPECT_EQ(Bytes(file.begin() + 2 * size, file.end()), expected);
    }
    T back = with_garbage_padding<T>();
    EXPECT_EQ(reader(h, &back, 2, 0), 0);
    cierre_archivo(h);
    return back;
  }

  TempBase base;
  RecordingSink sink;
};

TEST_F(TypedRecords, PointOrLineObject) {
  auto obj = with_garbage_padding<cx_object>();
  obj.kind = 513;
  obj.layer = 7;
  obj.x = 1234.5;
  obj.y = -0.25;
  obj.rotation = -900;
  obj.block = 2408;
  obj.count = 3;
  obj.area = 70000;
  Bytes disk;
  add16(disk, 513);
  disk.push_back(7);
  add64(disk, 1234.5);
  add64(disk, -0.25);
  add16(disk, -900);
  add32(disk, 2408);
  add16(disk, 3);
  add32(disk, 70000);
  ASSERT_EQ(disk.size(), 31u);

  const cx_object back = round_trip(obj, sescribir_obj, sleer_obj, disk);
  EXPECT_EQ(+back.kind, 513);
  EXPECT_EQ(+back.layer, 7);
  EXPECT_EQ(+back.x, 1234.5);
  EXPECT_EQ(+back.y, -0.25);
  EXPECT_EQ(+back.rotation, -900);
  EXPECT_EQ(+back.block, 2408);
  EXPECT_EQ(+back.count, 3);
  EXPECT_EQ(+back.area, 70000);
  EXPECT_EQ(+back.pad3, 0);
  EXPECT_EQ(+back.pad22, 0);
  EXPECT_EQ(+back.pad30, 0);
}

TEST_F(TypedRecords, Node) {
  auto node = with_garbage_padding<cx_node>();
  node.code_prefix = 4;
  std::memcpy(node.code, "0000000042", 10);
  node.kind = 2;
  node.state = 1;
  node.x = 500000.0;
  node.y = 600000.0;
  node.rotation = 0;
  node.block = 0;
  node.count = 0;
  node.area = 0;
  node.first_list = 17;
  Bytes disk{4};
  add_text(disk, "0000000042", 10);
  add_t0(disk, 2, 1, 500000.0, 600000.0, 0, 0, 0, 0);
  add32(disk, 17);
  ASSERT_EQ(disk.size(), 46u);

  const cx_node back = round_trip(node, sescribir_nod, sleer_nod, disk);
  EXPECT_EQ(+back.code_prefix, 4);
  EXPECT_EQ(std::memcmp(back.code, "0000000042", 10), 0);
  EXPECT_EQ(+back.kind, 2);
  EXPECT_EQ(+back.state, 1);
  EXPECT_EQ(+back.x, 500000.0);
  EXPECT_EQ(+back.y, 600000.0);
  EXPECT_EQ(+back.first_list, 17);
  EXPECT_EQ(+back.pad11, 0);
  EXPECT_EQ(+back.pad15, 0);
}

TEST_F(TypedRecords, Arc) {
  auto arc = with_garbage_padding<cx_arc>();
  arc.kind = 1;
  arc.state = 0;
  arc.xmin = 100.0;
  arc.ymin = 200.0;
  arc.width = 3;
  arc.block = 4816;
  arc.count = 12;
  arc.first_desc = 0;
  arc.from_node = 5;
  arc.from_flag = 1;
  arc.to_node = 6;
  arc.to_flag = 2;
  Bytes disk;
  add16(disk, 1);
  disk.push_back(0);
  add64(disk, 100.0);
  add64(disk, 200.0);
  add16(disk, 3);
  add32(disk, 4816);
  add16(disk, 12);
  add32(disk, 0);
  add32(disk, 5);
  disk.push_back(1);
  add32(disk, 6);
  disk.push_back(2);
  ASSERT_EQ(disk.size(), 41u);

  const cx_arc back = round_trip(arc, sescribir_arc, sleer_arc, disk);
  EXPECT_EQ(+back.xmin, 100.0);
  EXPECT_EQ(+back.ymin, 200.0);
  EXPECT_EQ(+back.width, 3);
  EXPECT_EQ(+back.block, 4816);
  EXPECT_EQ(+back.count, 12);
  EXPECT_EQ(+back.from_node, 5);
  EXPECT_EQ(+back.from_flag, 1);
  EXPECT_EQ(+back.to_node, 6);
  EXPECT_EQ(+back.to_flag, 2);
  EXPECT_EQ(+back.pad41[0] | back.pad41[1] | back.pad41[2], 0);
  EXPECT_EQ(+back.pad49[0] | back.pad49[1] | back.pad49[2], 0);
}

TEST_F(TypedRecords, AreaObject) {
  auto obj = with_garbage_padding<cx_area_object>();
  std::memcpy(obj.code, "0412345678901", 13);
  obj.kind = 9;
  obj.state = 3;
  obj.x = 10.5;
  obj.y = 20.5;
  obj.rotation = 450;
  obj.block = 0;
  obj.count = 0;
  obj.area = 0;
  obj.first_desc = 99;
  Bytes disk;
  add_text(disk, "0412345678901", 13);
  add_t0(disk, 9, 3, 10.5, 20.5, 450, 0, 0, 0);
  add32(disk, 99);
  ASSERT_EQ(disk.size(), 48u);

  const cx_area_object back = round_trip(obj, sescribir_top, sleer_top, disk);
  EXPECT_EQ(std::memcmp(back.code, "0412345678901", 13), 0);
  EXPECT_EQ(+back.kind, 9);
  EXPECT_EQ(+back.state, 3);
  EXPECT_EQ(+back.x, 10.5);
  EXPECT_EQ(+back.rotation, 450);
  EXPECT_EQ(+back.first_desc, 99);
  EXPECT_EQ(+back.pad13[0] | back.pad13[1] | back.pad13[2], 0);
}

TEST_F(TypedRecords, CodedArea) {
  auto area = with_garbage_padding<cx_area>();
  std::memcpy(area.code, "01ABCDEFGHIJK", 13);
  area.object = 12;
  area.value[0] = -1;
  area.value[1] = 0x01020304;
  area.value[2] = 5;
  Bytes disk;
  add_text(disk, "01ABCDEFGHIJK", 13);
  add32(disk, 12);
  add32(disk, -1);
  add32(disk, 0x01020304);
  add32(disk, 5);
  ASSERT_EQ(disk.size(), 29u);

  const cx_area back = round_trip(area, sescribir_are, sleer_are, disk);
  EXPECT_EQ(std::memcmp(back.code, "01ABCDEFGHIJK", 13), 0);
  EXPECT_EQ(+back.object, 12);
  EXPECT_EQ(+back.value[0], -1);
  EXPECT_EQ(+back.value[1], 0x01020304);
  EXPECT_EQ(+back.value[2], 5);
  EXPECT_EQ(+back.pad13, 0);
}

TEST_F(TypedRecords, FailedReadZeroesTheWholeHostRecord) {
  int16_t unused;
  ASSERT_EQ(crear_archivo(&unused, "NODO.DAT", 46), 0);
  const int h = abra_compartido("NODO.DAT");
  auto node = with_garbage_padding<cx_node>();
  EXPECT_EQ(sleer_nod(h, &node, 1, 46), -1);
  const cx_node zero{};
  EXPECT_EQ(std::memcmp(&node, &zero, sizeof node), 0);
  EXPECT_EQ(sleer_nod(h, nullptr, 0, 46), -1);
  EXPECT_EQ(sink.messages.size(), 2u);
  cierre_archivo(h);
}

TEST_F(TypedRecords, WriteSizeBelowThePackedRecordIsRefused) {
  int16_t unused;
  ASSERT_EQ(crear_archivo(&unused, "OBJ.DAT", 31), 0);
  const int h = abra_compartido("OBJ.DAT");
  cx_object obj{};
  EXPECT_EQ(sescribir_obj(h, &obj, 1, 30), -1);
  EXPECT_EQ(sescribir_obj(h, nullptr, 1, 31), -1);
  EXPECT_EQ(TempBase::size("OBJ.DAT"), 31u);
  // A larger size pads with zeros instead of reading past the record.
  obj.kind = 1;
  EXPECT_EQ(sescribir_obj(h, &obj, 1, 40), 0);
  const Bytes file = TempBase::bytes("OBJ.DAT");
  ASSERT_EQ(file.size(), 80u);
  EXPECT_EQ(file[40], 1);
  EXPECT_EQ(Bytes(file.begin() + 71, file.end()), Bytes(9, 0));
  cierre_archivo(h);
}

}  // namespace
}  // namespace cx
