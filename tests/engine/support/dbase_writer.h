// Small made-up dBase III tables of character columns, for the tests of
// the attribute bases and of the hosts that read them.
#pragma once

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace cx::testing {

struct DbfColumn {
  std::string name;
  int length = 0;
};

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

}  // namespace cx::testing
