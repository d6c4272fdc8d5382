// Parsing the readable sources of the stroke font and the icons, and
// laying out their records field by field, little-endian.
#include "tools/vector_data.h"

#include <cmath>
#include <sstream>

namespace cx::tools {

namespace {

constexpr std::size_t kCharSize = 82, kIconSize = 531;
constexpr double kFontUnit = 1024.0 / 6;  // capitals are 6 grid units high
constexpr double kBaseline = 3.6;         // grid units below the point drawn at
constexpr double kIconUnit = 64;          // the icon's grid runs -8..8

struct Point {
  double x, y;
};

void put16(std::vector<uint8_t>& out, std::size_t at, int32_t v) {
  out[at] = static_cast<uint8_t>(v & 0xFF);
  out[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

std::string fail(int line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

// Points "x,y x,y ..." from the stream; false on anything else.
bool read_points(std::istream& in, std::vector<Point>& points) {
  std::string word;
  while (in >> word) {
    std::istringstream pair(word);
    Point p;
    char comma = 0;
    if (!(pair >> p.x >> comma >> p.y) || comma != ',' || !pair.eof() || !std::isfinite(p.x) ||
        !std::isfinite(p.y))
      return false;
    points.push_back(p);
  }
  return true;
}

// A grid value in the file's 16-bit units, or false when it does not fit.
bool units(double v, double scale, int32_t offset, int32_t& out) {
  const double u = std::round(v * scale) + offset;
  if (u < -32768 || u > 32767) return false;
  out = static_cast<int32_t>(u);
  return true;
}

bool skip(const std::string& line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  return first == std::string::npos || line[first] == ';';
}

}  // namespace

bool escriba_fuente_vectorial(std::istream& source, std::vector<uint8_t>& out, std::string& error) {
  std::vector<uint8_t> file(128 * kCharSize, 0);
  std::vector<bool> seen(128, false);
  std::string line;
  for (int number = 1; std::getline(source, line); ++number) {
    if (skip(line)) continue;
    if (line.size() < 3 || line[0] != '\'' || line[2] != '\'')
      return error = fail(number, "expected a character between quotes"), false;
    const unsigned char c = static_cast<unsigned char>(line[1]);
    if (c < 32 || c > 126) return error = fail(number, "not a printable ASCII character"), false;
    if (seen[c]) return error = fail(number, std::string("'") + line[1] + "' given twice"), false;
    seen[c] = true;
    std::istringstream rest(line.substr(3));
    std::vector<Point> points;
    if (!read_points(rest, points)) return error = fail(number, "a point is not x,y"), false;
    if (points.size() > 20) return error = fail(number, "more than 20 points"), false;
    const std::size_t at = c * kCharSize;
    put16(file, at, static_cast<int32_t>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
      int32_t x, y;
      if (!units(points[i].x, kFontUnit, 0, x) || !units(kBaseline - points[i].y, kFontUnit, 0, y))
        return error = fail(number, "a point is out of range"), false;
      put16(file, at + 2 + 2 * i, x);
      put16(file, at + 42 + 2 * i, y);
    }
  }
  out = std::move(file);
  return true;
}

bool escriba_iconos(std::istream& source, std::vector<uint8_t>& out, std::string& error) {
  std::vector<uint8_t> file(kIconSize, 0);  // record 0, the header
  std::string line;
  bool outline_given[2] = {false, false};
  for (int number = 1; std::getline(source, line); ++number) {
    if (skip(line)) continue;
    std::istringstream in(line);
    std::string key;
    in >> key;
    std::string rest;
    std::getline(in >> std::ws, rest);
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ')) rest.pop_back();
    if (key == "icon") {
      if (rest.empty() || rest.size() > 28)
        return error = fail(number, "an icon's name has 1 to 28 characters"), false;
      file.resize(file.size() + kIconSize, 0);
      uint8_t* r = file.data() + file.size() - kIconSize;
      rest.copy(reinterpret_cast<char*>(r), rest.size());
      for (std::size_t i = 0; i < 100; ++i) put16(file, file.size() - kIconSize + 129 + 2 * i, 500);
      for (std::size_t i = 0; i < 100; ++i) put16(file, file.size() - kIconSize + 331 + 2 * i, 500);
      outline_given[0] = outline_given[1] = false;
      continue;
    }
    if (file.size() == kIconSize)
      return error = fail(number, "expected \"icon NAME\" first"), false;
    const std::size_t at = file.size() - kIconSize;
    if (key == "description") {
      if (rest.size() > 63)
        return error = fail(number, "a description has at most 63 characters"), false;
      rest.copy(reinterpret_cast<char*>(file.data() + at + 63), rest.size());
      continue;
    }
    if (key != "a" && key != "b")
      return error = fail(number, "expected icon, description, a or b"), false;
    const int which = key == "a" ? 0 : 1;
    if (outline_given[which]) return error = fail(number, "outline " + key + " given twice"), false;
    outline_given[which] = true;
    std::istringstream points_in(rest);
    bool filled = false;
    if (rest.rfind("filled", 0) == 0) {
      filled = true;
      points_in.ignore(6);
    }
    std::vector<Point> points;
    if (!read_points(points_in, points)) return error = fail(number, "a point is not x,y"), false;
    if (points.size() > 49) return error = fail(number, "more than 49 points"), false;
    file[at + 29 + which] = filled ? 1 : 0;
    const std::size_t base = at + (which ? 329 : 127);
    put16(file, base, static_cast<int32_t>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
      int32_t x, y;
      if (!units(points[i].x, kIconUnit, 500, x) || !units(-points[i].y, kIconUnit, 500, y))
        return error = fail(number, "a point is out of range"), false;
      put16(file, base + 2 + 2 * i, x);
      put16(file, base + 102 + 2 * i, y);
    }
  }
  const uint32_t last = static_cast<uint32_t>(file.size() / kIconSize - 1);
  for (int i = 0; i < 4; ++i) file[i] = static_cast<uint8_t>(last >> (8 * i));
  out = std::move(file);
  return true;
}

}  // namespace cx::tools
