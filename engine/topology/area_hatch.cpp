// Hatching an area object of an area network: the rings of its description
// hatched together (achuraT3), so that the even-odd pairing of the hatch
// lines leaves its holes empty.
#include "topology/area_hatch.h"

#include <algorithm>

#include "cartex32.h"
#include "graphics/hatching.h"
#include "session/session.h"
#include "topology/descriptions.h"

namespace cx {

namespace {

bool misses_work_area(const AnillosDeArea& rings) {
  const Sesion& s = sesion();
  if (s.settings[kWorkMode] == 0) return false;
  double xmin = rings.x[0][0], xmax = xmin, ymin = rings.y[0][0], ymax = ymin;
  for (std::size_t r = 0; r < rings.x.size(); ++r)
    for (std::size_t i = 0; i < rings.x[r].size(); ++i) {
      xmin = std::min(xmin, rings.x[r][i]);
      xmax = std::max(xmax, rings.x[r][i]);
      ymin = std::min(ymin, rings.y[r][i]);
      ymax = std::max(ymax, rings.y[r][i]);
    }
  const Ventana& w = s.work_extents;
  return xmax < w.xmin || xmin > w.xmax || ymax < w.ymin || ymin > w.ymax;
}

}  // namespace

int16_t achure_area(const int16_t* red, int32_t first_desc, const char* caller) {
  if (first_desc == 0) return 0;
  AnillosDeArea rings;
  if (!anillos_de_area(red, first_desc, caller, &rings) || rings.x.empty()) return 0;
  if (misses_work_area(rings)) return 0;
  std::vector<Anillo> list;
  for (std::size_t r = 0; r < rings.x.size(); ++r)
    list.push_back({rings.x[r].data(), rings.y[r].data(), static_cast<int>(rings.x[r].size())});
  return achure(list.data(), static_cast<int>(list.size()));
}

}  // namespace cx

CX_EXPORT(int16_t) achuraT3(const cx_area_object* object) {
  if (cx::punteros_nulos("achuraT3", {object})) return 0;
  const int32_t first = object->first_desc;
  if (first == 0) return 0;
  const int16_t* red = cx::red_de_areas("achuraT3");
  return red ? cx::achure_area(red, first, "achuraT3") : 0;
}
