// The frame's internal services: allocation with a reported failure, the
// line reader's format language, exit handlers and the event pump.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cartex32.h"
#include "frame/lea_linea.h"
#include "frame/lifecycle.h"
#include "frame/memory.h"
#include "platform/pump.h"
#include "support/recording_sink.h"

namespace cx {
namespace {

using testing::RecordingSink;

void* failing_allocator(std::size_t) {
  return nullptr;
}

TEST(PidaMemoria, GivesZeroedBlocks) {
  RecordingSink sink;
  auto* block = static_cast<unsigned char*>(pida_memoria(100000, "CAMPO"));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 100000; ++i) ASSERT_EQ(block[i], 0) << i;
  std::free(block);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(PidaMemoria, SizesAbove16BitsAreNotWrapped) {
  // 70,000 bytes would wrap to 4,464 as a 16-bit count; the whole block
  // must be writable.
  auto* block = static_cast<char*>(pida_memoria(70000, "PUNTOS"));
  ASSERT_NE(block, nullptr);
  std::memset(block, 1, 70000);
  std::free(block);
}

TEST(PidaMemoria, FailureIsReportedWithTheLabelAndGivesNull) {
  RecordingSink sink;
  const Allocator previous = set_allocator(failing_allocator);
  void* block = pida_memoria(64, "CAMPO");
  set_allocator(previous);

  EXPECT_EQ(block, nullptr);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "ERROR de memoria : CAMPO; X: abortar ->");
  EXPECT_EQ(sink.messages[0].style & CX_MB_ICONMASK, CX_MB_ICONSTOP);
}

class LeaLinea : public ::testing::Test {
 protected:
  std::FILE* file_with(const std::string& text) {
    file_ = std::tmpfile();
    std::fputs(text.c_str(), file_);
    std::rewind(file_);
    return file_;
  }
  void TearDown() override {
    if (file_) std::fclose(file_);
  }
  std::FILE* file_ = nullptr;
};

TEST_F(LeaLinea, NumbersRunUpToTheFormatsNextCharacter) {
  std::FILE* f = file_with("12,-70000;2.5:0.125|Rio Grande\r\nsecond\n");
  int16_t a = 0;
  int32_t b = 0;
  float c = 0;
  double d = 0;
  char name[64] = "";
  EXPECT_EQ(lea_linea(f, "%d,%ld;%f:%lf|%s", &a, &b, &c, &d, name), 5);
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, -70000);
  EXPECT_FLOAT_EQ(c, 2.5f);
  EXPECT_DOUBLE_EQ(d, 0.125);
  EXPECT_STREQ(name, "Rio Grande");  // the rest of the line, without "\r\n"

  EXPECT_EQ(lea_linea(f, "%s", name), 1);
  EXPECT_STREQ(name, "second");
  EXPECT_EQ(lea_linea(f, "%s", name), -1);
}

TEST_F(LeaLinea, MismatchedLiteralStopsTheLine) {
  std::FILE* f = file_with("7;8\nnext\n");
  int16_t a = 0, b = 99;
  EXPECT_EQ(lea_linea(f, "%d,%d", &a, &b), 1);
  EXPECT_EQ(a, 7);
  EXPECT_EQ(b, 99);
  char rest[16];
  EXPECT_EQ(lea_linea(f, "%s", rest), 1);  // the bad line was consumed whole
  EXPECT_STREQ(rest, "next");
}

TEST_F(LeaLinea, StringWidthBoundsTheCopy) {
  std::FILE* f = file_with("abcdefghij\n");
  char out[5];
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(lea_linea(f, "%4s", out), 1);
  EXPECT_STREQ(out, "abcd");
}

TEST_F(LeaLinea, LongLinesAreCutAt1000Characters) {
  std::FILE* f = file_with(std::string(1500, 'z') + "\nok\n");
  std::vector<char> out(2000, '\0');
  EXPECT_EQ(lea_linea(f, "%s", out.data()), 1);
  EXPECT_EQ(std::strlen(out.data()), 1000u);
  EXPECT_EQ(lea_linea(f, "%s", out.data()), 1);
  EXPECT_STREQ(out.data(), "ok");
}

TEST_F(LeaLinea, LastLineWithoutLineEndIsRead) {
  std::FILE* f = file_with("42");
  int32_t v = 0;
  EXPECT_EQ(lea_linea(f, "%ld", &v), 1);
  EXPECT_EQ(v, 42);
}

std::vector<int> order;
void first() {
  order.push_back(1);
}
void second() {
  order.push_back(2);
}
void third() {
  order.push_back(3);
  add_exit_handler(first);  // added while running: runs too, once
}

TEST(ExitHandlers, RunLastAddedFirstAndOnlyOnce) {
  order.clear();
  ASSERT_TRUE(add_exit_handler(first));
  ASSERT_TRUE(add_exit_handler(second));
  ASSERT_TRUE(add_exit_handler(third));
  run_exit_handlers();
  EXPECT_EQ(order, (std::vector<int>{3, 1, 2, 1}));
  run_exit_handlers();
  EXPECT_EQ(order.size(), 4u);
}

TEST(Pump, CallsTheInstalledPumpWithItsData) {
  int calls = 0;
  set_pump([](void* user) { ++*static_cast<int*>(user); }, &calls);
  pump_messages();
  pump_messages();
  set_pump(nullptr, nullptr);
  pump_messages();
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace cx
