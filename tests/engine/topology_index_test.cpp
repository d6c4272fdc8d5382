// The B-tree index against a std::multimap under random inserts and
// removals with many equal keys, and the window query against a scan of
// every indexed point.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "records/record_file.h"
#include "support/recording_sink.h"
#include "support/temp_base.h"
#include "topology/btree.h"
#include "topology/spatial.h"

namespace {

using cx::testing::RecordingSink;
using cx::testing::TempBase;
using Key = std::array<unsigned char, cx::kKeySize>;
using Pairs = std::vector<std::pair<Key, int32_t>>;

Key key_of(uint32_t n) {
  Key k{};
  for (int i = 0; i < 4; ++i) k[3 - i] = static_cast<unsigned char>(n >> (8 * i));
  k[12] = static_cast<unsigned char>(n * 7);
  return k;
}

Pairs contents(int handle) {
  Pairs out;
  EXPECT_EQ(cx::indice_recorra(handle,
                               [&](const unsigned char* k, int32_t v) {
                                 Key key;
                                 std::memcpy(key.data(), k, key.size());
                                 out.push_back({key, v});
                                 return true;
                               }),
            0);
  return out;
}

// Every entry in key order, the same pairs as the model, and every key of
// the model found with all its values.
void expect_same(int handle, const std::multimap<Key, int32_t>& model) {
  Pairs got = contents(handle);
  ASSERT_TRUE(std::is_sorted(got.begin(), got.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; }));
  Pairs want(model.begin(), model.end());
  std::sort(got.begin(), got.end());
  std::sort(want.begin(), want.end());
  ASSERT_EQ(got, want);
  for (auto it = model.begin(); it != model.end(); it = model.upper_bound(it->first)) {
    cx::CursorIndice c;
    const int32_t first = cx::indice_busque(handle, it->first.data(), &c);
    std::multiset<int32_t> values{first}, expected;
    for (auto [a, b] = model.equal_range(it->first); a != b; ++a) expected.insert(a->second);
    Key k;
    int32_t v;
    while (cx::indice_siguiente(handle, &c, k.data(), &v) && k == it->first) values.insert(v);
    ASSERT_EQ(values, expected);
  }
}

