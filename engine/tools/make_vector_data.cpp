// cartex32-vector-data: writes the stroke font or the icon file from its
// readable source.
//   cartex32-vector-data font SOURCE OUTPUT    (stroke_font.txt -> tabtvec.dat)
//   cartex32-vector-data icons SOURCE OUTPUT   (icons.txt -> tabico.dat)
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/vector_data.h"

int main(int argc, char** argv) {
  const std::string kind = argc == 4 ? argv[1] : "";
  if (kind != "font" && kind != "icons") {
    std::cerr << "usage: cartex32-vector-data font|icons SOURCE OUTPUT\n";
    return 2;
  }
  std::ifstream source(argv[2]);
  if (!source) {
    std::cerr << "cartex32-vector-data: cannot read " << argv[2] << "\n";
    return 1;
  }
  std::vector<uint8_t> data;
  std::string error;
  const bool ok = kind == "font" ? cx::tools::escriba_fuente_vectorial(source, data, error)
                                 : cx::tools::escriba_iconos(source, data, error);
  if (!ok) {
    std::cerr << argv[2] << ": " << error << "\n";
    return 1;
  }
  const std::string partial = std::string(argv[3]) + ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    if (!out.flush()) {
      std::cerr << "cartex32-vector-data: cannot write " << argv[3] << "\n";
      std::remove(partial.c_str());
      return 1;
    }
  }
  if (std::rename(partial.c_str(), argv[3]) != 0) {
    std::cerr << "cartex32-vector-data: cannot write " << argv[3] << "\n";
    std::remove(partial.c_str());
    return 1;
  }
  return 0;
}
