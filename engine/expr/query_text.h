// Reading and writing the text files of thematic queries and displays:
// lines of comma-separated numbers and prefixed texts, checked as they are
// read so that a damaged file is refused whole before anything is applied.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace cx {

// Longest line of a query or display file, its line end not counted.
inline constexpr std::size_t kLineaConsulta = 500;

struct CierreArchivo {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using ArchivoTexto = std::unique_ptr<std::FILE, CierreArchivo>;

// Writes the file `path` whole through `write` (false when it failed) into
// a new file beside it, which then takes the old one's place: a write that
// fails, a full disk say, leaves the old file as it was. False on failure.
bool guarde_texto(const std::string& path, const std::function<bool(std::FILE*)>& write);

// Opens name for reading, else name + extension; null when neither opens.
ArchivoTexto abra_texto(const std::string& name, const char* extension, std::string* opened);

class LectorTexto {
 public:
  explicit LectorTexto(std::FILE* file) : file_(file) {}
  // The next line without its line end (a carriage return is dropped);
  // false at the end of the file, or for a longer line than a query holds.
  bool linea(std::string* out);
  int numero() const { return number_; }

  // The next line as exactly `count` comma-separated numbers (`at_least`:
  // the first `count` of more); integers must lie within [lo, hi].
  bool dobles(double* out, int count);
  bool flotantes(float* out, int count);
  bool enteros(long* out, int count, long lo, long hi, bool at_least = false);
  // The next line's text after `prefix`, cut to `size` - 1 characters.
  bool texto(const char* prefix, char* out, std::size_t size);
  bool texto(const char* prefix, std::string* out);

 private:
  std::FILE* file_;
  int number_ = 0;
};

// A text for one line of a query file: line ends and other control
// characters become blanks, so that a label cannot break the file's lines.
std::string una_linea(const char* text, std::size_t size);

}  // namespace cx
