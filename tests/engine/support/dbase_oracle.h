// dBase III tables for the attribute tests: a reader written from the
// format alone, to check the engine against, the writer of dbase_writer.h,
// and a session whose kinds name attribute bases.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "session/session.h"
#include "support/dbase_writer.h"

namespace cx::testing {

struct DbfTable {
  std::vector<DbfColumn> columns;
  std::vector<std::vector<std::string>> rows;  // raw field bytes, blanks kept
  std::vector<bool> deleted;
  int record_length = 0;
};

// Reads every record of a table; false when it is not a dBase table.
inline bool read_dbf(const std::string& path, DbfTable& out) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};
  if (b.size() < 33) return false;
  auto u16 = [&](std::size_t at) { return b[at] | (b[at + 1] << 8); };
  const uint32_t records = b[4] | (b[5] << 8) | (b[6] << 16) | (uint32_t(b[7]) << 24);
  const std::size_t header = u16(8);
  out = DbfTable{};
  out.record_length = u16(10);
  for (std::size_t at = 32; at < header && b[at] != 0x0D; at += 32) {
    const char* name = reinterpret_cast<const char*>(&b[at]);
    out.columns.push_back({std::string(name, strnlen(name, 11)), b[at + 16]});
  }
  for (uint32_t r = 0; r < records; ++r) {
    std::size_t at = header + std::size_t(r) * out.record_length;
    if (at + out.record_length > b.size()) return false;
    out.deleted.push_back(b[at] == '*');
    std::vector<std::string> row;
    ++at;
    for (const DbfColumn& c : out.columns) {
      row.emplace_back(reinterpret_cast<const char*>(&b[at]), c.length);
      at += c.length;
    }
    out.rows.push_back(row);
  }
  return true;
}

// A session with one layer of kind 0 and kinds 1..n naming the given bases
// with their storage types; kind 1 current.
inline void session_with_bases(const std::vector<std::pair<std::string, int>>& bases) {
  Sesion& s = sesion();
  s.open = true;
  s.layers.assign(2, cx_layer{});
  s.layer_count = 1;
  s.kinds.assign(bases.size() + 1, cx_kind{});
  s.kind_count = static_cast<int32_t>(bases.size());
  for (std::size_t k = 1; k <= bases.size(); ++k) {
    std::strncpy(s.kinds[k].attribute_base, bases[k - 1].first.c_str(), 21);
    s.kinds[k].storage = static_cast<uint8_t>(bases[k - 1].second);
    s.kinds[k].layer = 1;
  }
  s.settings[kCurrentKind] = 1;
}

inline std::string trim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == 0)) s.pop_back();
  return s;
}

}  // namespace cx::testing
