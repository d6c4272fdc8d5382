// The line reader and number parsers of query and display files.
#include "expr/query_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

namespace cx {

bool guarde_texto(const std::string& path, const std::function<bool(std::FILE*)>& write) {
  const std::string fresh = path + "~";
  std::FILE* f = std::fopen(resolve_path(fresh.c_str()).c_str(), "w");
  if (!f) return false;
  const bool written = write(f) && !std::ferror(f);
  if (std::fclose(f) == 0 && written && files().replace(fresh.c_str(), path.c_str())) return true;
  (void)files().remove(fresh.c_str());
  return false;
}

ArchivoTexto abra_texto(const std::string& name, const char* extension, std::string* opened) {
  *opened = name;
  ArchivoTexto f(std::fopen(resolve_path(name.c_str()).c_str(), "r"));
  if (!f) {
    *opened = name + extension;
    f.reset(std::fopen(resolve_path(opened->c_str()).c_str(), "r"));
  }
  return f;
}

bool LectorTexto::linea(std::string* out) {
  out->clear();
  ++number_;
  for (int c; (c = std::fgetc(file_)) != EOF;) {
    if (c == '\n') {
      if (!out->empty() && out->back() == '\r') out->pop_back();
      return out->size() <= kLineaConsulta;
    }
    out->push_back(static_cast<char>(c));
    if (out->size() > kLineaConsulta + 1) return false;
  }
  if (!out->empty() && out->back() == '\r') out->pop_back();
  return !out->empty() && out->size() <= kLineaConsulta;
}

namespace {

// Splits at commas and converts each field with `convert`, which returns
// false for a field that is not a number.
template <typename Convert>
bool campos(const std::string& line, int count, bool at_least, Convert convert) {
  const char* p = line.c_str();
  for (int i = 0; i < count; ++i) {
    if (i > 0 && *p++ != ',') return false;
    char* end = nullptr;
    errno = 0;
    if (!convert(i, p, &end) || end == p || errno == ERANGE) return false;
    p = end;
  }
  return *p == '\0' || (at_least && *p == ',');
}

}  // namespace

bool LectorTexto::dobles(double* out, int count) {
  std::string line;
  if (!linea(&line)) return false;
  return campos(line, count, false, [&](int i, const char* p, char** end) {
    out[i] = std::strtod(p, end);
    return true;
  });
}

bool LectorTexto::flotantes(float* out, int count) {
  std::string line;
  if (!linea(&line)) return false;
  return campos(line, count, false, [&](int i, const char* p, char** end) {
    out[i] = std::strtof(p, end);
    return true;
  });
}

bool LectorTexto::enteros(long* out, int count, long lo, long hi, bool at_least) {
  std::string line;
  if (!linea(&line)) return false;
  return campos(line, count, at_least, [&](int i, const char* p, char** end) {
    out[i] = std::strtol(p, end, 10);
    return out[i] >= lo && out[i] <= hi;
  });
}

bool LectorTexto::texto(const char* prefix, std::string* out) {
  std::string line;
  if (!linea(&line)) return false;
  const std::size_t n = std::strlen(prefix);
  if (line.compare(0, n, prefix) != 0) return false;
  *out = line.substr(n);
  return true;
}

bool LectorTexto::texto(const char* prefix, char* out, std::size_t size) {
  std::string text;
  if (!texto(prefix, &text)) return false;
  std::memset(out, 0, size);
  std::memcpy(out, text.data(), std::min(text.size(), size - 1));
  return true;
}

std::string una_linea(const char* text, std::size_t size) {
  std::string s(text, strnlen(text, size));
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return s;
}

}  // namespace cx
