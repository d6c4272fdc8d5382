// build_arcs: junctions are the points whose two neighbours along a ring
// are not the same in every ring through them; rings are cut there and
// each piece is kept once, in the order of the lesser of its two
// directions, so that neighbours find the same arc.
#include "arcs.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace cartex {

namespace {

Ring clean(const Ring& ring) {
  Ring out;
  for (const Point& p : ring)
    if (out.empty() || !(out.back() == p)) out.push_back(p);
  while (out.size() > 1 && out.front() == out.back()) out.pop_back();
  return out;
}

struct Seen {
  std::pair<Point, Point> neighbours;
  bool junction = false;
};

std::pair<Point, Point> neighbour_pair(const Ring& r, std::size_t i) {
  const Point& a = r[(i + r.size() - 1) % r.size()];
  const Point& b = r[(i + 1) % r.size()];
  return a < b ? std::make_pair(a, b) : std::make_pair(b, a);
}

}  // namespace

ArcSet build_arcs(const std::vector<std::vector<Polygon>>& areas, std::size_t max_inner) {
  std::vector<std::vector<Ring>> rings(areas.size());
  std::map<Point, Seen> seen;
  for (std::size_t a = 0; a < areas.size(); ++a)
    for (const Polygon& polygon : areas[a])
      for (const Ring& raw : polygon) {
        Ring r = clean(raw);
        if (r.size() < 3) continue;
        for (std::size_t i = 0; i < r.size(); ++i) {
          const auto pair = neighbour_pair(r, i);
          auto [it, added] = seen.try_emplace(r[i], Seen{pair});
          if (!added && it->second.neighbours != pair) it->second.junction = true;
        }
        rings[a].push_back(std::move(r));
      }

  ArcSet out;
  out.areas.resize(areas.size());
  std::map<std::vector<Point>, std::vector<std::size_t>> pieces_of;
  for (std::size_t a = 0; a < areas.size(); ++a) {
    std::map<std::size_t, int> uses;
    for (Ring& r : rings[a]) {
      std::vector<std::size_t> cuts;
      for (std::size_t i = 0; i < r.size(); ++i)
        if (seen[r[i]].junction) cuts.push_back(i);
      if (cuts.empty())
        cuts.push_back(static_cast<std::size_t>(std::min_element(r.begin(), r.end()) - r.begin()));
      for (std::size_t c = 0; c < cuts.size(); ++c) {
        const std::size_t from = cuts[c];
        const std::size_t to = c + 1 < cuts.size() ? cuts[c + 1] : cuts[0] + r.size();
        std::vector<Point> arc;
        for (std::size_t i = from; i <= to; ++i) arc.push_back(r[i % r.size()]);
        std::vector<Point> back(arc.rbegin(), arc.rend());
        if (back < arc) arc.swap(back);
        auto [it, added] = pieces_of.try_emplace(arc);
        if (added) {
          for (std::size_t start = 0; start + 1 < arc.size();) {
            const std::size_t end = std::min(arc.size() - 1, start + max_inner + 1);
            it->second.push_back(out.arcs.size());
            out.arcs.emplace_back(arc.begin() + static_cast<std::ptrdiff_t>(start),
                                  arc.begin() + static_cast<std::ptrdiff_t>(end) + 1);
            start = end;
          }
        }
        for (std::size_t piece : it->second) ++uses[piece];
      }
    }
    for (const auto& [piece, times] : uses)
      if (times % 2 == 1) out.areas[a].push_back(piece);
  }
  // Arcs no area keeps (inner edges of one area) are dropped.
  std::vector<std::size_t> renumber(out.arcs.size(), out.arcs.size());
  for (const auto& arcs : out.areas)
    for (std::size_t arc : arcs) renumber[arc] = 0;
  std::vector<std::vector<Point>> kept;
  for (std::size_t i = 0; i < out.arcs.size(); ++i)
    if (renumber[i] == 0) {
      renumber[i] = kept.size();
      kept.push_back(std::move(out.arcs[i]));
    }
  out.arcs = std::move(kept);
  for (auto& arcs : out.areas)
    for (std::size_t& arc : arcs) arc = renumber[arc];
  return out;
}

