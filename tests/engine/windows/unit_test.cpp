// The Windows platform layer of the engine, linked with its objects: the C
// runtime file layer (sharing, positional reads and writes, _locking), the
// edit lock between two processes, the record layer over it, and the
// message boxes and questions of the system message sink.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "cartex32.h"
#include "frame/messages.h"
#include "platform/files.h"
#include "platform/message_sink.h"
#include "records/blocks.h"
#include "records/edit_lock.h"
#include "records/record_file.h"
#include "support/temp_base.h"

// The suite is named MessageBox, which <windows.h> defines as MessageBoxA.
#undef MessageBox

namespace {

using cx::files;
using cx::testing::TempBase;
using Bytes = std::vector<unsigned char>;

bool exists(const char* path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Records what the engine shows, for the cases that are not about the box.
class Recorder final : public cx::MessageSink {
 public:
  Recorder() { previous_ = cx::set_message_sink(this); }
  ~Recorder() override { cx::set_message_sink(previous_); }
  int show(int32_t, const char*, const char* text, int style) override {
    texts.push_back(text);
    return cx::safe_answer(style);
  }
  std::vector<std::string> texts;

 private:
  cx::MessageSink* previous_;
};

// ------------------------------------------------------------------- files

TEST(Files, OpeningSharedCreatesNothingAndSharesWithOtherOpens) {
  TempBase dir;
  EXPECT_EQ(files().open_shared("MISSING.DAT"), -1);
  EXPECT_TRUE(!exists("MISSING.DAT"));
  const int a = files().create("SHARED.DAT");
  ASSERT_TRUE(a >= 0);
  const int b = files().open_shared("SHARED.DAT");
  ASSERT_TRUE(b >= 0);
  EXPECT_TRUE(a != b);
  EXPECT_EQ(files().write_at(a, 0, "abcdef", 6), 6);
  char seen[7] = {};
  EXPECT_EQ(files().read_at(b, 0, seen, 6), 6);
  EXPECT_EQ(std::string(seen), "abcdef");
  EXPECT_EQ(files().write_at(b, 2, "XY", 2), 2);
  EXPECT_EQ(files().read_at(a, 0, seen, 6), 6);
  EXPECT_EQ(std::string(seen), "abXYef");
  files().close(a);
  files().close(b);
  // Another process's kind of open (the Win32 one, share everything).
  HANDLE other =
      CreateFileA("SHARED.DAT", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_TRUE(other != INVALID_HANDLE_VALUE);
  const int c = files().open_shared("SHARED.DAT");
  EXPECT_TRUE(c >= 0);
  files().close(c);
  CloseHandle(other);
}

TEST(Files, ReadsAndWritesGoWhereTheyAreToldWhateverTheFilePointer) {
  TempBase dir;
  const int h = files().create("POS.DAT");
  ASSERT_TRUE(h >= 0);
  EXPECT_EQ(files().length(h), 0);
  EXPECT_EQ(files().write_at(h, 100, "end!", 4), 4);
  EXPECT_EQ(files().length(h), 104);
  unsigned char gap[100];
  std::memset(gap, 0xAA, sizeof gap);
  EXPECT_EQ(files().read_at(h, 0, gap, sizeof gap), 100);
  bool zeros = true;
  for (unsigned char c : gap) zeros = zeros && c == 0;
  EXPECT_TRUE(zeros);
  EXPECT_EQ(files().write_at(h, 0, "head", 4), 4);
  char four[5] = {};
  EXPECT_EQ(files().read_at(h, 100, four, 4), 4);
  EXPECT_EQ(std::string(four), "end!");
  // Past the end: nothing, and a short read across it.
  EXPECT_EQ(files().read_at(h, 104, four, 4), 0);
  EXPECT_EQ(files().read_at(h, 500, four, 4), 0);
  EXPECT_EQ(files().read_at(h, 102, four, 4), 2);
  EXPECT_EQ(files().read_at(h, -1, four, 4), -1);
  EXPECT_EQ(files().read_at(-1, 0, four, 4), -1);
  files().close(h);
  const Bytes disk = TempBase::bytes("POS.DAT");
  ASSERT_TRUE(disk.size() == 104);
  EXPECT_TRUE(std::memcmp(disk.data(), "head", 4) == 0 &&
              std::memcmp(disk.data() + 100, "end!", 4) == 0);
}

TEST(Files, RemoveDeletesAClosedFileAndCreateEmptiesOne) {
  TempBase dir;
  int h = files().create("GONE.DAT");
  ASSERT_TRUE(h >= 0);
  files().write_at(h, 0, "data", 4);
  files().close(h);
  h = files().create("GONE.DAT");
  EXPECT_EQ(files().length(h), 0);
  files().close(h);
  EXPECT_TRUE(files().remove("GONE.DAT"));
  EXPECT_TRUE(!exists("GONE.DAT"));
  EXPECT_TRUE(!files().remove("GONE.DAT"));
}

// --------------------------------------------------------------- edit lock

TEST(EditLock, TwoOpensInOneProcessKeepEachOtherOut) {
  TempBase dir;
  const int h = files().create("L.DAT");
  files().write_at(h, 0, std::string(100, '\0').data(), 100);
  const int other = files().open_shared("L.DAT");
  ASSERT_TRUE(h >= 0 && other >= 0);
  EXPECT_TRUE(files().try_lock(h, 0, 100));
  EXPECT_TRUE(!files().try_lock(other, 0, 100));
  EXPECT_TRUE(!files().try_lock(other, 50, 10));
  EXPECT_TRUE(files().try_lock(other, 100, 10));  // beyond the held range
  EXPECT_TRUE(files().unlock(other, 100, 10));
  EXPECT_TRUE(files().unlock(h, 0, 100));
  EXPECT_TRUE(files().try_lock(other, 0, 100));
  EXPECT_TRUE(!files().unlock(h, 0, 100));  // not held by this open
  EXPECT_TRUE(files().unlock(other, 0, 100));
  files().close(h);
  files().close(other);
}

// Runs this program as the other copy of the host, in the same base folder:
// it opens the lock file, tries to take the edit lock and exits with 1 when
// it took it, 0 when it gave up. `patient` gives it seconds rather than a
// tenth of one.
DWORD run_other_copy(bool patient, DWORD* elapsed_ms = nullptr) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command =
      std::string("\"") + self + "\" --lock-child " + (patient ? "patient" : "quick");
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  const DWORD begun = GetTickCount();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                      &process))
    return 99;
  WaitForSingleObject(process.hProcess, 60000);
  if (elapsed_ms) *elapsed_ms = GetTickCount() - begun;
  DWORD code = 98;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

int lock_child(const char* mode) {
  Recorder quiet;
  if (std::strcmp(mode, "patient") == 0)
    cx::set_lock_timing(10, 50);
  else
    cx::set_lock_timing(1, 1);
  if (cx::abra_permiso() != 0) return 97;
  const int took = cx::bloquee_base();
  if (took == 1) cx::libere_base();
  cx::cierre_permiso();
  return took;
}

// Releases the edit lock after a delay, from a thread of the first copy.
DWORD WINAPI release_later(void*) {
  Sleep(400);
  cx::libere_base();
  return 0;
}

TEST(EditLock, ASecondProcessGivesUpOrWaitsWhileTheFirstEdits) {
  TempBase dir;
  Recorder quiet;
  ASSERT_TRUE(cx::cree_permiso() == 0);
  // Without the lock file open, nobody is kept out.
  EXPECT_EQ(cx::bloquee_base(), 1);
  EXPECT_EQ(run_other_copy(false), 1u);
  EXPECT_EQ(cx::libere_base(), 0);

  ASSERT_TRUE(cx::abra_permiso() == 0);
  EXPECT_EQ(cx::bloquee_base(), 1);
  EXPECT_EQ(run_other_copy(false), 0u);  // gives up after its attempts
  EXPECT_EQ(cx::libere_base(), 0);
  EXPECT_EQ(run_other_copy(false), 1u);  // free again

  // One that keeps trying gets the lock once the first copy lets go.
  EXPECT_EQ(cx::bloquee_base(), 1);
  HANDLE releaser = CreateThread(nullptr, 0, release_later, nullptr, 0, nullptr);
  DWORD elapsed = 0;
  EXPECT_EQ(run_other_copy(true, &elapsed), 1u);
  EXPECT_TRUE(elapsed >= 300);
  WaitForSingleObject(releaser, 5000);
  CloseHandle(releaser);
  cx::cierre_permiso();
}

// ------------------------------------------------------------ record files

TEST(RecordFiles, HeadersHoldTheLastRecordLittleEndian) {
  TempBase dir;
  Recorder quiet;
  int16_t unused;
  ASSERT_TRUE(cx::crear_archivo(&unused, "T.DAT", 20) == 0);
  EXPECT_TRUE(TempBase::bytes("T.DAT") == Bytes(20, 0));
  const int h = cx::abra_compartido("T.DAT");
  ASSERT_TRUE(h >= 0);
  EXPECT_EQ(cx::pida_registro(h, 20), 1);
  char record[20] = "first";
  EXPECT_EQ(cx::escriba_registro(h, record, 1, 20), 0);
  EXPECT_EQ(cx::pida_registro(h, 20), 2);
  EXPECT_EQ(cx::escriba_registro(h, record, 2, 20), 0);
  EXPECT_EQ(cx::devuelva_registro(h, 1, 20), 0);
  cx::cierre_archivo(h);
  const Bytes disk = TempBase::bytes("T.DAT");
  ASSERT_TRUE(disk.size() == 60);
  EXPECT_TRUE(disk[0] == 2 && disk[1] == 0 && disk[2] == 0 && disk[3] == 0);
  EXPECT_TRUE(disk[20] == 0xFF && disk[21] == 0xFF && disk[22] == 0xFF && disk[23] == 0xFF);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(disk.data()) + 40), "first");
  EXPECT_TRUE(quiet.texts.empty());
}

