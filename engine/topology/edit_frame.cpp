// The frame of every edit: reopen, lock, work, reopen, release.
#include "frame/messages.h"
#include "platform/files.h"
#include "session/session.h"
#include "topology/edit_support.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

int frames = 0;  // frames open now; the outermost one reopens

// Closes a file and opens its path again under the same handle: the
// number a host may have copied stays good.
void reopen(int* handle, const char* path) {
  if (*handle < 0) return;
  *handle = files().reopen(*handle, path);
  if (*handle < 0) informe_error("Error abriendo arch. %s", path);
}

}  // namespace

void reabra_archivos_de_edicion() {
  const int n = sesion().current_network;
  const Red* network = red(n);
  if (network) reabra_en_su_lugar(n);
  ArchivosT0& t0 = archivos_t0();
  reopen(&t0.objetos, "OBJETOS.DAT");
  reopen(&t0.coorden, "COORDEN.DAT");
  reopen(&t0.areas, "AREAS.DAT");
  reopen(&t0.cuadt0, "CUADT0.INX");
  reopen(&t0.zonast3, "ZONAST3.INX");
}

bool CerrojoEdicion::enter() {
  if (frames == 0) reabra_archivos_de_edicion();
  if (bloquee_base() == 0) return false;
  ++frames;
  return true;
}

CerrojoEdicion::CerrojoEdicion() : taken(enter()) {}

CerrojoEdicion::~CerrojoEdicion() {
  if (!taken) return;
  if (--frames == 0) reabra_archivos_de_edicion();
  libere_base();
}

}  // namespace cx
