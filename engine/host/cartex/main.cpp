// cartex: the command line host of the map engine. It loads libcartex32 by
// name, shows the engine's messages on standard error and runs one
// command on a base folder.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>

#include "commands.h"

namespace cartex {

namespace {

const char* const kUsage =
    "usage: cartex COMMAND [ARGS]   (cartex COMMAND --help for each)\n"
    "\n"
    "  new DIR                 make a new, empty base in DIR\n"
    "  info DIR                layers, kinds and counts; closure of every area\n"
    "  render DIR OUT.png [--window x1,y1,x2,y2] [--size WxH] [--layers N,...]\n"
    "                          [--hide-kinds N,...] [--fill FORMULA]\n"
    "                          draw the base into a PNG picture\n"
    "  import DIR FILE         add the features of a GeoJSON file or Shapefile\n"
    "  export DIR FILE         write the base's features as GeoJSON or Shapefile\n"
    "  verify DIR              check every index against every record\n";

int32_t CX_CALL show_message(void* user, int32_t, const char*, const char* text, int32_t style) {
  auto* count = static_cast<int*>(user);
  ++*count;
  std::fprintf(stderr, "cartex: engine: %s\n", text);
  // Questions get their safe answer: nothing is deleted without a yes.
  switch (style & CX_MB_TYPEMASK) {
    case CX_MB_ABORTRETRYIGNORE:
      return CX_IDABORT;
    case CX_MB_YESNO:
    case CX_MB_YESNOCANCEL:
      return CX_IDNO;
    case CX_MB_OK:
      return CX_IDOK;
    default:
      return CX_IDCANCEL;
  }
}

}  // namespace

int usage_error(const std::string& command, const std::string& text) {
  std::fprintf(stderr, "cartex %s: %s (cartex %s --help)\n", command.c_str(), text.c_str(),
               command.c_str());
  return 2;
}

Progress progress_printer() {
  const bool terminal = isatty(2) != 0;
  return [terminal](const char* what, std::size_t done, std::size_t total) {
    if (terminal && (done % 64 == 0 || done == total))
      std::fprintf(stderr, "\r%s %zu/%zu%s", what, done, total, done == total ? "\n" : "");
    else if (!terminal && done == total)
      std::fprintf(stderr, "%s %zu/%zu\n", what, done, total);
  };
}

}  // namespace cartex

int main(int argc, char** argv) {
  using namespace cartex;
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const std::map<std::string, int (*)(const Engine&, const Args&)> commands = {
      {"new", cmd_new},       {"info", cmd_info},     {"render", cmd_render},
      {"import", cmd_import}, {"export", cmd_export}, {"verify", cmd_verify}};
  const auto command = commands.find(argv[1]);
  if (command == commands.end()) {
    std::fprintf(stderr, "cartex: unknown command \"%s\"\n%s", argv[1], kUsage);
    return 2;
  }
  const Args args(argv + 2, argv + argc);
  std::string error;
  const Engine* engine = load_engine(&error);
  if (!engine) {
    std::fprintf(stderr, "cartex: %s\n", error.c_str());
    return 3;
  }
  static int messages = 0;
  engine->cx_set_message_callback(show_message, &messages);
  return command->second(*engine, args);
}
