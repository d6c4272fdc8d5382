// Text through GDI, measured as tests/engine/support/text_cases.h measures
// it, against the record the Linux suite holds the raster device to. The
// record is GDI's own: with CARTEX32_WRITE_GDI_TEXT_RECORD set to a path the
// test writes it there instead (the build target gdi_text_record does).
#define CARTEX32_BUILD
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "memory_bitmap.h"
#include "support/text_cases.h"

namespace {

using cx::text_cases::kCases;

TEST(GdiCompare, TextMeasuresAsItsRecordSays) {
  std::vector<std::string> lines;
  for (const cx::text_cases::Case& c : kCases) {
    MemoryBitmap bitmap(cx::text_cases::kWidth, cx::text_cases::kHeight);
    const int32_t gdi = envolver_hdc(bitmap.hdc());
    ASSERT_GT(gdi, 0);
    const cx::text_cases::Measure m = cx::text_cases::measure(gdi, c);
    EXPECT_EQ(liberar_dispositivo(gdi), 0);
    EXPECT_GT(m.right, m.left) << c.name << " inks nothing";
    lines.push_back(cx::text_cases::record_line(c.name, m));
  }
  if (const char* out = std::getenv("CARTEX32_WRITE_GDI_TEXT_RECORD"); out && *out) {
    std::ofstream file(out);
    file
        << "# name, extent width and height, box of inked pixels: left top right bottom\n"
        << "# (GDI under Wine; rewrite with: cmake --build build-win32 --target gdi_text_record)\n";
    for (const std::string& line : lines) file << line << '\n';
    ASSERT_TRUE(file.good()) << "cannot write " << out;
    return;
  }
  const auto record = cx::text_cases::read_record(CARTEX32_GDI_TEXT_RECORD);
  ASSERT_FALSE(record.empty()) << "no record at " << CARTEX32_GDI_TEXT_RECORD;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto it = record.find(kCases[i].name);
    const std::string kept =
        it == record.end() ? "(none)" : cx::text_cases::record_line(kCases[i].name, it->second);
    std::printf("%-40s recorded %s\n", lines[i].c_str(), kept.c_str());
    EXPECT_EQ(lines[i], kept) << "GDI no longer draws as recorded: rewrite the record with "
                                 "cmake --build build-win32 --target gdi_text_record";
  }
}

}  // namespace
