// The arcs cartex builds from polygons, against a model: random maps of
// grid cells, each cell a square polygon of its area. Inside one area the
// edges between its cells cancel, so the arcs must be exactly the unit
// edges between cells of different areas, each stored once, and the rings
// rebuilt from an area's arcs must hold exactly its cells (even-odd at the
// cell centres) with the cells' total area; diagonal touches, holes and
// islands come up on their own.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <set>

#include "arcs.h"

namespace {

using cartex::Point;
using cartex::Polygon;
using cartex::Ring;

bool inside(const std::vector<Polygon>& polygons, const Point& p) {
  bool in = false;
  for (const Polygon& polygon : polygons)
    for (const Ring& r : polygon)
      for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
        if ((r[i].y > p.y) != (r[j].y > p.y) &&
            p.x < r[i].x + (p.y - r[i].y) / (r[j].y - r[i].y) * (r[j].x - r[i].x))
          in = !in;
  return in;
}

TEST(CartexTopology, ArcsOfRandomCellMapsAreTheBordersAndGiveTheCellsBack) {
  std::mt19937 random(27);
  for (int round = 0; round < 60; ++round) {
    const int w = 2 + static_cast<int>(random() % 9), h = 2 + static_cast<int>(random() % 9);
    const int areas = 1 + static_cast<int>(random() % 4);
    // -1: no area (the sea); cells of one area need not touch.
    std::vector<std::vector<int>> cell(static_cast<std::size_t>(w), std::vector<int>(h));
    for (auto& column : cell)
      for (int& c : column) c = static_cast<int>(random() % (areas + 1)) - 1;
    auto at = [&](int x, int y) { return x < 0 || y < 0 || x >= w || y >= h ? -1 : cell[x][y]; };
    std::vector<std::vector<Polygon>> input(static_cast<std::size_t>(areas));
    for (int x = 0; x < w; ++x)
      for (int y = 0; y < h; ++y)
        if (cell[x][y] >= 0) {
          const double X = x, Y = y;
          // Half the squares run clockwise: the builder must not care.
          Ring square{{X, Y}, {X + 1, Y}, {X + 1, Y + 1}, {X, Y + 1}};
          if ((x + y) % 2) std::reverse(square.begin(), square.end());
          input[static_cast<std::size_t>(cell[x][y])].push_back({square});
        }
    const std::size_t max_inner = 1 + random() % 3;
    const cartex::ArcSet built = cartex::build_arcs(input, max_inner);

    // The border edges of the model, and those of the arcs.
    std::set<std::pair<Point, Point>> want, got;
    auto edge = [](Point a, Point b) {
      return a < b ? std::make_pair(a, b) : std::make_pair(b, a);
    };
    for (int x = -1; x < w; ++x)
      for (int y = -1; y < h; ++y) {
        const double X = x + 1, Y = y + 1;
        if (y >= 0 && at(x, y) != at(x + 1, y)) want.insert(edge({X, Y - 1}, {X, Y}));
        if (x >= 0 && at(x, y) != at(x, y + 1)) want.insert(edge({X - 1, Y}, {X, Y}));
      }
    std::map<std::size_t, int> bounding;
    for (const auto& arc : built.arcs) {
      ASSERT_GE(arc.size(), 2u);
      EXPECT_LE(arc.size(), max_inner + 2);
      for (std::size_t i = 0; i + 1 < arc.size(); ++i)
        EXPECT_TRUE(got.insert(edge(arc[i], arc[i + 1])).second) << "an edge stored twice";
    }
    EXPECT_EQ(got, want) << "round " << round;

    for (int a = 0; a < areas; ++a) {
      std::vector<std::vector<Point>> arcs;
      for (std::size_t i : built.areas[static_cast<std::size_t>(a)]) {
        arcs.push_back(built.arcs[i]);
        ++bounding[i];
      }
      bool closed = false;
      const auto polygons = cartex::polygons_from_rings(cartex::rings_from_arcs(arcs, &closed));
      EXPECT_TRUE(closed);
      double area2 = 0;
      int cells = 0;
      for (const Polygon& p : polygons)
        for (const Ring& r : p)
          area2 += std::fabs(cartex::signed_area2(r)) * (&r == &p[0] ? 1 : -1);
      for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
          cells += cell[x][y] == a;
          EXPECT_EQ(inside(polygons, {x + 0.5, y + 0.5}), cell[x][y] == a)
              << "round " << round << ", area " << a << ", cell " << x << "," << y;
        }
      EXPECT_EQ(area2, 2.0 * cells) << "round " << round << ", area " << a;
    }
    for (const auto& [arc, areas_of_arc] : bounding) EXPECT_LE(areas_of_arc, 2);
  }
}

}  // namespace
