// cartex32-text-specimen: draws the seven faces, the stroke font and the
// icon catalogue through the library's exports, as a host would, and saves
// them as PNG files; the engine's README shows them.
//   cartex32-text-specimen DATA_DIR OUTPUT_DIR
// DATA_DIR holds tabtvec.dat and tabico.dat (run it in a folder without a
// tabico.dat of its own). Exits 1 when a picture cannot be saved.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cartex32.h"

namespace {

const char* const kFaces[7] = {"Arial",         "Courier New", "Roman", "Times New Roman",
                               "MS Sans Serif", "Ms Serif",    "Modern"};

void faces_and_strokes() {
  text(1, 0, 0x000080, "L\xEDnea de estado: las siete caras, la fuente de trazos y un s\xEDmbolo");
  const double sizes[3] = {10, 14, 20};
  const int16_t colours[7] = {15, 1, 2, 4, 12, 5, 3};
  for (int face = 0; face < 7; ++face)
    for (int s = 0; s < 3; ++s)
      gsuper_texto(20 + 200 * s, 505 - 30 * face, 0, sizes[s], ggetcolor(colours[face]), 0, s == 2,
                   kFaces[face], kFaces[face]);
  gdtxtvect(1);
  gdcolor(15);
  const char* lines[3] = {" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                          "[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~", "Estacion del Norte, km 12"};
  for (int i = 0; i < 3; ++i) {
    gdtxtesc(i == 2 ? 24 : 14);
    gdtextam(0);
    gtexto(20, 260 - 36 * i, lines[i]);
  }
  // At 0, 30, 60 and 90 degrees the map font, the stroke font and an icon
  // turn alike.
  gdtxtesc(16);
  gdtextam(0);
  gdicoesc(40);
  for (int i = 0; i < 4; ++i) {
    const double x = 40 + 230 * i;
    gdtexang(i * 0.5235987755982988);
    gdtxtvect(0);
    gdcolor(12);
    gtexto(x + 30, 70, "Arial");
    gdtxtvect(1);
    gdcolor(9);
    gtexto(x + 30, 40, "Trazo");
    gdcolor(10);
    gicono(8, x, 50);
  }
  gdtexang(0);
  gdtxtvect(0);
}

bool picture(int width, int height, void (*draw)(), const std::string& path) {
  const int32_t hdc = crear_dispositivo(width, height);
  gabrest(0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height), hdc);
  ginicie(0);
  gabrest(0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height), hdc);
  draw();
  const bool saved = guardar_png(hdc, path.c_str()) == 0;
  gfinalice(0);
  liberar_dispositivo(hdc);
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: cartex32-text-specimen DATA_DIR OUTPUT_DIR\n");
    return 2;
  }
  setenv("CARTEX32_DATA_DIR", argv[1], 1);
  const std::string out = argv[2];
  bool ok = picture(960, 540, faces_and_strokes, out + "/text-specimen.png");
  // The catalogue's rows lie at the bottom of its world: a device of their
  // height under a viewport twice as high.
  ok = picture(
           1000, 190,
           [] {
             gdvista(0, 0, 0, 1000, 500);
             simbdisplay(0, 9);
           },
           out + "/icon-catalogue.png") &&
       ok;
  return ok ? 0 : 1;
}
