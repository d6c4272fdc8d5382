// cartex32-sample-base [DIR]: writes the sample geographic base into DIR
// (created when missing) or into the current directory.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "tools/sample_base.h"

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
    std::fprintf(stderr, "usage: cartex32-sample-base [DIR]\n");
    return 2;
  }
  if (argc == 2) {
    mkdir(argv[1], 0777);
    if (chdir(argv[1]) != 0) {
      std::perror(argv[1]);
      return 1;
    }
  }
  return cx::escriba_base_ejemplo() == 0 ? 0 : 1;
}
