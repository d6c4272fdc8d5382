// dBase III tables: the 32-byte header (record count at byte 4, header
// length at 8, record length at 10) and the 32-byte field descriptors from
// byte 32 (name in the first 11 bytes, length at byte 16), up to one that
// begins with a carriage return. Record r (from 1) starts at header length +
// (r - 1) x record length; its first byte is the deletion flag ('*').
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cx::atr {

struct CampoDbf {
  char name[11] = {};
  int length = 0;
};

struct CabeceraDbf {
  int32_t records = 0;
  int header_length = 0;
  int record_length = 0;
  std::vector<CampoDbf> fields;
};

// Reads the header and the field descriptors of an open table. false when
// the file is too short or the descriptors do not end before the header
// length says the records start.
bool lea_cabecera_dbf(int handle, CabeceraDbf& out);

// name without a final ".dbf" (in any letter case).
std::string sin_extension_dbf(const std::string& path);

}  // namespace cx::atr