TEST(TopologyIndex, AgreesWithAMultimapUnderRandomInsertsAndRemovals) {
  TempBase base;
  RecordingSink sink;
  cx::CursorIndice cursor;
  const cx::ArchivoAbierto index(cx::indice_abra("TEST.INX", &cursor));
  ASSERT_TRUE(index.abierto());
  std::multimap<Key, int32_t> model;
  std::mt19937 rng(19);
  // Few distinct keys: long runs of equal keys cross page boundaries.
  std::uniform_int_distribution<uint32_t> pick(0, 3000);
  for (int op = 1; op <= 100000; ++op) {
    const bool remove = !model.empty() && rng() % 100 < (op < 60000 ? 30 : 60);
    if (remove) {
      auto it = model.begin();
      std::advance(it, rng() % std::min<std::size_t>(model.size(), 64));
      if (rng() % 2) it = model.lower_bound(key_of(pick(rng)));
      if (it == model.end()) continue;
      ASSERT_EQ(cx::indice_borre(index.get(), it->first.data(), it->second), 0);
      model.erase(it);
    } else {
      const Key k = key_of(pick(rng));
      const auto v = static_cast<int32_t>(rng() % 1000 + 1);
      ASSERT_EQ(cx::indice_inserte(index.get(), k.data(), v), 0);
      model.insert({k, v});
    }
    if (op % 1000 == 0) {
      SCOPED_TRACE(op);
      ASSERT_NO_FATAL_FAILURE(expect_same(index.get(), model));
    }
  }
  // A pair that is not there is not removed, even when its key is.
  const Key present = model.begin()->first;
  EXPECT_EQ(cx::indice_borre(index.get(), present.data(), -5), 1);
  EXPECT_EQ(cx::indice_borre(index.get(), key_of(999999).data(), 1), 1);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(TopologyIndex, KeysInOrderFillPagesAndTheThirtyFirstSplitsTheRoot) {
  TempBase base;
  const cx::ArchivoAbierto index(cx::indice_abra("SPLIT.INX", nullptr));
  for (uint32_t n = 1; n <= 30; ++n)
    ASSERT_EQ(cx::indice_inserte(index.get(), key_of(n).data(), n), 0);
  EXPECT_EQ(TempBase::size("SPLIT.INX"), 2u * cx::kPageSize);
  ASSERT_EQ(cx::indice_inserte(index.get(), key_of(31).data(), 31), 0);
  const auto bytes = TempBase::bytes("SPLIT.INX");
  ASSERT_EQ(bytes.size(), 4u * cx::kPageSize);
  const int root = bytes[395] | bytes[396] << 8;
  EXPECT_EQ(root, 3);
  const unsigned char* page = bytes.data() + root * cx::kPageSize;
  EXPECT_EQ(page[0], 1);    // inner
  EXPECT_EQ(page[511], 2);  // two keys: the greatest of each half
  EXPECT_EQ(std::memcmp(page + 1, key_of(30).data(), 13), 0);
  EXPECT_EQ(std::memcmp(page + 14, key_of(31).data(), 13), 0);
  EXPECT_EQ(contents(index.get()).size(), 31u);
}

TEST(TopologyIndex, ADamagedPageIsReportedNotFollowed) {
  TempBase base;
  RecordingSink sink;
  {
    const cx::ArchivoAbierto index(cx::indice_abra("BAD.INX", nullptr));
    for (uint32_t n = 1; n <= 40; ++n)
      ASSERT_EQ(cx::indice_inserte(index.get(), key_of(n).data(), n), 0);
  }
  auto bytes = TempBase::bytes("BAD.INX");
  bytes[1 * cx::kPageSize + 511] = 77;  // a key count no page can hold
  TempBase::write("BAD.INX", bytes);
  const cx::ArchivoAbierto index(cx::indice_abra("BAD.INX", nullptr));
  EXPECT_EQ(cx::indice_inserte(index.get(), key_of(5).data(), 5), -1);
  EXPECT_EQ(cx::indice_recorra(index.get(), [](const unsigned char*, int32_t) { return true; }),
            -1);
  ASSERT_FALSE(sink.messages.empty());
  EXPECT_EQ(sink.messages.back().text, "INDICE: pagina 1 danada en BAD.INX");
}

TEST(TopologyIndex, SpatialKeysOfTheEdges) {
  struct Case {
    double x, y;
    uint32_t cx, cy, dx, dy;
    double back_x, back_y;
  };
  const Case cases[] = {{2501.25, 0, 2500, 0, 12, 0, 2501.2, 0},
                        {-5, 7, 0, 0, 0, 70, 0, 7},
                        {4999.99, 12500, 2500, 12500, 24999, 0, 4999.9, 12500},
                        {1e12, -1e12, 2147482500, 0, 24999, 0, 2147484999.9, 0}};
  for (const Case& c : cases) {
    unsigned char k[13];
    cx::clave_espacial(c.x, c.y, 200, k);
    auto be = [&](int at, int n) {
      uint32_t v = 0;
      for (int i = 0; i < n; ++i) v = v << 8 | k[at + i];
      return v;
    };
    EXPECT_EQ(be(0, 4), c.cx) << c.x;
    EXPECT_EQ(be(4, 4), c.cy) << c.y;
    EXPECT_EQ(k[8], 200);
    EXPECT_EQ(be(9, 2), c.dx) << c.x;
    EXPECT_EQ(be(11, 2), c.dy) << c.y;
    double x, y;
    int layer;
    cx::decodifique_clave(k, &x, &y, &layer);
    EXPECT_DOUBLE_EQ(x, c.back_x);
    EXPECT_DOUBLE_EQ(y, c.back_y);
    EXPECT_EQ(layer, 200);
  }
}

struct Point {
  double x, y;    // where the point is
  double kx, ky;  // what its key keeps
  int32_t record;
};

// Every point indexed inside a window is a hit, and a hit's key square
// (a tenth of a unit wide) meets the window: over random, clustered and
// cell-edge points, and windows from a node search's few hundredths to
// many cells.
TEST(TopologyIndex, WindowQueriesAgreeWithAScanOfEveryPoint) {
  TempBase base;
  const cx::ArchivoAbierto index(cx::indice_abra("XY.INX", nullptr));
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-100, 40000);
  std::vector<Point> points;
  for (int32_t n = 1; n <= 6000; ++n) {
    Point p{coord(rng), coord(rng), 0, 0, n};
    if (n % 5 == 0) p = {points[rng() % points.size()].x, points[rng() % points.size()].y, 0, 0, n};
    if (n % 11 == 0) p.x = 2500.0 * (rng() % 16);
    if (n % 13 == 0) p.y = 2500.0 * (rng() % 16) - 0.05 * (rng() % 3);
    if (n % 7 == 0) p.x = std::floor(p.x) + 0.05;
    unsigned char k[13];
    cx::clave_espacial(p.x, p.y, static_cast<int>(rng() % 4), k);
    ASSERT_EQ(cx::indice_inserte(index.get(), k, n), 0);
    cx::decodifique_clave(k, &p.kx, &p.ky, nullptr);
    points.push_back(p);
  }
  for (int q = 0; q < 600; ++q) {
    double x1 = coord(rng), y1 = coord(rng), x2, y2;
    if (q % 4 == 3) {
      // A node search at a point: a window of twice the tolerance.
      const Point& at = points[rng() % points.size()];
      const double t = q % 8 == 3 ? 0.01 : 0.001 * (rng() % 200);
      x1 = at.x - t, y1 = at.y - t, x2 = at.x + t, y2 = at.y + t;
    } else {
      const double w = q % 4 == 0 ? 50 : q % 4 == 1 ? 2500 : 20000;
      x2 = x1 + w * (rng() % 100) / 100.0, y2 = y1 + w * (rng() % 100) / 100.0;
    }
    if (q % 17 == 0) x2 = x1 - 3;  // an empty extent
    cx::ConsultaEspacial query;
    cx::inicie_consulta(&query, x1, y1, x2, y2);
    std::set<int32_t> got;
    std::vector<std::array<unsigned char, 13>> order;
    unsigned char k[13];
    int32_t record;
    while (cx::siguiente_hit(index.get(), &query, k, &record) == 1) {
      ASSERT_TRUE(got.insert(record).second) << "query " << q << " delivers " << record << " twice";
      order.push_back({});
      std::memcpy(order.back().data(), k, 13);
    }
    const double cx1 = std::max(x1, 0.0), cy1 = std::max(y1, 0.0);
    const double cx2 = std::max(x2, 0.0) <= cx1 ? cx1 + 1 : std::max(x2, 0.0);
    const double cy2 = std::max(y2, 0.0) <= cy1 ? cy1 + 1 : std::max(y2, 0.0);
    for (const Point& p : points) {
      const double px = std::max(p.x, 0.0), py = std::max(p.y, 0.0);
      if (px >= cx1 && px <= cx2 && py >= cy1 && py <= cy2) {
        ASSERT_TRUE(got.count(p.record)) << "query " << q << " misses " << p.x << "," << p.y;
      }
      const bool meets = p.kx <= cx2 + 1e-6 && p.kx + 0.1 >= cx1 - 1e-6 && p.ky <= cy2 + 1e-6 &&
                         p.ky + 0.1 >= cy1 - 1e-6;
      if (!meets) {
        ASSERT_FALSE(got.count(p.record)) << "query " << q << " takes " << p.x << "," << p.y;
      }
    }
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  }
}

}  // namespace
