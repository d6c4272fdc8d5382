// The failure paths of the distance transform: any row write or read that
// fails ends it with 0 and a message, and leaves no file open or behind.
#include <gtest/gtest.h>

#include <memory>

#include "cartex32.h"
#include "platform/device_table.h"
#include "platform/raster_device.h"
#include "support/faulty_files.h"
#include "support/recording_sink.h"
#include "support/temp_base.h"

namespace {

using cx::testing::FaultyFiles;
using cx::testing::RecordingSink;
using cx::testing::TempBase;

TEST(RasterDistanceFailures, EveryFailedRowAccessFailsCleanly) {
  TempBase dir;
  RecordingSink sink;
  const int32_t hdc = cx::registre_dispositivo(std::make_unique<cx::RasterDevice>(4, 3));
  int writes = 0;
  {
    FaultyFiles counting;
    ASSERT_EQ(distancias_raster(hdc, hdc, 4, 3, 1.0), -1);
    writes = counting.writes;
  }
  // Round 0 fails the reads; round n the n-th write.
  for (int fail = 0; fail <= writes; ++fail) {
    FaultyFiles files;
    files.fail_write = fail;
    files.fail_reads = fail == 0;
    sink.messages.clear();
    EXPECT_EQ(distancias_raster(hdc, hdc, 4, 3, 1.0), 0) << fail;
    EXPECT_EQ(sink.messages.size(), 1u) << fail;
    EXPECT_EQ(files.open_handles, 0) << fail;
    EXPECT_EQ(dir.entries(), 0) << fail;
  }
  cx::libere_dispositivo(hdc);
}

}  // namespace