std::vector<Ring> rings_from_arcs(const std::vector<std::vector<Point>>& arcs, bool* closed) {
  std::multimap<Point, std::size_t> at;  // arc ends
  for (std::size_t i = 0; i < arcs.size(); ++i) {
    at.insert({arcs[i].front(), i});
    at.insert({arcs[i].back(), i});
  }
  std::vector<bool> used(arcs.size(), false);
  std::vector<Ring> rings;
  *closed = true;
  for (std::size_t first = 0; first < arcs.size(); ++first) {
    if (used[first]) continue;
    // The walk so far, ending at the current node, and where each node
    // it passed lies in it.
    Ring path{arcs[first].front()};
    std::map<Point, std::size_t> where{{path[0], 0}};
    std::size_t next = first;
    while (next != arcs.size()) {
      used[next] = true;
      std::vector<Point> run = arcs[next];
      if (!(run.front() == path.back())) std::reverse(run.begin(), run.end());
      path.insert(path.end(), run.begin() + 1, run.end());
      if (auto loop = where.find(path.back()); loop != where.end()) {
        const auto k = static_cast<std::ptrdiff_t>(loop->second);
        rings.emplace_back(path.begin() + k, path.end() - 1);
        for (auto p = path.begin() + k + 1; p != path.end() - 1; ++p) where.erase(*p);
        path.resize(loop->second + 1);
      } else {
        where[path.back()] = path.size() - 1;
      }
      next = arcs.size();
      for (auto [it, end] = at.equal_range(path.back()); it != end; ++it)
        if (!used[it->second]) {
          next = it->second;
          break;
        }
    }
    if (path.size() > 1) {
      *closed = false;
      rings.push_back(path);
    }
  }
  return rings;
}

double signed_area2(const Ring& r) {
  double sum = 0;
  for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
    sum += (r[j].x - r[i].x) * (r[j].y + r[i].y);
  return sum;
}

namespace {

bool inside(const Ring& r, const Point& p) {
  bool in = false;
  for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
    if ((r[i].y > p.y) != (r[j].y > p.y) &&
        p.x < r[i].x + (p.y - r[i].y) / (r[j].y - r[i].y) * (r[j].x - r[i].x))
      in = !in;
  return in;
}

// Whether ring a lies inside ring b: most of a's points that are not on b.
bool ring_inside(const Ring& a, const Ring& b) {
  int in = 0, out = 0;
  for (const Point& p : a) {
    if (std::find(b.begin(), b.end(), p) != b.end()) continue;
    (inside(b, p) ? in : out) += 1;
    if (in + out >= 7) break;
  }
  return in > out;
}

}  // namespace

std::vector<Polygon> polygons_from_rings(std::vector<Ring> rings) {
  const std::size_t n = rings.size();
  std::vector<double> size(n);
  for (std::size_t i = 0; i < n; ++i) size[i] = std::fabs(signed_area2(rings[i]));
  std::vector<std::vector<bool>> holds(n, std::vector<bool>(n, false));
  std::vector<int> depth(n, 0);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j)
      if (i != j && size[j] > size[i] && ring_inside(rings[i], rings[j])) {
        holds[j][i] = true;
        ++depth[i];
      }
  std::vector<Polygon> polygons;
  std::vector<std::size_t> polygon_of(n, n);
  for (std::size_t i = 0; i < n; ++i)
    if (depth[i] % 2 == 0) {
      polygon_of[i] = polygons.size();
      polygons.push_back({rings[i]});
    }
  for (std::size_t i = 0; i < n; ++i) {
    if (depth[i] % 2 == 0) continue;
    std::size_t best = n;
    for (std::size_t j = 0; j < n; ++j)
      if (holds[j][i] && depth[j] == depth[i] - 1 && (best == n || size[j] < size[best])) best = j;
    if (best == n) continue;
    polygons[polygon_of[best]].push_back(rings[i]);
  }
  return polygons;
}

}  // namespace cartex
