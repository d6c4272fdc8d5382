// Preparing the network for a new digitized line: verifique_topologia
// splits the arcs near the line at the vertices where the line starts or
// stops running along them, so that the line's own nodes meet the network
// there, and widens parameter 8 to the line's extent.
#include <algorithm>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "frame/messages.h"
#include "session/session.h"
#include "topology/btree.h"
#include "topology/descriptions.h"
#include "topology/drawers.h"
#include "topology/edit_records.h"
#include "topology/network_edits.h"
#include "topology/network_lists.h"
#include "topology/spatial.h"

namespace cx {

namespace {

struct Caja {
  double xmin, ymin, xmax, ymax;
};

Caja box(const double* x, const double* y, std::size_t n) {
  Caja b{x[0], y[0], x[0], y[0]};
  for (std::size_t i = 1; i < n; ++i) {
    b.xmin = std::min(b.xmin, x[i]);
    b.ymin = std::min(b.ymin, y[i]);
    b.xmax = std::max(b.xmax, x[i]);
    b.ymax = std::max(b.ymax, y[i]);
  }
  return b;
}

bool overlap(const Caja& a, const Caja& b) {
  return a.xmin <= b.xmax && b.xmin <= a.xmax && a.ymin <= b.ymax && b.ymin <= a.ymax;
}

// The arc vertices where a run of line vertices equal to consecutive arc
// points (either way along the arc) begins or ends, interior ones only,
// last first.
std::vector<std::size_t> run_ends(const double* lx, const double* ly, std::size_t m,
                                  const std::vector<double>& ax, const std::vector<double>& ay) {
  std::set<std::pair<long, long>> same;
  for (std::size_t i = 0; i < m; ++i)
    for (std::size_t j = 0; j < ax.size(); ++j)
      if (lx[i] == ax[j] && ly[i] == ay[j])
        same.insert({static_cast<long>(i), static_cast<long>(j)});
  const auto has = [&](long i, long j) { return same.count({i, j}) != 0; };
  std::set<std::size_t, std::greater<>> ends;
  for (const auto& [i, j] : same) {
    bool alone = true;
    for (long d : {1L, -1L}) {
      if (has(i - 1, j - d)) alone = false;
      if (!has(i + 1, j + d)) continue;
      alone = false;
      if (has(i - 1, j - d)) continue;  // not where the run begins
      long k = 1;
      while (has(i + k + 1, j + d * (k + 1))) ++k;
      ends.insert(static_cast<std::size_t>(j));
      ends.insert(static_cast<std::size_t>(j + d * k));
    }
    if (alone) ends.insert(static_cast<std::size_t>(j));
  }
  std::vector<std::size_t> out;
  for (std::size_t j : ends)
    if (j > 0 && j + 1 < ax.size()) out.push_back(j);
  return out;
}

}  // namespace

}  // namespace cx

CX_EXPORT(int16_t) verifique_topologia(int16_t count, const double* x, const double* y) {
  using namespace cx;
  if (count < 1 || punteros_nulos("verifique_topologia", {x, y})) return 0;
  std::size_t m = static_cast<std::size_t>(count);
  if (m > 1 && x[m - 1] == x[0] && y[m - 1] == y[0]) --m;
  const Caja line = box(x, y, m);
  Sesion& s = sesion();
  const int16_t* red = red_actual();
  if (red && count >= 3) {
    const double margin = 2 * s.params[8];
    ConsultaEspacial q;
    inicie_consulta(&q, line.xmin - margin, line.ymin - margin, line.xmax + margin,
                    line.ymax + margin);
    unsigned char key[kKeySize];
    int32_t record = 0;
    std::set<int32_t> arcs;
    while (siguiente_hit(red[kRedNodeXY], &q, key, &record) == 1)
      for (int32_t e : arcos_de_nodo(red, record)) arcs.insert(e);
    std::vector<double> ax, ay;
    for (int32_t e : arcs) {
      cx_arc arc{};
      if (!lea_arco(red, e, &arc) || !puntos_de_arco(red, arc, &ax, &ay) || ax.size() <= 2 ||
          !overlap(line, box(ax.data(), ay.data(), ax.size())))
        continue;
      // Last vertex first: the arc keeps the part before each split.
      for (std::size_t j : run_ends(x, y, m, ax, ay))
        if (parta_en_vertice(red, e, j) == 0) break;
    }
  }
  s.params[8] = std::max({s.params[8], line.xmax - line.xmin, line.ymax - line.ymin});
  return 0;
}
