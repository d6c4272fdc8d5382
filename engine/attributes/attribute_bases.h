// Attribute bases of the object kinds. Each kind may name a base (the text
// at byte 38 of its kind record); kinds whose names agree on their first 8
// characters share one open base. A base is described by its field
// definition (name + ".def") and stored in one of four ways (byte 68 of the
// kind record; values outside 0..3 count as 1):
//   0  name + ".dat", record n read as the object's code read as a number;
//   1  name + ".dat", a record file, with the index name + ".inx" giving
//      the record number of a code;
//   2  name + ".dbf", a dBase table, with name + ".inx" giving the byte
//      position + 1 of a record's data (after its deletion flag);
//   3  the name itself, a text table of fixed-width lines, with the index
//      and the definition beside it (its name without the extension +
//      ".inx", ".def"), giving the byte position + 1 of a line.
// Reading an object's attributes copies each field of its record into the
// field's value area, which formulas read as the field's variable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "attributes/field_defs.h"
#include "expr/program.h"
#include "records/record_file.h"

namespace cx {

namespace atr {

inline constexpr int kMaxTiposConBase = 998;

struct Base {
  int kind = 0;        // the object kind it was opened for
  int layer_kind = 0;  // the kind of that kind's layer
  std::string name;
  int storage = 1;
  int code_form = 0;  // byte 67 of the kind record: 1 street address codes
  int record_length = 0;
  Campos fields;
  std::vector<unsigned char> buffer;  // the record last read
  ArchivoAbierto data;
  ArchivoAbierto index;
  bool labels = false;  // has fields of type 14 and above
  bool related = false;
  Programa relation;     // related bases: the key formula
  int64_t position = 0;  // where the record last read was: record or byte position + 1; 0 none
  std::unique_ptr<Base> next;  // the related base read after this one
};

// Base n (1-based, as the formula editor numbers them), or null.
Base* base_numero(int n);
// The base of kind k, or null when it has none (or k is outside 1..998).
Base* base_de_tipo(int kind);
int numero_de_base(int kind);

// Opens a base of the given storage; null after "No se pudo abrir base
// %s..." when its definition or data cannot be had.
std::unique_ptr<Base> abra_base(const std::string& name, int storage, int kind);

// Keeps b as the base of kind (numbered next); comparta gives kind the
// base of other; cierre_todas closes every base.
void registre_abierta(int kind, std::unique_ptr<Base> b);
void comparta(int kind, int other);
void cierre_todas();

// Appends a related base to kind's chain (it becomes the kind's base when
// the kind has none). Returns the number of the kind's base.
int agregue_relacionada(int kind, std::unique_ptr<Base> b);

// Loads the attributes of code into the base of kind (and its related
// bases). 1 found, 0 not found or nothing to read.
int16_t lea_atributos(int kind, const char* code);

// Reads the attributes of code and draws the labels its placement fields
// give; for network objects placements farther than the search margin
// (parameter 8) from (x, y) are ignored. The number of labels drawn.
int16_t dibuje_atributos(int kind, const char* code, double x, double y, bool network);

// Rewrites the record last read from base (its buffer). 0 or -1 after
// "ESCRIBIR: Error en base , reg %ld".
int16_t regrabe_registro(Base& base);

}  // namespace atr

// What the session calls: opens the bases of every kind (returns how many
// were opened) and closes them all.
int abra_bases_atributos();
void libere_listas_atributos();

}  // namespace cx