TEST(RecordFiles, BlockFilesStartWithTheirEndLittleEndian) {
  TempBase dir;
  Recorder quiet;
  ASSERT_TRUE(cx::cree_bloques("COORDEN.DAT") == 0);
  EXPECT_EQ(cx::cree_bloques("COORDEN.DAT"), -1);
  const int h = cx::abra_compartido("COORDEN.DAT");
  ASSERT_TRUE(h >= 0);
  EXPECT_EQ(cx::pida_bloque(h, 2), 2408);
  cx::cierre_archivo(h);
  const Bytes disk = TempBase::bytes("COORDEN.DAT");
  ASSERT_TRUE(disk.size() == 2408 + 32);
  // 2440 = 0x0988
  EXPECT_TRUE(disk[0] == 0x88 && disk[1] == 0x09 && disk[2] == 0 && disk[3] == 0);
}

TEST(RecordFiles, AFailedReadIsReportedWithTheFilesName) {
  TempBase dir;
  Recorder recorder;
  int16_t unused;
  ASSERT_TRUE(cx::crear_archivo(&unused, "R.DAT", 10) == 0);
  const int h = cx::abra_compartido("R.DAT");
  ASSERT_TRUE(h >= 0);
  char buffer[10];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(cx::lea_registro(h, buffer, 1, 10), -1);
  EXPECT_EQ(buffer[0], 0);
  ASSERT_TRUE(recorder.texts.size() == 1);
  EXPECT_EQ(recorder.texts[0], "LEER: Error en reg. 1 en R.DAT. (" + std::to_string(h) + ",0)\n");
  cx::cierre_archivo(h);
}

