// A scratch folder made the current directory for one test case (the
// engine's file names are relative to it) and removed with its files.
#pragma once

#include <windows.h>

#include <string>

namespace cxw {

class ScratchDir {
 public:
  ScratchDir() {
    char old[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, old);
    old_ = old;
    static int serial = 0;
    path_ = old_ + "\\scratch_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);
    SetCurrentDirectoryA(path_.c_str());
  }
  ~ScratchDir() {
    SetCurrentDirectoryA(old_.c_str());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do DeleteFileA((path_ + "\\" + found.cFileName).c_str());
      while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }

  // Files and folders in it, "." and ".." aside.
  int entries() const {
    int n = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") ++n;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return n;
  }

 private:
  std::string old_;
  std::string path_;
};

}  // namespace cxw
