// Two processes editing one base with PERMISO.DAT open: while one holds
// the edit lock, every edit of the other refuses with its lock message and
// leaves every file as it was; once the lock is free the other's edits go
// through and see what the first one wrote.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cartex32.h"
#include "records/edit_lock.h"
#include "support/kept_messages.h"
#include "support/temp_base.h"

namespace {

using cx::testing::keep_message;
using cx::testing::TempBase;

std::map<std::string, std::vector<unsigned char>> every_file() {
  std::map<std::string, std::vector<unsigned char>> files;
  for (const auto& entry : std::filesystem::directory_iterator("."))
    files[entry.path().filename().string()] = TempBase::bytes(entry.path().string());
  return files;
}

// One direction of talk between the two processes, a byte at a time.
struct Pipe {
  int fd[2] = {-1, -1};
  Pipe() { EXPECT_EQ(pipe(fd), 0); }
  void say(char c) const { EXPECT_EQ(write(fd[1], &c, 1), 1); }
  char hear() const {
    char c = 0;
    return read(fd[0], &c, 1) == 1 ? c : '\0';
  }
};

TEST(EditProcesses, EditsRefuseWhileAnotherProcessHoldsTheLock) {
  TempBase base;
  std::vector<std::string> messages;
  cx_set_message_callback(keep_message, &messages);
  ASSERT_EQ(crear_BG(0), 0);
  ASSERT_EQ(inigks(0), 0);
  ASSERT_EQ(inifil(0), 0);
  ASSERT_EQ(set_consts(24, 1), 1);
  int16_t red[CX_RED_HANDLES], networks = 0;
  get_red(red, 1, &networks);
  // A base to edit: two arcs that could be merged, a lone node, an area.
  const double x[3] = {1000, 1050, 1100}, y[3] = {1000, 1040, 1000}, y2[3] = {1000, 960, 1000};
  ASSERT_EQ(dig_segment(3, x, y, 0, 0), 1);
  ASSERT_EQ(dig_segment(3, x, y2, 0, 0), 1);
  cx_object at{};
  at.x = at.y = 3000;
  cx_node code{};
  const int32_t lone = nuevo_nodo(&at, &code);
  ASSERT_GT(lone, 0);
  cx_object label{};
  label.kind = 2;
  const int32_t area = grabe_t3("zona", nullptr, &label);
  ASSERT_GT(area, 0);

  Pipe to_child, to_parent;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The other copy of the host: takes the lock, then writes a node
    // under it when told, and lets go.
    cx::abra_permiso();
    to_parent.say(cx::bloquee_base() == 1 ? 'y' : 'n');
    to_child.hear();
    at.x = at.y = 5000;
    nuevo_nodo(&at, &code);
    to_parent.say(cx::libere_base() == 0 ? 'y' : 'n');
    to_child.hear();
    _exit(0);
  }
  ASSERT_EQ(cx::abra_permiso(), 0);
  cx::set_lock_timing(1, 0);
  ASSERT_EQ(to_parent.hear(), 'y');

  const auto before = every_file();
  const double mx[2] = {1000, 3000}, my[2] = {1000, 3000};
  int32_t which = 1;
  struct {
    const char* name;
    std::function<int32_t()> edit;
    int32_t refused;
    const char* message;
  } const edits[] = {
      {"nuevo_nodo", [&] { return nuevo_nodo(&at, &code); }, 0, "ERROR bloqueando nodo"},
      {"dig_segment", [&] { return dig_segment(2, mx, my, 0, 0); }, -1, "ERROR bloqueando arco"},
      {"partir_arcos", [&] { return partir_arcos(1050, 1040, &which); }, -1,
       "ERROR bloqueando arco"},
      {"funde_arcos", [&] { return funde_arcos(2); }, 0, "ERROR bloqueando arco"},
      {"del_nodo", [&] { return del_nodo(lone); }, -1, "Error bloqueando nodo"},
      {"agregue_arco", [&] { return agregue_arco(area, 1); }, -1, "error bloqueo T3."},
      {"add_segments", [&] { return add_segments(area); }, -1, "error bloqueo T3."},
      {"grabe_t3", [&] { return grabe_t3("otra", nullptr, &label); }, 0, "Error de Bloqueo T3"},
  };
  for (const auto& e : edits) {
    messages.clear();
    EXPECT_EQ(e.edit(), e.refused) << e.name;
    EXPECT_EQ(messages.empty() ? "" : messages.back(), e.message) << e.name;
    EXPECT_TRUE(every_file() == before) << e.name << " changed a file";
  }

  // The other process writes its node and lets go: a line digitized from
  // that point now ends on that node.
  to_child.say('g');
  ASSERT_EQ(to_parent.hear(), 'y');
  const double lx[2] = {4000, 5000}, ly[2] = {4000, 5000};
  EXPECT_EQ(dig_segment(2, lx, ly, 0, 0), 1);
  cx_arc line{};
  ASSERT_EQ(sleer_arc(red[1], &line, 3, 0), 0);
  EXPECT_EQ(line.to_node, lone + 1);  // the other process's node
  to_child.say('q');
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  cx::cierre_permiso();
  cx::set_lock_timing(10, 100);
  end_cons(0);
  cx_set_message_callback(nullptr, nullptr);
}

}  // namespace
