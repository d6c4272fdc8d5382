// Code indexes of fixed-width text tables (ascreindexar): one key a line,
// taken from the first field of the table's definition.
#include <cstdio>
#include <cstring>
#include <string>

#include "attributes/code_keys.h"
#include "attributes/field_defs.h"
#include "cartex32.h"
#include "frame/messages.h"
#include "platform/files.h"
#include "platform/pump.h"
#include "records/record_file.h"
#include "session/session.h"

namespace {

constexpr int kLineMax = 999;

struct Cierre {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};

// Reads one line of at most 999 characters (a longer one continues as the
// next); its line end is dropped. false at the end of the file.
bool read_line(std::FILE* f, std::string& line, int64_t& position) {
  line.clear();
  int c;
  while (static_cast<int>(line.size()) < kLineMax && (c = std::fgetc(f)) != EOF) {
    ++position;
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    line.push_back(static_cast<char>(c));
  }
  if (line.empty()) return false;
  if (line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace

CX_EXPORT(int16_t) ascreindexar(const char* path, const char* name, int32_t* position) {
  using namespace cx;
  using namespace cx::atr;
  if (punteros_nulos("ascreindexar", {path, name})) return -1;
  ArchivoAbierto index(cree_indice((std::string(name) + ".inx").c_str()));
  if (!index.abierto()) return -1;
  Campos fields;
  if (!cargue_definicion(std::string(name) + ".def", fields)) return -1;
  if (fields.empty()) {
    informe_error("ERROR cargando definicion: %s\n", (std::string(name) + ".def").c_str());
    return -1;
  }
  const int offset = fields[0]->offset;
  const int length = fields[0]->length > 10 ? 11 : fields[0]->length;
  std::unique_ptr<std::FILE, Cierre> text(std::fopen(resolve_path(path).c_str(), "rb"));
  if (!text) {
    informe_error("No se pudo abrir base %s...", path);
    return -1;
  }
  std::string line;
  int64_t next = 0;
  for (int32_t lines = 1;; ++lines) {
    const int64_t start = next;
    if (!read_line(text.get(), line, next)) break;
    if (position) *position = static_cast<int32_t>(start);
    if (lines % 100 == 0) pump_messages();
    if (line.size() >= 4 && std::memcmp(line.data(), "\xFF\xFF\xFF\xFF", 4) == 0) continue;
    if (static_cast<int>(line.size()) < offset + length) continue;
    unsigned char key[kClave];
    clave_de_texto(std::string(line, offset, length).c_str(), length, key);
    if (indice_inserte(index.get(), key, static_cast<int32_t>(start + 1)) != 0) return -1;
  }
  return 0;
}
