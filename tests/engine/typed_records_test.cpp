// Typed records refused or failed inside the engine: a failed read zeroes the
// whole host record, a write smaller than the packed record is refused. The
// round trips of every type go through the exports in
// typed_records_host_test.cpp.
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

template <typename T>
T with_garbage_padding() {
  T rec;
  std::memset(&rec, 0xCC, sizeof rec);
  return rec;
}

class TypedRecords : public ::testing::Test {
 protected:
  TempBase base;
  RecordingSink sink;
};

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
