// trawlix-cli run as a child process by a test: its standard output read
// line by line, the process killed or interrupted as a person would.
// Requires: TRAWLIX_CLI_PATH, the path of the built trawlix-cli.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace trawlix::testing {

// trawlix-cli run as a child process, its standard output read line by
// line; standard error is dropped.
class CliProcess {
 public:
  explicit CliProcess(std::vector<std::string> words) {
    words.insert(words.begin(), TRAWLIX_CLI_PATH);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fdopen(fds[0], "r");
  }
  ~CliProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      wait();
    }
    if (out_) fclose(out_);
  }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  bool started() const { return pid_ > 0 && out_; }
  // The next line of standard output, false at its end.
  bool read_line(std::string* line) {
    char* text = nullptr;
    size_t size = 0;
    ssize_t n = getline(&text, &size, out_);
    if (n > 0) line->assign(text, static_cast<size_t>(text[n - 1] == '\n' ? n - 1 : n));
    free(text);
    return n > 0;
  }
  void kill_now() { kill(pid_, SIGKILL); }
  // Sends the signal Ctrl-C sends.
  void interrupt() { kill(pid_, SIGINT); }
  // Waits for the end; returns the exit status, or 128 + the signal.
  int wait() {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
};

}  // namespace trawlix::testing
