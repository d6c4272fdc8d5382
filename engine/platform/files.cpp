// The process-wide slot of the file layer.
#include "platform/files.h"

namespace cx {

namespace {
Files* installed = nullptr;
}  // namespace

Files* set_files(Files* files) {
  Files* previous = installed ? installed : &system_files();
  installed = files;
  return previous;
}

Files& files() {
  return installed ? *installed : system_files();
}

}  // namespace cx
