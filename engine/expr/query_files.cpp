// Stored thematic queries (".con"): guarde_stat writes the view, the layer
// and kind switches, the settings and parameters, the classes, formulas,
// titles and the work area; cargue_stat reads a file whole, checks every
// count against the table it fills, and only then applies it, so that a
// damaged file changes nothing. docs/formats/thematic.md gives the lines.
#include <algorithm>
#include <cstring>
#include <vector>

#include "cartex32.h"
#include "expr/query_text.h"
#include "expr/thematic.h"
#include "frame/messages.h"
#include "graphics/graphics_state.h"
#include "platform/files.h"
#include "session/session.h"

namespace cx {

namespace {

// The settings of the 27-value line in order: a code, or a value of its
// own (negative). 0 ends the line.
enum : int { kArcosTrabajo = -1, kGiroY = -2, kEstadoGrafico = -3, kCero = 0 };
constexpr int kLinea27[27] = {1,  12, 15,   2,      kArcosTrabajo,  3,  4,  5,  6,  7,  8,  9,
                              10, 11, 13,   kGiroY, kEstadoGrafico, 19, 14, 16, 17, 18, 20, 21,
                              22, 23, kCero};
// Read and not applied: the work-area mode, its arc count and point count
// come from the polygon section; the two graphics values are the kernel's.
bool applied(int position) {
  const int code = kLinea27[position];
  return code > 0 && code != kWorkMode && code != kWorkCount;
}

int16_t value_of(int code) {
  const Sesion& s = sesion();
  switch (code) {
    case kArcosTrabajo:
      return static_cast<int16_t>(s.work_arcs);
    case kGiroY:
      return estado_grafico().y_up;
    case kEstadoGrafico:
      return estado_grafico().state;
    case kCero:
      return 0;
    default:
      return s.settings[code];
  }
}

struct Consulta {
  double window[4];
  long layers = 0, kinds = 0, layer = 0, kind = 0;
  std::vector<long> layer_hidden;                  // by layer number, 0 unused
  std::vector<std::pair<long, long>> kind_switch;  // by kind number
  long settings[27] = {};
  double params[6], more[8], grid[5], previous[4], legend[4];
  int classes = 0;
  cx_legend_slot slots[kClases] = {};
  std::string formula, criterion;
  int titles = 0;
  Titulo title[kTitulos];
  std::vector<double> px, py;
  double extents[4], radius = 0, limits[4];
  long history = 0;
};

bool lea_consulta(LectorTexto& in, Consulta& q) {
  long v[6];
  if (!in.dobles(q.window, 4) || !in.enteros(v, 4, 0, kMaxKinds)) return false;
  q.layers = v[0];
  q.kinds = v[1];
  q.layer = v[2];
  q.kind = v[3];
  if (q.layers > kMaxLayers) return false;
  q.layer_hidden.assign(static_cast<std::size_t>(q.layers + 1), 0);
  for (long i = 0; i < q.layers; ++i)
    if (!in.enteros(&q.layer_hidden[static_cast<std::size_t>(i == 0 ? q.layers : i)], 1, 0, 255))
      return false;
  q.kind_switch.assign(static_cast<std::size_t>(q.kinds + 1), {0, 0});
  for (long i = 0; i < q.kinds; ++i) {
    if (!in.enteros(v, 2, 0, 255)) return false;
    q.kind_switch[static_cast<std::size_t>(i == 0 ? q.kinds : i)] = {v[0], v[1]};
  }
  if (!in.enteros(q.settings, 26, INT16_MIN, INT16_MAX, true) || !in.dobles(q.params, 6) ||
      !in.enteros(v, 1, 8, 8) || !in.dobles(q.more, 1))
    return false;
  for (int i = 1; i < 8; ++i)
    if (!in.dobles(&q.more[i], 1)) return false;
  if (!in.dobles(q.grid, 5) || !in.dobles(q.previous, 4) || !in.dobles(q.legend, 4) ||
      !in.enteros(v, 1, 0, kClases))
    return false;
  q.classes = static_cast<int>(v[0]);
  for (int i = 0; i < q.classes; ++i) {
    double limit;
    std::string line;
    cx_legend_slot& slot = q.slots[i];
    long a[5];
    std::string rest;
    if (!in.linea(&line)) return false;
    // "%lf,%d,%d,%d,%d,%d": the limit, then five 16-bit attributes.
    char* end = nullptr;
    limit = std::strtod(line.c_str(), &end);
    if (end == line.c_str() || *end != ',') return false;
    long* out = a;
    for (const char* p = end + 1; out < a + 5; ++out) {
      char* e = nullptr;
      *out = std::strtol(p, &e, 10);
      if (e == p || *out < INT16_MIN || *out > INT16_MAX || (out < a + 4 && *e != ',') ||
          (out == a + 4 && *e != '\0'))
        return false;
      p = e + 1;
    }
    slot.index = static_cast<int16_t>(i);
    slot.value = limit;
    slot.a = static_cast<int16_t>(a[0]);
    slot.b = static_cast<int16_t>(a[1]);
    slot.c = static_cast<int16_t>(a[2]);
    slot.d = static_cast<int16_t>(a[3]);
    slot.e = static_cast<int16_t>(a[4]);
    if (!in.texto("LY:", slot.label, sizeof slot.label)) return false;
  }
  if (!in.texto("FO:", &q.formula) || !in.texto("CR:", &q.criterion) ||
      !in.enteros(v, 1, 0, kTitulos))
    return false;
  q.titles = static_cast<int>(v[0]);
  for (int i = 0; i < q.titles; ++i) {
    Titulo& t = q.title[i];
    std::string line;
    if (!in.linea(&line)) return false;
    long a = 0, b = 0;
    char tail = 0;
    if (std::sscanf(line.c_str(), "%lf,%lf,%lf,%ld,%ld%c", &t.x, &t.y, &t.size, &a, &b, &tail) !=
            5 ||
        a < INT16_MIN || a > INT16_MAX || b < INT16_MIN || b > INT16_MAX)
      return false;
    t.a = static_cast<int16_t>(a);
    t.b = static_cast<int16_t>(b);
    if (!in.texto("TI:", t.text, sizeof t.text)) return false;
  }
  if (!in.enteros(v, 1, 0, INT16_MAX)) return false;
  for (long i = 0; i < v[0]; ++i) {
    float xy[2];
    if (!in.flotantes(xy, 2)) return false;
    q.px.push_back(xy[0]);
    q.py.push_back(xy[1]);
  }
  if (!in.dobles(q.extents, 4) || !in.dobles(&q.radius, 1) || !in.dobles(q.limits, 4) ||
      !in.enteros(&q.history, 1, 0, kHistory - 1))
    return false;
  std::string after;
  return !in.linea(&after) && after.empty();
}

void aplique(const Consulta& q) {
  Sesion& s = sesion();
  aplique_ventana(q.window[0], q.window[1], q.window[2], q.window[3]);
  for (long n = 1; n <= q.layers && n <= s.layer_count; ++n)
    s.layers[static_cast<std::size_t>(n)].hidden = static_cast<uint8_t>(q.layer_hidden[n]);
  for (long n = 1; n <= q.kinds && n <= s.kind_count; ++n) {
    s.kinds[static_cast<std::size_t>(n)].hidden = static_cast<uint8_t>(q.kind_switch[n].first);
    s.kinds[static_cast<std::size_t>(n)].no_code_label =
        static_cast<uint8_t>(q.kind_switch[n].second);
  }
  if (q.layer <= s.layer_count && q.layer != s.settings[kCurrentLayer])
    seleccione_capa(static_cast<int>(q.layer));
  if (q.kind <= s.kind_count) s.settings[kCurrentKind] = static_cast<int16_t>(q.kind);
  for (int i = 0; i < 26; ++i)
    if (applied(i)) s.settings[kLinea27[i]] = static_cast<int16_t>(q.settings[i]);
  for (int i = 0; i < 6; ++i) s.params[1 + i] = q.params[i];
  estado_grafico().base_size = q.params[0];
  s.params[7] = q.more[0];
  s.params[8] = q.more[1];
  s.params[9] = q.more[2];
  s.node_tolerance = q.more[3];
  const int p = static_cast<int>(q.history);
  s.history_pos = p;
  s.history[p] = {q.more[4], q.more[5], q.more[6], q.more[7]};
  s.history[(p + kHistory - 1) % kHistory] = {q.previous[0], q.previous[1], q.previous[2],
                                              q.previous[3]};
  std::copy(q.grid, q.grid + 5, s.grid);
  std::copy(q.legend, q.legend + 4, s.legend_xy);
  std::copy(q.slots, q.slots + q.classes, s.legend);
  set_formulas(q.formula.c_str(), q.criterion.c_str());
  std::copy(q.title, q.title + q.titles, estado_tematico().titles);

  // The work area: a polygon when the file has one, else the circle or
  // rectangle the saved mode names within the saved extents.
  const int16_t mode = static_cast<int16_t>(q.settings[3]);
  set_workpol(static_cast<int16_t>(q.px.size()), q.px.data(), q.py.data());
  if (q.px.empty()) s.settings[kWorkMode] = (mode == 2 || mode == 3) ? mode : 0;
  s.work_extents = {q.extents[0], q.extents[1], q.extents[2], q.extents[3]};
  if (s.settings[kWorkMode] == 2) {
    s.circle_r = q.radius;
    s.circle_x = (q.extents[0] + q.extents[2]) / 2;
    s.circle_y = (q.extents[1] + q.extents[3]) / 2;
  }
}

// The name with its extension (after the last dot of the last component)
// replaced by ".con".
std::string con_name(const char* name) {
  std::string out = name;
  const std::size_t slash = out.find_last_of("/\\");
  const std::size_t dot = out.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) out.resize(dot);
  return out + ".con";
}

bool escriba_consulta(std::FILE* f) {
  const Sesion& s = sesion();
  const Ventana& w = s.window;
  std::fprintf(f, "%lf,%lf,%lf,%lf\n", w.xmin, w.ymin, w.xmax, w.ymax);
  std::fprintf(f, "%ld,%ld,%d,%d\n", static_cast<long>(s.layer_count),
               static_cast<long>(s.kind_count), s.settings[kCurrentLayer],
               s.settings[kCurrentKind]);
  for (int32_t i = 0; i < s.layer_count; ++i)
    std::fprintf(f, "%d\n", s.layers[static_cast<std::size_t>(i == 0 ? s.layer_count : i)].hidden);
  for (int32_t i = 0; i < s.kind_count; ++i) {
    const cx_kind& k = s.kinds[static_cast<std::size_t>(i == 0 ? s.kind_count : i)];
    std::fprintf(f, "%d,%d\n", k.hidden, k.no_code_label);
  }
  for (int i = 0; i < 27; ++i) std::fprintf(f, i ? ",%d" : "%d", value_of(kLinea27[i]));
  std::fprintf(f, "\n%lf,%lf,%lf,%lf,%lf,%lf\n", s.params[1], s.params[2], s.params[3], s.params[4],
               s.params[5], s.params[6]);
  const Ventana& h = s.history[s.history_pos];
  const double more[8] = {s.params[7], s.params[8], s.params[9], s.node_tolerance,
                          h.xmin,      h.ymin,      h.xmax,      h.ymax};
  std::fprintf(f, "%d\n", 8);
  for (double d : more) std::fprintf(f, "%lf\n", d);
  std::fprintf(f, "%lf,%lf,%lf,%lf,%lf\n", s.grid[0], s.grid[1], s.grid[2], s.grid[3], s.grid[4]);
  const Ventana& p = s.history[(s.history_pos + kHistory - 1) % kHistory];
  std::fprintf(f, "%lf,%lf,%lf,%lf\n", p.xmin, p.ymin, p.xmax, p.ymax);
  const double* b = s.legend_xy;
  std::fprintf(f, "%lf,%lf,%lf,%lf\n", b[0], b[1], b[2], b[3]);
  std::fprintf(f, "%d\n", kClases);
  for (int i = 0; i < kClases; ++i) {
    const cx_legend_slot& c = s.legend[i];
    std::fprintf(f, "%lf,%d,%d,%d,%d,%d\nLY:%s\n", c.value, c.a, c.b, c.c, c.d, c.e,
                 una_linea(c.label, sizeof c.label - 1).c_str());
  }
  cx_formula_text formula, criterion;
  get_formulas(&formula, &criterion);
  std::fprintf(f, "FO:%s\n", una_linea(formula.text, sizeof formula.text).c_str());
  std::fprintf(f, "CR:%s\n", una_linea(criterion.text, sizeof criterion.text).c_str());
  std::fprintf(f, "%d\n", kTitulos);
  for (const Titulo& t : estado_tematico().titles)
    std::fprintf(f, "%lf,%lf,%lf,%d,%d\nTI:%s\n", t.x, t.y, t.size, t.a, t.b,
                 una_linea(t.text, sizeof t.text).c_str());
  const int16_t mode = s.settings[kWorkMode];
  const int32_t points = (mode == 1 || mode == 4) ? s.work.count : 0;
  std::fprintf(f, "%d\n", static_cast<int>(points));
  for (int32_t i = 0; i < points; ++i) std::fprintf(f, "%f,%f\n", s.work.x[i], s.work.y[i]);
  const Ventana& e = s.work_extents;
  std::fprintf(f, "%lf,%lf,%lf,%lf\n", e.xmin, e.ymin, e.xmax, e.ymax);
  std::fprintf(f, "%lf\n", mode == 2 ? s.circle_r : 0.0);
  const Ventana& l = s.limits.extents;
  std::fprintf(f, "%lf,%lf,%lf,%lf\n", l.xmin, l.ymin, l.xmax, l.ymax);
  std::fprintf(f, "%d", s.history_pos);
  return !std::ferror(f);
}

}  // namespace

}  // namespace cx

CX_EXPORT(void) guarde_stat(const char* name) {
  using namespace cx;
  if (!name || !*name) return;
  const std::string path = con_name(name);
  if (!guarde_texto(path, escriba_consulta)) avise_error("Error en archivo..");
}

CX_EXPORT(void) cargue_stat(const char* name) {
  using namespace cx;
  if (!name) return;
  std::string opened;
  const ArchivoTexto f = abra_texto(name, ".con", &opened);
  if (!f) {
    // The host has no way to read the message buffer: the failure is shown.
    informe_error("No existe consulta %s", name);
    return;
  }
  LectorTexto in(f.get());
  Consulta q;
  if (!lea_consulta(in, q)) {
    informe_error(
        "Consulta %s da\xf1"
        "ada en la linea %d",
        opened.c_str(), in.numero());
    return;
  }
  aplique(q);
}
