// The small format language of lea_linea.
#include "frame/lea_linea.h"

#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace cx {

namespace {

// Reads one line of at most kLineaMax characters, without "\n" or "\r\n".
bool read_line(std::FILE* file, std::string& line) {
  line.clear();
  int c;
  bool any = false;
  while ((c = std::fgetc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line.size() < static_cast<std::size_t>(kLineaMax)) line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

}  // namespace

int lea_linea(std::FILE* file, const char* format, ...) {
  std::string line;
  if (!file || !format || !read_line(file, line)) return -1;

  va_list args;
  va_start(args, format);
  int assigned = 0;
  std::size_t pos = 0;
  const char* f = format;
  while (*f) {
    if (*f != '%') {
      if (pos >= line.size() || line[pos] != *f) break;
      ++pos;
      ++f;
      continue;
    }
    ++f;
    if (*f == '%') {
      if (pos >= line.size() || line[pos] != '%') break;
      ++pos;
      ++f;
      continue;
    }
    long width = 0;
    while (*f >= '0' && *f <= '9') width = width * 10 + (*f++ - '0');
    bool is_long = false;
    if (*f == 'l') {
      is_long = true;
      ++f;
    }
    const char conversion = *f;
    if (!conversion) break;
    ++f;
    if (conversion == 's') {
      std::size_t n = line.size() - pos;
      if (width > 0 && n > static_cast<std::size_t>(width)) n = static_cast<std::size_t>(width);
      char* out = va_arg(args, char*);
      std::memcpy(out, line.data() + pos, n);
      out[n] = '\0';
      pos += n;
      ++assigned;
      continue;
    }
    // A number runs up to the format's next character.
    std::size_t end = *f ? line.find(*f, pos) : std::string::npos;
    if (end == std::string::npos) end = line.size();
    const std::string field = line.substr(pos, end - pos);
    pos = end;
    if (conversion == 'd' || conversion == 'i') {
      const long value = std::strtol(field.c_str(), nullptr, 10);
      if (is_long)
        *va_arg(args, int32_t*) = static_cast<int32_t>(value);
      else
        *va_arg(args, int16_t*) = static_cast<int16_t>(value);
    } else if (conversion == 'f' || conversion == 'g' || conversion == 'e') {
      const double value = std::strtod(field.c_str(), nullptr);
      if (is_long)
        *va_arg(args, double*) = value;
      else
        *va_arg(args, float*) = static_cast<float>(value);
    } else {
      break;
    }
    ++assigned;
  }
  va_end(args);
  return assigned;
}

}  // namespace cx
