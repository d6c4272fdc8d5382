// The record file exports bound by name, with the host's message callback
// receiving the layer's diagnostics.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/engine_library.h"
#include "support/host_files.h"
#include "support/temp_base.h"

namespace {

using cx::testing::EngineLibrary;
using cx::testing::TempBase;

struct Shown {
  int owner = 0;
  std::vector<std::string> captions, texts;
  std::vector<int> styles;
};

int32_t CX_CALL record_message(void* user, int32_t owner, const char* caption, const char* text,
                               int32_t style) {
  auto* shown = static_cast<Shown*>(user);
  shown->owner = owner;
  shown->captions.push_back(caption);
  shown->texts.push_back(text);
  shown->styles.push_back(style);
  return CX_IDOK;
}

TEST(RecordsHost, ExportsReadAndWriteAndReportThroughTheHostCallback) {
  EngineLibrary lib;
  ASSERT_TRUE(lib.loaded());
  TempBase base;
  auto* verify = CX_BIND(lib, sverify);
  auto* read = CX_BIND(lib, sleer);
  auto* write = CX_BIND(lib, sescribir);
  auto* read_bytes = CX_BIND(lib, lea_bytes);
  auto* read_obj = CX_BIND(lib, sleer_obj);
  auto* write_obj = CX_BIND(lib, sescribir_obj);
  auto* set_callback = CX_BIND(lib, cx_set_message_callback);
  auto* set_window = CX_BIND(lib, set_Hwnd);
  for (const char* name : {"sleer_top", "sleer_are", "sleer_arc", "sleer_nod", "sescribir_top",
                           "sescribir_are", "sescribir_arc", "sescribir_nod", "lea_coord"})
    EXPECT_NE(lib.bind<void>(name), nullptr) << name;
  ASSERT_TRUE(verify && read && write && read_bytes && read_obj && write_obj && set_callback &&
              set_window);

  TempBase::write("OBJETOS.DAT", std::vector<unsigned char>(31, 0));
  ASSERT_EQ(verify("OBJETOS.DAT"), -1);
  ASSERT_EQ(verify("objetos.dat"), -1);

  Shown shown;
  set_callback(record_message, &shown);
  set_window(99);

  // Handles come from the host's own open here; the engine takes any handle.
  const int fd = cx::testing::open_host_file("OBJETOS.DAT", false);
  ASSERT_GT(fd, 2);
  cx_object obj{};
  obj.kind = 3;
  obj.x = 10;
  obj.y = 20;
  EXPECT_EQ(write_obj(static_cast<int16_t>(fd), &obj, 1, 31), 0);
  cx_object back{};
  EXPECT_EQ(read_obj(static_cast<int16_t>(fd), &back, 1, 0), 0);
  EXPECT_EQ(+back.kind, 3);
  EXPECT_EQ(+back.y, 20.0);
  unsigned char raw[2];
  EXPECT_EQ(read_bytes(static_cast<int16_t>(fd), 31, raw, 2), 0);
  EXPECT_EQ(raw[0], 3);

  unsigned char rec[31];
  EXPECT_EQ(read(static_cast<int16_t>(fd), rec, 5, 31), -1);
  cx::testing::close_host_file(fd);
  set_callback(nullptr, nullptr);
  set_window(0);

  ASSERT_EQ(shown.texts.size(), 1u);
  EXPECT_EQ(shown.owner, 99);
  EXPECT_EQ(shown.captions[0], "Mensaje de Cartex_win");
  EXPECT_EQ(shown.styles[0], CX_MB_OK | CX_MB_ICONSTOP);
  EXPECT_EQ(shown.texts[0].rfind("LEER: Error en reg. 5 en ", 0), 0u) << shown.texts[0];
  EXPECT_NE(shown.texts[0].find(",1)\n"), std::string::npos) << shown.texts[0];
}

}  // namespace
