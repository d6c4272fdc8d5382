// dBase III tables for the attribute tests: a reader written from the
// format alone, to check the engine against, a writer for small made-up
// tables, and a session whose kinds name attribute bases.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "session/session.h"

namespace cx::testing {

struct DbfColumn {
  std::string name;
  int length = 0;
};

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

// Writes a table of character columns; rows hold each field's text (padded
// with blanks here); deleted rows are flagged '*'.
inline void write_dbf(const std::string& path, const std::vector<DbfColumn>& columns,
                      const std::vector<std::vector<std::string>>& rows,
                      const std::vector<bool>& deleted = {}) {
  int length = 1;
  for (const DbfColumn& c : columns) length += c.length;
  const int header = 32 + 32 * static_cast<int>(columns.size()) + 1;
  std::vector<unsigned char> b(header, 0);
  b[0] = 3;
  for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<unsigned char>(rows.size() >> (8 * i));
  b[8] = header & 0xFF, b[9] = header >> 8, b[10] = length & 0xFF, b[11] = length >> 8;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::memcpy(&b[32 + 32 * i], columns[i].name.c_str(), columns[i].name.size());
    b[32 + 32 * i + 11] = 'C';
    b[32 + 32 * i + 16] = static_cast<unsigned char>(columns[i].length);
  }
  b[header - 1] = 0x0D;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    b.push_back(r < deleted.size() && deleted[r] ? '*' : ' ');
    for (std::size_t i = 0; i < columns.size(); ++i) {
      std::string field = rows[r][i];
      field.resize(columns[i].length, ' ');
      b.insert(b.end(), field.begin(), field.end());
    }
  }
  b.push_back(0x1A);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
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
