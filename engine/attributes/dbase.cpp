// dBase tables: their field definitions (verify_dbase) and their code
// indexes (index_dbf).
#include "attributes/dbase.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "attributes/code_keys.h"
#include "attributes/field_defs.h"
#include "cartex32.h"
#include "frame/messages.h"
#include "platform/files.h"
#include "platform/pump.h"
#include "records/codec.h"
#include "records/record_file.h"
#include "session/session.h"

namespace cx::atr {

bool lea_cabecera_dbf(int handle, CabeceraDbf& out) {
  out = CabeceraDbf{};
  unsigned char h[32];
  if (handle < 0 || lea_bytes_en(handle, 0, h, 32) != 0) return false;
  out.records = get_le32(h + 4);
  out.header_length = static_cast<uint16_t>(get_le16(h + 8));
  out.record_length = static_cast<uint16_t>(get_le16(h + 10));
  if (out.records < 0 || out.record_length < 1) return false;
  for (int at = 32;; at += 32) {
    unsigned char d[32] = {};
    if (at >= out.header_length || lea_bytes_en(handle, at, d, 1) != 0) return false;
    if (d[0] == 0x0D) break;
    if (at + 32 > out.header_length || lea_bytes_en(handle, at, d, 32) != 0) return false;
    CampoDbf f;
    std::memcpy(f.name, d, 10);
    f.length = d[16];
    out.fields.push_back(f);
  }
  return true;
}

std::string sin_extension_dbf(const std::string& path) {
  const std::size_t n = path.size();
  if (n > 4 && path[n - 4] == '.' && std::tolower(path[n - 3]) == 'd' &&
      std::tolower(path[n - 2]) == 'b' && std::tolower(path[n - 1]) == 'f')
    return path.substr(0, n - 4);
  return path;
}

namespace {

CampoPtr field(int offset, int length, int decimals, const char* name, const char* variable) {
  CampoPtr c = nuevo_campo();
  if (!c) return c;
  c->type = 4;
  c->offset = static_cast<int16_t>(offset);
  c->length = static_cast<int16_t>(length);
  c->width = c->length;
  c->decimals = static_cast<int16_t>(decimals);
  std::snprintf(c->name, sizeof c->name, "%.11s", name);
  std::snprintf(c->variable, sizeof c->variable, "%.11s", variable);
  return c;
}

// Opens path, or path + ".dbf".
int open_table(const std::string& path) {
  int handle = abra_compartido(path.c_str());
  if (handle < 0) handle = abra_compartido((path + ".dbf").c_str());
  return handle;
}

}  // namespace

}  // namespace cx::atr

CX_EXPORT(int16_t) verify_dbase(const char* path) {
  using namespace cx::atr;
  if (!path || !*path) {
    cx::avise_error("Error generando Def.");
    return -1;
  }
  const std::string name = sin_extension_dbf(path);
  cx::ArchivoAbierto table(open_table(path));
  CabeceraDbf header;
  if (!lea_cabecera_dbf(table.get(), header)) {
    cx::avise_error("Error generando Def.");
    return -1;
  }
  table.cierre();
  Campos fields;
  int sum = 0;  // the real lengths: a field cut to 90 bytes keeps the next in place
  for (const CampoDbf& d : header.fields) {
    CampoPtr c = field(sum, d.length < kLargoCampo ? d.length : kLargoCampo, 0, d.name, d.name);
    if (!c) return -1;
    fields.push_back(std::move(c));
    sum += d.length;
  }
  // The rest of the record after the data of the fields (normally nothing),
  // so that a record read never runs into the next one or past the table.
  int rest = header.record_length - 1 - sum;
  if (rest < 0) rest = 0;
  char variable[16];
  std::snprintf(variable, sizeof variable, "CRLF%d", sum + rest);
  CampoPtr end =
      field(sum, rest > kLargoCampo ? kLargoCampo : rest, 2, "terminador cr/lf", variable);
  if (!end) return -1;
  fields.push_back(std::move(end));
  if (!grabe_definicion(name + ".def", fields)) {
    cx::avise_error("Error generando Def.");
    return -1;
  }
  return 0;
}

CX_EXPORT(int16_t) index_dbf(const char* name, int32_t* counter, const cx_field_def* key_field) {
  using namespace cx;
  using namespace cx::atr;
  if (punteros_nulos("index_dbf", {name, key_field})) return -1;
  const std::string stem = sin_extension_dbf(name);
  ArchivoAbierto table(abra_compartido((stem + ".dbf").c_str()));
  CabeceraDbf header;
  if (!lea_cabecera_dbf(table.get(), header)) {
    informe_error("LEER: Error en DBF");
    return -1;
  }
  ArchivoAbierto index(cree_indice((stem + ".inx").c_str()));
  if (!index.abierto()) return -1;
  const int offset = key_field->offset;
  const int length = key_field->length > 10 ? 11 : key_field->length;
  if (offset < 0 || length < 0 || offset + length > header.record_length - 1) {
    informe_error("index_dbf: CAMPO FUERA DEL REGISTRO (%d + %d de %d)", offset, length,
                  header.record_length - 1);
    return -1;
  }
  std::vector<unsigned char> record(header.record_length + 1);
  const int64_t size = files().length(table.get());
  for (int32_t r = 1; r <= header.records; ++r) {
    const int64_t at = header.header_length + int64_t(r - 1) * header.record_length;
    if (at + header.record_length > size) {
      avise_error(at >= size ? "LEER: Error buscando DBF" : "LEER: Error en DBF");
      return -1;
    }
    if (lea_bytes_en(table.get(), at, record.data(), header.record_length) != 0) return -1;
    if (counter) *counter = r;
    if (r % 100 == 0) pump_messages();
    if (record[0] == '*') continue;  // deleted
    char text[12] = {};
    std::memcpy(text, record.data() + 1 + offset, length);
    unsigned char key[kClave];
    clave_de_texto(text, length, key);
    if (indice_inserte(index.get(), key, static_cast<int32_t>(at + 1 + 1)) != 0) return -1;
  }
  return 0;
}
