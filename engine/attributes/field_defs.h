// Field definitions of an attribute base (name + ".def"): a record file of
// 496-byte records, record 0 holding the field count in its first 4 bytes
// and records 1..n the fields in order. Each field record: type (16-bit at
// 0), offset in the data record (2), length (4, at most 90), display width
// (6), decimals (8), field name (11 characters at 10) and the variable name
// formulas read it by (11 characters at 45, blank: not offered); the rest of
// the record is used in memory only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cx::atr {

inline constexpr int kRegistroDef = 496;
inline constexpr int kLargoCampo = 90;
inline constexpr int kNombreCampo = 11;
inline constexpr int kTipoRotulo = 14;  // fields of type 14 and above hold label placements

struct Campo {
  int16_t type = 0;
  int16_t offset = 0;
  int16_t length = 0;
  int16_t width = 0;
  int16_t decimals = 0;
  char name[kNombreCampo + 1] = {};
  char variable[kNombreCampo + 1] = {};  // trailing blanks removed
  // The field's bytes in the record last read, always NUL-terminated.
  unsigned char value[kLargoCampo + 1] = {};
  int variable_number = 0;  // in the variable table, 0: not offered
};

struct LibereCampo {
  void operator()(Campo* c) const;
};
using CampoPtr = std::unique_ptr<Campo, LibereCampo>;
using Campos = std::vector<CampoPtr>;

// A new zeroed field ("CAMPO" names it in an allocation failure), or null.
CampoPtr nuevo_campo();

// Loads path (name + ".def"). false after "ERROR cargando definicion: %s\n"
// when the file is missing, unreadable or holds a field outside 0..90
// bytes or at a negative offset; out is then empty.
bool cargue_definicion(const std::string& path, Campos& out);
// Writes fields as path, replacing an existing file. false on failure, the
// record layer having reported it.
bool grabe_definicion(const std::string& path, const Campos& fields);

// The largest offset + length over the fields.
int largo_registro(const Campos& fields);

// Offers every field with a variable name as an expression variable whose
// value is its value area; desligue_campos withdraws them.
void registre_campos(Campos& fields);
void desligue_campos(Campos& fields);

// Copies each field's bytes from a record into its value area (bytes beyond
// `size` read as zeros).
void copie_valores(Campos& fields, const unsigned char* record, int size);

}  // namespace cx::atr
