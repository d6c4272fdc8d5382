// The engine library as cartex sees it: libcartex32 loaded by name at run
// time (dlopen) and the exports the commands call bound by name, each with
// the type of its declaration in cartex32.h. Nothing here links the
// library; a missing export is a load failure, not a crash later.
#pragma once

#include <string>

#include "cartex32.h"

namespace cartex {

// The exports cartex uses, X(name) each.
#define CARTEX_ENGINE_EXPORTS(X) \
  X(cx_set_message_callback)     \
  X(cx_set_pump_callback)        \
  X(crear_BG)                    \
  X(inigks)                      \
  X(end_cons)                    \
  X(inifil)                      \
  X(set_consts)                  \
  X(get_consts)                  \
  X(get_tcapas)                  \
  X(get_tobjetos)                \
  X(get_red)                     \
  X(get_red_act)                 \
  X(set_capas)                   \
  X(set_objetos)                 \
  X(abra_t0)                     \
  X(cierre_t0)                   \
  X(sleer)                       \
  X(lea_bytes)                   \
  X(lea_coord)                   \
  X(sleer_obj)                   \
  X(sleer_nod)                   \
  X(sleer_arc)                   \
  X(sleer_top)                   \
  X(sleer_are)                   \
  X(xyinicie)                    \
  X(xynext)                      \
  X(xycalcxy)                    \
  X(grabe_t0)                    \
  X(grabe_t1)                    \
  X(grabe_nodo)                  \
  X(grabe_arco)                  \
  X(grabe_t3)                    \
  X(agregue_arco)                \
  X(existe_codigo)               \
  X(abra_atrs)                   \
  X(cierre_atrs)                 \
  X(lea_atribs)                  \
  X(index_dbf)                   \
  X(verify_dbase)                \
  X(evaluar)                     \
  X(crear_dispositivo)           \
  X(guardar_png)                 \
  X(liberar_dispositivo)         \
  X(gabrest)                     \
  X(ginicie)                     \
  X(gfinalice)                   \
  X(set_video)                   \
  X(gdrecorte)                   \
  X(get_video)                   \
  X(redespliegue)                \
  X(gdcolor)                     \
  X(gsetcolor)                   \
  X(gdachang)                    \
  X(gdachpaso)                   \
  X(achuraT3)                    \
  X(set_convens)                 \
  X(showconv)                    \
  X(vea_area)

struct Engine {
#define CARTEX_ENGINE_MEMBER(name) decltype(&::name) name = nullptr;
  CARTEX_ENGINE_EXPORTS(CARTEX_ENGINE_MEMBER)
#undef CARTEX_ENGINE_MEMBER
};

// Loads the library and binds every export above: $CARTEX32_LIBRARY when
// set, else libcartex32.so.0 where it is installed beside the program (the
// library folder of its prefix, ../lib, its own folder), else the system's
// search. Returns null, with the reason in
// *error, when the library or one of the exports cannot be had. The
// library stays loaded for the life of the process.
const Engine* load_engine(std::string* error);

}  // namespace cartex
