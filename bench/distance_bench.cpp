// Times distancias_raster on a 2000 x 2000 white image with 5, 1,000 and
// 100,000 black feature pixels at random places (the same on every run).
// One line an image:
//
//   features  seconds
//
// With a folder argument, also writes there features-<n>.txt, one "x y"
// line a feature, for bench/distance to time other transforms on the same
// images.
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "cartex32.h"
#include "platform/device_table.h"
#include "platform/raster_device.h"

namespace {

constexpr int kSide = 2000;

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "";
  for (int features : {5, 1000, 100000}) {
    auto image = std::make_unique<cx::RasterDevice>(kSide, kSide);
    std::mt19937 random(features);
    std::FILE* list =
        folder.empty()
            ? nullptr
            : std::fopen((folder + "/features-" + std::to_string(features) + ".txt").c_str(), "w");
    for (int i = 0; i < features; ++i) {
      const int x = static_cast<int>(random() % kSide), y = static_cast<int>(random() % kSide);
      image->set_pixel(x, y, 0);
      if (list) std::fprintf(list, "%d %d\n", x, y);
    }
    if (list) std::fclose(list);
    const int32_t src = cx::registre_dispositivo(std::move(image));
    const int32_t dst = crear_dispositivo(kSide, kSide);
    const auto start = std::chrono::steady_clock::now();
    const int32_t result = distancias_raster(src, dst, kSide, kSide, 1.0);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (result != -1) {
      std::fprintf(stderr, "bench_distance: the transform failed\n");
      return 1;
    }
    std::printf("%d %.4f\n", features, took.count());
    liberar_dispositivo(src);
    liberar_dispositivo(dst);
  }
  return 0;
}
