// Opening and closing the geometry files of a base: the T0/T1 files shared
// by layers of kinds 0 and 1, and the networks of layers of kinds 2 and 3,
// one per distinct file prefix.
#pragma once

#include <cstdint>
#include <string>

namespace cx {

struct ArchivosT0 {
  int objetos = -1, coorden = -1, areas = -1, cuadt0 = -1, zonast3 = -1;
};
ArchivosT0& archivos_t0();

// Opens OBJETOS.DAT, COORDEN.DAT and AREAS.DAT (which must exist) and opens
// or creates the indexes CUADT0.INX and ZONAST3.INX. 1 opened; 0 after
// "  ERROR : NO encuentra la base geografica.." with nothing left open.
int16_t abra_t0();
// Closes whichever of the five files are open.
void cierre_t0();

inline constexpr int kMaxRedes = 64;
inline constexpr int kPrefijoRed = 25;

// A registered network. The handles are in the order hosts see them:
// nodo.dat, arco.dat, xyt2.inx, nodo.inx, list.dat, coo.dat, objs.dat,
// xyt3.inx, desc.dat, then the kind and a spare value.
struct Red {
  std::string prefix;  // upper case
  int16_t handles[11];
};

int numero_redes();
// Network n (1-based); null outside 1..numero_redes().
Red* red(int n);

// The network of a layer prefix: the registered one whose prefix agrees on
// its first 4 characters, upper-cased, or a new one (count + 1) whose files
// are opened once, creating what is missing, and closed again. 0 when the
// prefix is empty or the table is full.
int registre_red(const char* prefix, int kind);

// Opens network n's files, creating missing ones; a file that still cannot
// be opened is reported ("Error abriendo arch. %s"). 0 opened, -1 failure.
int16_t reabra(int n);
// Reopens whichever of network n's files are open, each under the handle
// it had (a file that cannot be opened again is reported and marked -1).
// 0 done, -1 failure.
int16_t reabra_en_su_lugar(int n);
// Closes network n's files and marks the handles -1.
void cierred(int n);

// Forgets every registered network (closing their files).
void olvide_redes();

}  // namespace cx
