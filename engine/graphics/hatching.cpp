// Hatching by scan lines in the frame turned by the hatch angle: the
// crossings of every edge with every hatch line go into one sorted list per
// line, fed from large node blocks, and are paired into inside spans.
//
// Crossings are kept as floats relative to the rings' lowest turned x, so
// that ground coordinates of hundreds of kilometres keep their precision in
// four bytes. Only the lines that can meet the clip box are set up, so a
// polygon far larger than the view costs no more than the view.
#include "graphics/hatching.h"

#include <algorithm>
#include <cmath>

#include "cartex32.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "graphics/drawing.h"
#include "graphics/geometry.h"
#include "graphics/graphics_state.h"

namespace cx {

namespace {

struct Nodo {
  float x;
  int32_t next;  // node number, 0: end of the list
};

// The crossing lists of one call: node n (from 1) is entry (n - 1) % 8122
// of block (n - 1) / 8122.
class Cruces {
 public:
  explicit Cruces(int32_t lines)
      : heads_(asigne_arreglo<int32_t>(static_cast<std::size_t>(lines))) {}
  bool ready() const { return heads_ != nullptr; }
  int32_t head(int32_t line) const { return heads_[line]; }
  const Nodo& node(int32_t n) const {
    return blocks_[(n - 1) / kNodosPorBloque][(n - 1) % kNodosPorBloque];
  }

  // Inserts x before the first larger crossing of the line; false after the
  // message when no node can be had.
  bool insert(int32_t line, float x) {
    const int32_t n = new_node();
    if (n == 0) return false;
    Nodo& fresh = at(n);
    fresh.x = x;
    int32_t* link = &heads_[line];
    while (*link != 0 && at(*link).x <= x) link = &at(*link).next;
    fresh.next = *link;
    *link = n;
    return true;
  }

 private:
  Nodo& at(int32_t n) { return blocks_[(n - 1) / kNodosPorBloque][(n - 1) % kNodosPorBloque]; }

  int32_t new_node() {
    if (used_ == static_cast<int32_t>(blocks_.size()) * kNodosPorBloque) {
      if (blocks_.size() == kBloquesMaximos) {
        avise_error("ERROR achurado: mem");
        return 0;
      }
      Arreglo<Nodo> block = asigne_arreglo<Nodo>(kNodosPorBloque);
      if (!block) {
        avise_error("Error en malloc de SCAN_ARENA...");
        return 0;
      }
      blocks_.push_back(std::move(block));
    }
    return ++used_;
  }

