// The T0/T1 files and the network table.
#include "topology/topology_files.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "cartex32.h"
#include "frame/messages.h"
#include "platform/files.h"
#include "records/blocks.h"
#include "records/record_file.h"
#include "session/session.h"
#include "topology/btree.h"

namespace cx {

namespace {

ArchivosT0 t0;
std::vector<Red> networks;

// Opens path; when it is missing creates it with make() and opens again.
template <typename Make>
int open_or_create(const std::string& path, Make make) {
  int h = abra_compartido(path.c_str());
  if (h >= 0) return h;
  make(path.c_str());
  return abra_compartido(path.c_str());
}

int open_or_create_records(const std::string& path, int size) {
  return open_or_create(path, [size](const char* p) {
    int16_t unused;
    crear_archivo(&unused, p, size);
  });
}

struct NetworkFile {
  const char* name;
  int slot;  // position in Red::handles
  int size;  // record size; 0 for the block file
  bool area_only;
};

// The opening order; slots follow the order hosts see.
constexpr NetworkFile kNetworkFiles[] = {
    {"nodo.dat", 0, 46, false}, {"arco.dat", 1, 41, false},  {"list.dat", 4, 16, false},
    {"coo.dat", 5, 0, false},   {"xyt2.inx", 2, 512, false}, {"nodo.inx", 3, 512, false},
    {"objs.dat", 6, 48, true},  {"desc.dat", 8, 18, true},   {"xyt3.inx", 7, 512, true}};

std::string upper4(const char* prefix) {
  std::string p;
  for (int i = 0; prefix && prefix[i] && i < 4; ++i)
    p.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(prefix[i]))));
  return p;
}

}  // namespace

ArchivosT0& archivos_t0() {
  return t0;
}

int16_t abra_t0() {
  cierre_t0();
  t0.objetos = abra_compartido("OBJETOS.DAT");
  t0.coorden = abra_compartido("COORDEN.DAT");
  t0.areas = abra_compartido("AREAS.DAT");
  if (t0.objetos >= 0 && t0.coorden >= 0 && t0.areas >= 0) {
    t0.cuadt0 = indice_abra("CUADT0.INX", nullptr);
    t0.zonast3 = indice_abra("ZONAST3.INX", nullptr);
  }
  if (t0.objetos < 0 || t0.coorden < 0 || t0.areas < 0 || t0.cuadt0 < 0 || t0.zonast3 < 0) {
    cierre_t0();
    informe_error("  ERROR : NO encuentra la base geografica..");
    return 0;
  }
  return 1;
}

void cierre_t0() {
  for (int* h : {&t0.objetos, &t0.coorden, &t0.areas, &t0.cuadt0, &t0.zonast3}) {
    cierre_archivo(*h);
    *h = -1;
  }
}

int numero_redes() {
  return static_cast<int>(networks.size());
}

Red* red(int n) {
  return (n >= 1 && n <= numero_redes()) ? &networks[n - 1] : nullptr;
}

int registre_red(const char* prefix, int kind) {
  const std::string key = upper4(prefix);
  if (key.empty()) return 0;
  for (int n = 1; n <= numero_redes(); ++n)
    if (upper4(networks[n - 1].prefix.c_str()) == key) return n;
  if (numero_redes() >= kMaxRedes) return 0;
  Red r;
  for (int i = 0; prefix[i] && i < kPrefijoRed; ++i)
    r.prefix.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(prefix[i]))));
  for (int16_t& h : r.handles) h = -1;
  r.handles[9] = static_cast<int16_t>(kind);
  r.handles[10] = 0;
  networks.push_back(r);
  const int n = numero_redes();
  reabra(n);
  cierred(n);
  return n;
}

int16_t reabra(int n) {
  Red* r = red(n);
  if (!r) return -1;
  int16_t result = 0;
  const bool area_network = r->handles[9] == 3;
  for (const NetworkFile& f : kNetworkFiles) {
    if (f.area_only && !area_network) continue;
    const std::string path = r->prefix + f.name;
    cierre_archivo(r->handles[f.slot]);
    const int h = f.size == kPageSize ? indice_abra(path.c_str(), nullptr)
                  : f.size            ? open_or_create_records(path, f.size)
                           : open_or_create(path, [](const char* p) { cree_bloques(p); });
    r->handles[f.slot] = static_cast<int16_t>(h);
    if (h < 0) {
      informe_error("Error abriendo arch. %s", path.c_str());
      result = -1;
    }
  }
  return result;
}

int16_t reabra_en_su_lugar(int n) {
  Red* r = red(n);
  if (!r) return -1;
  int16_t result = 0;
  for (const NetworkFile& f : kNetworkFiles) {
    int16_t& h = r->handles[f.slot];
    if (h < 0) continue;
    const std::string path = r->prefix + f.name;
    h = static_cast<int16_t>(files().reopen(h, path.c_str()));
    if (h < 0) {
      informe_error("Error abriendo arch. %s", path.c_str());
      result = -1;
    }
  }
  return result;
}

void cierred(int n) {
  Red* r = red(n);
  if (!r) return;
  for (int slot = 0; slot < 9; ++slot) {
    cierre_archivo(r->handles[slot]);
    r->handles[slot] = -1;
  }
}

void olvide_redes() {
  for (int n = 1; n <= numero_redes(); ++n) cierred(n);
  networks.clear();
}

}  // namespace cx

CX_EXPORT(int16_t) abra_t0(int32_t) {
  return cx::abra_t0();
}

CX_EXPORT(int16_t) cierre_t0(int32_t) {
  cx::cierre_t0();
  return 0;
}

CX_EXPORT(void) reabra(int16_t network, int32_t) {
  if (!cx::red(network)) {
    cx::informe_error("reabra: RED %d NO EXISTE (hay %d redes)", network, cx::numero_redes());
    return;
  }
  cx::reabra(network);
}

CX_EXPORT(int16_t) cierred(int16_t network) {
  cx::cierred(network);
  return 0;
}

CX_EXPORT(void) get_red(int16_t* record, int16_t network, int16_t* count) {
  if (count) *count = static_cast<int16_t>(cx::numero_redes());
  const cx::Red* r = cx::red(network);
  if (!r) {
    cx::informe_error("get_red: RED %d NO EXISTE (hay %d redes)", network, cx::numero_redes());
    return;
  }
  if (record) std::memcpy(record, r->handles, sizeof r->handles);
  cx::sesion().current_network = network;
}

CX_EXPORT(int16_t) get_red_act(int32_t) {
  return static_cast<int16_t>(cx::sesion().current_network);
}
