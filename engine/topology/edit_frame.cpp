// The frame of every edit: reopen, lock, work, reopen, release.
#include "records/record_file.h"
#include "session/session.h"
#include "topology/edit_support.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

int frames = 0;  // frames open now; the outermost one reopens

// Closes a file and opens its path again into the same slot: the handle
// number a host may have copied stays the same.
void reopen(int* handle, const char* path, bool index) {
  if (*handle < 0) return;
  cierre_archivo(*handle);
  *handle = index ? indice_abra(path, nullptr) : abra_compartido(path);
}

}  // namespace

void reabra_archivos_de_edicion() {
  const int n = sesion().current_network;
  const Red* network = red(n);
  if (network && network->handles[0] >= 0) reabra(n);
  ArchivosT0& t0 = archivos_t0();
  reopen(&t0.objetos, "OBJETOS.DAT", false);
  reopen(&t0.coorden, "COORDEN.DAT", false);
  reopen(&t0.areas, "AREAS.DAT", false);
  reopen(&t0.cuadt0, "CUADT0.INX", true);
  reopen(&t0.zonast3, "ZONAST3.INX", true);
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
