// Spatial index benchmark: N random points (1,000,000 by default) inserted
// into a B-tree index file under their spatial keys, then 10,000 window
// queries of 2500 x 2500 and 10,000 of 50 x 50; the same points and windows
// in an SQLite R*Tree (points as degenerate boxes, inserted in one
// transaction, in a database file beside the index). With the text form of
// the world-atlas 1:50m countries (tests/engine/world_atlas/fetch.sh), the
// points of its arcs are timed the same way. Prints both times and the
// ratio, engine / R*Tree (below 1: the engine is faster).
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "records/record_file.h"
#include "topology/btree.h"
#include "topology/spatial.h"
#include "world_atlas/world_atlas.h"

namespace {

struct Point {
  double x, y;
};
struct Window {
  double x1, y1, x2, y2;
};

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Times {
  double insert = 0, wide = 0, narrow = 0;
  long hits = 0;
};

Times time_engine(const std::string& path, const std::vector<Point>& points,
                  const std::vector<Window>& wide, const std::vector<Window>& narrow) {
  std::filesystem::remove(path);
  Times t;
  cx::ArchivoAbierto index(cx::indice_abra(path.c_str(), nullptr));
  if (!index.abierto()) std::exit(1);
  auto start = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < points.size(); ++i) {
    unsigned char key[cx::kKeySize];
    cx::clave_espacial(points[i].x, points[i].y, 1, key);
    if (cx::indice_inserte(index.get(), key, static_cast<int32_t>(i + 1)) != 0) std::exit(1);
  }
  t.insert = seconds_since(start);
  for (const auto* windows : {&wide, &narrow}) {
    start = std::chrono::steady_clock::now();
    for (const Window& w : *windows) {
      cx::ConsultaEspacial q;
      cx::inicie_consulta(&q, w.x1, w.y1, w.x2, w.y2);
      int32_t record;
      while (cx::siguiente_hit(index.get(), &q, nullptr, &record) == 1) ++t.hits;
    }
    (windows == &wide ? t.wide : t.narrow) = seconds_since(start);
  }
  return t;
}

void check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

Times time_rtree(const std::string& path, const std::vector<Point>& points,
                 const std::vector<Window>& wide, const std::vector<Window>& narrow) {
  std::filesystem::remove(path);
  Times t;
  sqlite3* db = nullptr;
  check(sqlite3_open(path.c_str(), &db), db);
  check(sqlite3_exec(db, "CREATE VIRTUAL TABLE xy USING rtree(id, x1, x2, y1, y2)", nullptr,
                     nullptr, nullptr),
        db);
  auto start = std::chrono::steady_clock::now();
  check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
  sqlite3_stmt* insert = nullptr;
  check(sqlite3_prepare_v2(db, "INSERT INTO xy VALUES (?, ?, ?, ?, ?)", -1, &insert, nullptr), db);
  for (std::size_t i = 0; i < points.size(); ++i) {
    sqlite3_bind_int64(insert, 1, static_cast<sqlite3_int64>(i + 1));
    sqlite3_bind_double(insert, 2, points[i].x);
    sqlite3_bind_double(insert, 3, points[i].x);
    sqlite3_bind_double(insert, 4, points[i].y);
    sqlite3_bind_double(insert, 5, points[i].y);
    check(sqlite3_step(insert), db);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  t.insert = seconds_since(start);
  sqlite3_stmt* select = nullptr;
  check(
      sqlite3_prepare_v2(db, "SELECT id FROM xy WHERE x1 >= ? AND x2 <= ? AND y1 >= ? AND y2 <= ?",
                         -1, &select, nullptr),
      db);
  for (const auto* windows : {&wide, &narrow}) {
    start = std::chrono::steady_clock::now();
    for (const Window& w : *windows) {
      sqlite3_bind_double(select, 1, w.x1);
      sqlite3_bind_double(select, 2, w.x2);
      sqlite3_bind_double(select, 3, w.y1);
      sqlite3_bind_double(select, 4, w.y2);
      while (sqlite3_step(select) == SQLITE_ROW) ++t.hits;
      sqlite3_reset(select);
    }
    (windows == &wide ? t.wide : t.narrow) = seconds_since(start);
  }
  sqlite3_finalize(select);
  sqlite3_close(db);
  return t;
}

std::vector<Window> windows(std::mt19937& rng, double extent, double side, int count) {
  std::uniform_real_distribution<double> corner(0, extent - side);
  std::vector<Window> out(count);
  for (Window& w : out) {
    w.x1 = corner(rng);
    w.y1 = corner(rng);
    w.x2 = w.x1 + side;
    w.y2 = w.y1 + side;
  }
  return out;
}

void run(const char* title, const std::vector<Point>& points, double extent, std::mt19937& rng) {
  const std::vector<Window> wide = windows(rng, extent, 2500, 10000);
  const std::vector<Window> narrow = windows(rng, extent, 50, 10000);
  const std::string dir = std::filesystem::temp_directory_path().string();
  const Times e = time_engine(dir + "/bench_spatial.inx", points, wide, narrow);
  const Times r = time_rtree(dir + "/bench_spatial.db", points, wide, narrow);
  std::filesystem::remove(dir + "/bench_spatial.inx");
  std::filesystem::remove(dir + "/bench_spatial.db");
  std::printf("%s: %zu points, hits %ld (engine) %ld (R*Tree)\n", title, points.size(), e.hits,
              r.hits);
  std::printf("  %-24s %10s %10s %8s\n", "", "engine s", "R*Tree s", "ratio");
  const struct {
    const char* name;
    double engine, rtree;
  } rows[] = {{"insert", e.insert, r.insert},
              {"10,000 windows 2500", e.wide, r.wide},
              {"10,000 windows 50", e.narrow, r.narrow}};
  for (const auto& row : rows)
    std::printf("  %-24s %10.3f %10.3f %8.2f\n", row.name, row.engine, row.rtree,
                row.rtree > 0 ? row.engine / row.rtree : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  const long n = argc > 1 ? std::atol(argv[1]) : 1000000;
  const char* atlas_path = argc > 2 ? argv[2] : "build/world-atlas/countries-50m.txt";
  std::mt19937 rng(2500);
  // 1,000,000 points over 100 km x 100 km: some 600 in a 2500 x 2500 window.
  const double extent = 100000;
  std::uniform_real_distribution<double> coord(0, extent);
  std::vector<Point> points(static_cast<std::size_t>(n > 0 ? n : 1));
  for (Point& p : points) p = {coord(rng), coord(rng)};
  run("random points", points, extent, rng);

  cx::testing::Atlas atlas;
  if (!cx::testing::read_atlas(atlas_path, &atlas)) {
    std::printf("world-atlas 1:50m: %s not found (tests/engine/world_atlas/fetch.sh)\n",
                atlas_path);
    return 0;
  }
  std::vector<Point> map;
  for (const auto& arc : atlas.arcs)
    for (std::size_t i = 0; i < arc.x.size(); ++i) map.push_back({arc.x[i], arc.y[i]});
  run("world-atlas 1:50m arc points", map, 1800000, rng);
  return 0;
}
