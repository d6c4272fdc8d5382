// A small geographic base to work on: the layer and kind tables, the T0
// files and the lock file, written through the record layer into the
// current directory.
#pragma once

namespace cx {

// The layers of the sample base, by number.
enum SampleLayer { kCalles = 1, kRios = 2, kBarrios = 3, kTextos = 4 };
// Its object kinds, by number.
enum SampleKind { kArco = 1, kNodo = 2, kCalle = 3, kBarrio = 4, kRotulo = 5 };

// Writes TABCAP.DAT (4 layers: streets and labels in the T0 files, a river
// network "RIOS" of kind 2 and a district network "BARR" of kind 3),
// TABOBJ.DAT (5 kinds), empty OBJETOS.DAT, COORDEN.DAT and AREAS.DAT, and
// PERMISO.DAT. Returns 0, or -1 when a file could not be written (the
// record layer has reported it).
int escriba_base_ejemplo();

}  // namespace cx