// ------------------------------------------------------------- message box

HWND owner_window() {
  return CreateWindowA("STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                       nullptr, nullptr);
}

int32_t as_handle(HWND window) {
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(window));
}

TEST(MessageBox, NoticesAndErrorsShowTheEnginesCaptionAndIcon) {
  HWND host = owner_window();
  ASSERT_TRUE(host != nullptr);
  cx::MessageSink& box = cx::system_message_sink();
  {
    cxw::BoxAnswerer answerer(IDOK);
    EXPECT_EQ(
        box.show(as_handle(host), cx::kCaption, "Base abierta", CX_MB_OK | CX_MB_ICONINFORMATION),
        CX_IDOK);
    EXPECT_EQ(answerer.seen().count, 1);
    EXPECT_TRUE(answerer.seen().owner == host);
    EXPECT_EQ(answerer.seen().caption, std::string("Mensaje de Cartex_win"));
    EXPECT_EQ(answerer.seen().text, std::string("Base abierta"));
    EXPECT_TRUE(answerer.seen().icon == LoadIconA(nullptr, IDI_ASTERISK));
  }
  {
    cxw::BoxAnswerer answerer(IDOK);
    box.show(0, cx::kCaption, "ERROR de memoria", CX_MB_OK | CX_MB_ICONSTOP);
    EXPECT_EQ(answerer.seen().count, 1);
    EXPECT_TRUE(answerer.seen().owner == nullptr);
    EXPECT_TRUE(answerer.seen().icon == LoadIconA(nullptr, IDI_HAND));
  }
  DestroyWindow(host);
}

TEST(MessageBox, AQuestionReturnsTheButtonPressed) {
  HWND host = owner_window();
  // pregunte goes through the default sink, which is the system's box.
  cx::set_message_sink(nullptr);
  cx::MessageSink& box = cx::system_message_sink();
  EXPECT_TRUE(&cx::message_sink() == &box);
  const int style = CX_MB_YESNO | CX_MB_ICONQUESTION | CX_MB_DEFBUTTON2;
  {
    cxw::BoxAnswerer answerer(IDNO);
    EXPECT_EQ(cx::pregunte("ATENCION: desea eliminar 3 objetos?", style, "Confirmar"), CX_IDNO);
    EXPECT_EQ(answerer.seen().caption, std::string("Confirmar"));
    EXPECT_EQ(answerer.seen().text, std::string("ATENCION: desea eliminar 3 objetos?"));
  }
  {
    cxw::BoxAnswerer answerer(IDYES);
    EXPECT_EQ(cx::pregunte("ATENCION: desea eliminar 3 objetos?", style, "Confirmar"), CX_IDYES);
    EXPECT_EQ(answerer.seen().count, 1);
  }
  DestroyWindow(host);
}

TEST(MessageBox, AnOwnerThatIsNoLongerAWindowStillGetsItsBox) {
  HWND host = owner_window();
  DestroyWindow(host);
  cxw::BoxAnswerer answerer(IDCANCEL);
  EXPECT_EQ(cx::system_message_sink().show(as_handle(host), cx::kCaption, "sigue",
                                           CX_MB_OKCANCEL | CX_MB_ICONEXCLAMATION),
            CX_IDCANCEL);
  EXPECT_EQ(answerer.seen().count, 1);
  EXPECT_TRUE(answerer.seen().owner == nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--lock-child") == 0) return lock_child(argv[2]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
