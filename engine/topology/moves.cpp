// Reshaping and moving: regrabe_arco gives an arc new intermediate points,
// resitue_t01 moves and turns a T0 object with its index entry.
#include <cmath>
#include <cstring>

#include "frame/messages.h"
#include "records/blocks.h"
#include "records/edit_lock.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/btree.h"
#include "topology/descriptions.h"
#include "topology/drawers.h"
#include "topology/edit_records.h"
#include "topology/edit_support.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"
#include "topology/writers.h"

namespace cx {

namespace {

constexpr double kTenthsPerRadian = 572.9577951308232;

}  // namespace

}  // namespace cx

CX_EXPORT(int16_t) regrabe_arco(int32_t e, const double* x, const double* y, int16_t n) {
  using namespace cx;
  const Red* network = red(sesion().current_network);
  const int16_t* r = network ? network->handles : nullptr;
  cx_arc arc{};
  if (!r || r[kRedArcs] < 0 || !lea_arco(r, e, &arc)) {
    avise_error("No se encontr\xf3 ARCO.. ");
    return 0;
  }
  // Two points (or fewer) leave the arc straight; more points than one
  // block holds are refused and the old points kept.
  const bool straight = n < 3;
  if (!straight &&
      (unidades_bloque(0, n - 2, "regrabe_arco") < 0 || punteros_nulos("regrabe_arco", {x, y})))
    return 0;
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("ERROR bloqueando arco");
    return 0;
  }
  int32_t offset = 0;
  if (!straight) {
    offset = pida_bloque(r[5], n - 2);
    if (offset < 0 || grabe_puntos(r[5], offset, x + 1, y + 1, n - 2) != 0) return 0;
  }
  arc.block = offset;
  arc.count = straight ? 0 : static_cast<int16_t>(n - 2);
  escriba_arco(r, e, arc);
  return 0;
}

CX_EXPORT(int16_t) resitue_t01(int32_t record, double x, double y, double angle) {
  using namespace cx;
  const ArchivosT0& t0 = archivos_t0();
  unsigned char disk[kObjectSize];
  if (t0.objetos < 0 || t0.cuadt0 < 0 || record < 1 ||
      record > ultimo_registro(t0.objetos, kObjectSize) ||
      lea_registro(t0.objetos, disk, record, kObjectSize) != 0) {
    informe_error("resitue_t01: OBJETO %ld NO EXISTE", static_cast<long>(record));
    return -1;
  }
  cx_object object{};
  desempaque(disk, &object);
  const cx_kind* kind = registro_tipo(object.kind, "resitue_t01");
  if (!kind) return -1;
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("Error de Bloqueo.T0");
    return -1;
  }
  unsigned char old_key[kKeySize], new_key[kKeySize];
  clave_espacial(object.x, object.y, kind->layer, old_key);
  if (!hay_entrada(t0.cuadt0, old_key, record)) {
    avise_error("Error en indice espacial..T0");
    return -1;
  }
  dibuje_t0(record, 0);
  object.x = x;
  object.y = y;
  // Tenths of a degree, to the nearest: a right angle is 900.
  object.rotation = static_cast<int16_t>(
      kind->geometry == 7 ? std::trunc(angle) : std::lround(angle * kTenthsPerRadian));
  clave_espacial(x, y, kind->layer, new_key);
  empaque(object, disk);
  if (!reindexe(t0.cuadt0, old_key, new_key, record) ||
      escriba_registro(t0.objetos, disk, record, kObjectSize) != 0)
    return -1;
  dibuje_t0(record, kKindColour);
  return 0;
}
