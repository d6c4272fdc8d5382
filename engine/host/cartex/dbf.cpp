// A dBase III writer and reader: a 32-byte header, 32 bytes per column,
// 0x0D, then fixed-width records each after its deletion flag, 0x1A last.
#include "dbf.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

namespace cartex {

namespace {

void put16(std::string& b, std::size_t at, unsigned v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool write_dbf(const std::string& path, const std::vector<Field>& fields,
               const std::vector<std::vector<Value>>& rows) {
  const std::size_t header = 32 + 32 * fields.size() + 1;
  std::size_t record = 1;
  for (const Field& f : fields) record += static_cast<std::size_t>(f.length);
  if (header > 0xFFFF || record > 0xFFFF) return false;
  std::string out(header, '\0');
  out[0] = 0x03;
  const std::time_t now = std::time(nullptr);
  const std::tm* today = std::localtime(&now);
  out[1] = static_cast<char>(today->tm_year % 100);
  out[2] = static_cast<char>(today->tm_mon + 1);
  out[3] = static_cast<char>(today->tm_mday);
  const auto count = static_cast<uint32_t>(rows.size());
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
  put16(out, 8, static_cast<unsigned>(header));
  put16(out, 10, static_cast<unsigned>(record));
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::size_t at = 32 + 32 * i;
    std::memcpy(&out[at], fields[i].name.data(), std::min<std::size_t>(10, fields[i].name.size()));
    out[at + 11] = fields[i].type == '?' ? 'C' : fields[i].type;
    out[at + 16] = static_cast<char>(fields[i].length);
    out[at + 17] = static_cast<char>(fields[i].decimals);
  }
  out[header - 1] = 0x0D;
  for (const auto& row : rows) {
    out += ' ';
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const auto width = static_cast<std::size_t>(fields[i].length);
      std::string text = i < row.size() && !row[i].null ? row[i].text.substr(0, width) : "";
      const std::string pad(width - text.size(), ' ');
      out += fields[i].type == 'N' ? pad + text : text + pad;
    }
  }
  out += '\x1A';
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file.write(out.data(), static_cast<std::streamsize>(out.size())) && file.flush())
      return true;
  }
  std::remove(path.c_str());
  return false;
}

bool read_dbf(const std::string& path, std::vector<Field>* fields,
              std::vector<std::vector<Value>>* rows) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string b{std::istreambuf_iterator<char>(in), {}};
  if (b.size() < 33) return false;
  auto u8 = [&](std::size_t at) { return static_cast<unsigned char>(b[at]); };
  const uint32_t count = u8(4) | u8(5) << 8 | u8(6) << 16 | uint32_t(u8(7)) << 24;
  const std::size_t header = u8(8) | u8(9) << 8, record = u8(10) | u8(11) << 8;
  if (header > b.size() || record == 0) return false;
  fields->clear();
  rows->clear();
  std::size_t sum = 1;
  for (std::size_t at = 32; at + 32 <= header && u8(at) != 0x0D; at += 32) {
    Field f;
    f.name.assign(&b[at], strnlen(&b[at], 11));
    f.type = b[at + 11];
    f.length = u8(at + 16);
    f.decimals = u8(at + 17);
    sum += static_cast<std::size_t>(f.length);
    fields->push_back(f);
  }
  if (sum > record) return false;
  for (uint32_t r = 0; r < count; ++r) {
    std::size_t at = header + r * record;
    if (at + record > b.size()) return false;
    if (b[at] == '*') continue;
    ++at;
    std::vector<Value> row;
    for (const Field& f : *fields) {
      Value v;
      const std::string raw = b.substr(at, static_cast<std::size_t>(f.length));
      at += static_cast<std::size_t>(f.length);
      v.text = f.type == 'C' ? raw.substr(0, raw.find_last_not_of(' ') + 1) : trim(raw);
      if (f.type == 'C' && raw.find_last_not_of(' ') == std::string::npos) v.text.clear();
      v.null = f.type != 'C' && (v.text.empty() || v.text == "?");
      row.push_back(v);
    }
    rows->push_back(row);
  }
  return true;
}

}  // namespace cartex
