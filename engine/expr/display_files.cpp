// Display files (".des"): the work polygon, the view window and the work
// extents alone (guardespl, carguedespl). A file is read whole and checked
// before the session changes.
#include <string>
#include <vector>

#include "cartex32.h"
#include "expr/query_text.h"
#include "frame/messages.h"
#include "platform/files.h"
#include "session/session.h"

CX_EXPORT(void) guardespl(const char* name) {
  using namespace cx;
  const Sesion& s = sesion();
  const int16_t mode = s.settings[kWorkMode];
  if ((mode != 1 && mode != 4) || s.work.count <= 0) {
    avise_error("No hay Area..");
    return;
  }
  const bool saved = name && *name && guarde_texto(name, [&](std::FILE* f) {
                       std::fprintf(f, "%d\n", static_cast<int>(s.work.count));
                       for (int32_t i = 0; i < s.work.count; ++i) {
                         std::fprintf(f, "%f,%f\n", s.work.x[i], s.work.y[i]);
                       }
                       const Ventana& w = s.window;
                       std::fprintf(f, "%lf,%lf,%lf,%lf\n", w.xmin, w.ymin, w.xmax, w.ymax);
                       const Ventana& e = s.work_extents;
                       std::fprintf(f, "%lf,%lf,%lf,%lf\n", e.xmin, e.ymin, e.xmax, e.ymax);
                       return true;
                     });
  if (!saved) avise_error("Error en archivo..");
}

CX_EXPORT(void) carguedespl(const char* name) {
  using namespace cx;
  if (!name) return;
  std::string opened;
  const ArchivoTexto f = abra_texto(name, ".des", &opened);
  if (!f) {
    informe_error("No existe despliegue %s", name);
    return;
  }
  LectorTexto in(f.get());
  long count = 0;
  std::vector<double> x, y;
  double view[4], extents[4];
  bool ok = in.enteros(&count, 1, 1, INT16_MAX);
  for (long i = 0; ok && i < count; ++i) {
    float xy[2];
    ok = in.flotantes(xy, 2);
    x.push_back(xy[0]);
    y.push_back(xy[1]);
  }
  ok = ok && in.dobles(view, 4) && in.dobles(extents, 4);
  std::string after;
  if (!ok || in.linea(&after) || !after.empty()) {
    informe_error(
        "Despliegue %s da\xf1"
        "ado en la linea %d",
        opened.c_str(), in.numero());
    return;
  }
  set_workpol(static_cast<int16_t>(count), x.data(), y.data());
  aplique_ventana(view[0], view[1], view[2], view[3]);
  sesion().work_extents = {extents[0], extents[1], extents[2], extents[3]};
}
