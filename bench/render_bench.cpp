// Rendering benchmark: the world-atlas 1:50m countries (the text form written
// by tests/engine/world_atlas/fetch.sh) imported once into a new base as a
// network of nodes, arcs and area objects, then the whole world redrawn into
// a 2000 x 1000 device RUNS times (7 by default). Prints the import time,
// each redraw's and their median; with OUTPUT the last picture as PNG.
//
//   bench_render ATLAS_TEXT [RUNS] [OUTPUT.png]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cartex32.h"
#include "world_atlas/atlas_import.h"

namespace {

constexpr int kWidth = 2000, kHeight = 1000;
constexpr double kWorldX = 3600000, kWorldY = 1800000;  // 1e-4 degree

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Kind 3, the countries, appended to the kind table crear_BG wrote.
bool add_country_kind() {
  std::fstream table("TABOBJ.DAT", std::ios::in | std::ios::out | std::ios::binary);
  cx_kind country{};
  std::strcpy(country.name, "Pais");
  country.colour = 2;
  country.layer = 1;
  country.line_type = 1;
  country.line_width = 1;
  country.level = 1;
  const int32_t last = 3;
  table.seekp(0, std::ios::end);
  table.write(reinterpret_cast<const char*>(&country), sizeof country);
  table.seekp(0);
  table.write(reinterpret_cast<const char*>(&last), sizeof last);
  return static_cast<bool>(table);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: bench_render ATLAS_TEXT [RUNS] [OUTPUT.png]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  const std::string output = argc > 3 ? std::filesystem::absolute(argv[3]).string() : "";
  cx::testing::Atlas atlas;
  if (!cx::testing::read_atlas(argv[1], &atlas)) {
    std::fprintf(stderr, "bench_render: %s is not a world-atlas text file\n", argv[1]);
    return 1;
  }
  char folder[] = "/tmp/bench_render.XXXXXX";
  if (!mkdtemp(folder) || chdir(folder) != 0) return 1;

  auto start = std::chrono::steady_clock::now();
  if (crear_BG(0) != 0 || !add_country_kind()) return 1;
  inigks(0);
  inifil(0);
  set_consts(24, 1);
  int16_t red[CX_RED_HANDLES] = {}, networks = 0;
  get_red(red, 1, &networks);
  const cx::testing::AtlasNetwork network =
      cx::testing::import_atlas(atlas, red, 2, 1, 3, grabe_nodo, grabe_arco, grabe_t3);
  if (!network.ok) return 1;
  std::size_t arcs = 0, points = 0;
  for (const auto& p : network.pieces) arcs += p.size();
  for (const auto& a : atlas.arcs) points += a.x.size();
  std::printf("import: %zu countries, %zu nodes, %zu arcs, %zu points in %.2f s\n",
              atlas.countries.size(), network.nodes, arcs, points, seconds_since(start));
  set_objetos(3, 1);  // the countries' label points are not drawn

  const int32_t device = crear_dispositivo(kWidth, kHeight);
  gabrest(0, 0, kWidth, kHeight, device);
  ginicie(0);
  gdvista(0, 0, 0, kWidth, kHeight);
  set_video(0, 0, kWorldX, kWorldY);
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    start = std::chrono::steady_clock::now();
    gborre(0, 0, kWorldX, kWorldY);
    redespliegue(0);
    times.push_back(seconds_since(start));
    std::printf("redraw %d: %.4f s\n", run + 1, times.back());
  }
  std::sort(times.begin(), times.end());
  std::printf("engine median: %.4f s (%d x %d)\n", times[times.size() / 2], kWidth, kHeight);
  if (!output.empty() && guardar_png(device, output.c_str()) != 0) return 1;
  liberar_dispositivo(device);
  end_cons(0);
  std::filesystem::remove_all(folder);
  return 0;
}
