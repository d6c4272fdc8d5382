// Drawing benchmark: random polylines of 2 to 50 points drawn through the
// graphics kernel into a 2000 x 1000 raster device, in four kinds (solid and
// dashed, widths 1 and 3); prints segments per second of each kind and of
// all together.
//
//   bench_draw [--polylines N]     N in all, shared by the kinds (100,000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "cartex32.h"

namespace {

constexpr int16_t kWidth = 2000, kHeight = 1000;

struct Kind {
  const char* name;
  int16_t type, width;
};

}  // namespace

int main(int argc, char** argv) {
  long polylines = 100000;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--polylines") == 0 && i + 1 < argc) {
      polylines = std::strtol(argv[++i], nullptr, 10);
    } else {
      std::fprintf(stderr, "usage: bench_draw [--polylines N]\n");
      return 2;
    }
  }
  const int32_t hdc = crear_dispositivo(kWidth, kHeight);
  if (!hdc) return 3;
  gabrest(0, 0, kWidth, kHeight, hdc);
  gdcolor(9);

  const Kind kinds[] = {{"solid, width 1", 1, 1},
                        {"dashed, width 1", 3, 1},
                        {"solid, width 3", 1, 3},
                        {"dashed, width 3", 3, 3}};
  std::mt19937 rng(2026);
  std::uniform_real_distribution<double> x(0, kWidth), y(0, kHeight);
  std::uniform_int_distribution<int> points(2, 50);
  std::vector<double> xs(50), ys(50);
  long all_segments = 0;
  double all_seconds = 0;
  for (const Kind& k : kinds) {
    gdlintip(k.type);
    gdlinanch(k.width);
    long segments = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < polylines / 4; ++i) {
      const int n = points(rng);
      for (int p = 0; p < n; ++p) {
        xs[p] = x(rng);
        ys[p] = y(rng);
      }
      gplinea(xs.data(), ys.data(), static_cast<int16_t>(n));
      segments += n - 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-16s %9ld polylines %10ld segments %8.2f s %12.0f segments/s\n", k.name,
                polylines / 4, segments, seconds, segments / seconds);
    all_segments += segments;
    all_seconds += seconds;
  }
  std::printf("%-16s %9ld polylines %10ld segments %8.2f s %12.0f segments/s\n", "all",
              polylines / 4 * 4, all_segments, all_seconds, all_segments / all_seconds);
  liberar_dispositivo(hdc);
  return 0;
}