  Arreglo<int32_t> heads_;
  std::vector<Arreglo<Nodo>> blocks_;
  int32_t used_ = 0;
};

struct Giro {
  double s, c;
};

Giro giro_actual() {
  const EstadoGrafico& g = estado_grafico();
  if (g.hatch_angle == 0) return {0, 1};
  return {g.hatch_sin, g.hatch_cos};
}

// The range of turned y that the device rectangle covers.
void rango_de_recorte(const int32_t* limits, Giro r, double* lo, double* hi) {
  const EstadoGrafico& g = estado_grafico();
  *lo = HUGE_VAL;
  *hi = -HUGE_VAL;
  for (int corner = 0; corner < 4; ++corner) {
    const double X = limits[corner & 1 ? 2 : 0], Y = limits[corner & 2 ? 3 : 1];
    const double x = (X - g.ox) / g.sx, y = (Y - g.oy) / g.sy;
    const double yr = r.c * y + r.s * x;
    *lo = std::min(*lo, yr);
    *hi = std::max(*hi, yr);
  }
}

}  // namespace

Achurado tramos_de_achurado(const Anillo* rings, int count, const int32_t* limits,
                            std::vector<TramoAchurado>* spans) {
  spans->clear();
  const EstadoGrafico& g = estado_grafico();
  const Giro r = giro_actual();
  const double spacing = std::max<int16_t>(g.hatch_step, 1) / std::fabs(g.sx);
  if (!(spacing > 0) || !std::isfinite(spacing) || g.sy == 0) return Achurado::fuera;
  double ymin = HUGE_VAL, ymax = -HUGE_VAL, xmin = HUGE_VAL;
  for (int k = 0; k < count; ++k)
    for (int i = 0; i < rings[k].n; ++i) {
      const double x = rings[k].x[i], y = rings[k].y[i];
      ymin = std::min(ymin, r.c * y + r.s * x);
      ymax = std::max(ymax, r.c * y + r.s * x);
      xmin = std::min(xmin, r.c * x - r.s * y);
    }
  if (!(ymin <= ymax) || !std::isfinite(ymax - ymin)) return Achurado::fuera;
  double first = 0, last = std::floor((ymax - ymin) / spacing);
  if (limits) {
    double lo, hi;
    rango_de_recorte(limits, r, &lo, &hi);
    first = std::max(first, std::floor((lo - ymin) / spacing) - 1);
    last = std::min(last, std::ceil((hi - ymin) / spacing) + 1);
  }
  if (first > last) return Achurado::hecho;
  // Beyond this many lines the heads alone would not fit in memory.
  if (last - first >= 1 << 26) return Achurado::fuera;
  const int32_t k0 = static_cast<int32_t>(first), lines = static_cast<int32_t>(last - first) + 1;
  Cruces cruces(lines);
  if (!cruces.ready()) return Achurado::fuera;
  const auto line_y = [&](int32_t k) { return ymin + k * spacing; };
  for (int ring = 0; ring < count; ++ring) {
    const Anillo& a = rings[ring];
    for (int i = 0; i < a.n; ++i) {
      const int j = i + 1 < a.n ? i + 1 : 0;
      const double xa = r.c * a.x[i] - r.s * a.y[i], ya = r.c * a.y[i] + r.s * a.x[i];
      const double xb = r.c * a.x[j] - r.s * a.y[j], yb = r.c * a.y[j] + r.s * a.x[j];
      if (ya == yb) continue;
      const double lo = std::min(ya, yb), hi = std::max(ya, yb);
      // The lines with lo <= y < hi, found from the estimate and settled
      // against the line positions themselves.
      const double estimate = std::ceil((lo - ymin) / spacing) - 1;
      int32_t k = static_cast<int32_t>(std::clamp(estimate, first, last + 1));
      while (k < k0 + lines && line_y(k) < lo) ++k;
      for (; k < k0 + lines && line_y(k) < hi; ++k) {
        const double x = xa + (line_y(k) - ya) * (xb - xa) / (yb - ya);
        if (!cruces.insert(k - k0, static_cast<float>(x - xmin))) {
          spans->clear();
          return Achurado::fallo;
        }
      }
    }
  }
  for (int32_t line = 0; line < lines; ++line)
    for (int32_t n = cruces.head(line); n != 0 && cruces.node(n).next != 0;) {
      const Nodo& a = cruces.node(n);
      const Nodo& b = cruces.node(a.next);
      spans->push_back({k0 + line, line_y(k0 + line), a.x + xmin, b.x + xmin});
      n = b.next;
    }
  return Achurado::hecho;
}

int16_t achure(const Anillo* rings, int count) {
  Device* d = dispositivo_actual();
  if (!d || count <= 0) return 0;
  double xmin = HUGE_VAL, xmax = -HUGE_VAL, ymin = HUGE_VAL, ymax = -HUGE_VAL;
  for (int k = 0; k < count; ++k)
    for (int i = 0; i < rings[k].n; ++i) {
      xmin = std::min(xmin, rings[k].x[i]);
      xmax = std::max(xmax, rings[k].x[i]);
      ymin = std::min(ymin, rings[k].y[i]);
      ymax = std::max(ymax, rings[k].y[i]);
    }
  if (!(xmin <= xmax && ymin <= ymax)) return 0;
  // The box against the clip box the device has, in device rows.
  const int32_t X1 = gxdev_de(xmin), X2 = gxdev_de(xmax);
  const int32_t Y1 = gydev_de(ymin), Y2 = gydev_de(ymax);
  const DeviceRect clip = d->clip_box();
  if (std::max(X1, X2) < clip.left || std::min(X1, X2) >= clip.right ||
      std::max(Y1, Y2) < clip.top || std::min(Y1, Y2) >= clip.bottom)
    return 0;
  const int32_t limits[4] = {clip.left, clip.top, clip.right, clip.bottom};
  std::vector<TramoAchurado> spans;
  const Achurado result = tramos_de_achurado(rings, count, limits, &spans);
  if (result == Achurado::fallo) return -1;
  if (result == Achurado::fuera) return 0;
  EstadoGrafico& g = estado_grafico();
  const int16_t line_type = g.line_type;
  gdlintip(1);
  const Giro r = giro_actual();
  for (const TramoAchurado& t : spans) {
    if (g.hatch_angle != 0) {
      double x1, y1, x2, y2;
      grota(t.x1, t.y, -r.s, r.c, &x1, &y1);
      grota(t.x2, t.y, -r.s, r.c, &x2, &y2);
      glinea(x1, y1, x2, y2);
    } else {
      const int32_t row = gydev_de(t.y);
      linea_dispositivo(gxdev_de(t.x1), row, gxdev_de(t.x2), row);
    }
  }
  gdlintip(line_type);
  return 1;
}

}  // namespace cx

using cx::estado_grafico;

CX_EXPORT(int16_t) gdachang(int16_t degrees) {
  cx::EstadoGrafico& g = estado_grafico();
  g.hatch_angle = degrees * 0.017453292519943295;
  g.hatch_sin = cx::seno_decimas(int32_t{degrees} * 10);
  g.hatch_cos = cx::coseno_decimas(int32_t{degrees} * 10);
  return degrees;
}

CX_EXPORT(int16_t) gdachpaso(int16_t step) {
  return estado_grafico().hatch_step = step < 1 ? int16_t{1} : step;
}

CX_EXPORT(int16_t) gachurado(int16_t count, double* xs, double* ys) {
  if (count < 2 || !xs || !ys) return 0;
  xs[count] = xs[0];
  ys[count] = ys[0];
  const cx::Anillo ring{xs, ys, count + 1};
  return cx::achure(&ring, 1);
}
