// Features as cartex moves them between files and bases: geometry in the
// file's coordinates and one value per field of a shared list, the texts
// in Windows-1252 as the base keeps them (numbers as their decimal text).
#pragma once

#include <string>
#include <vector>

namespace cartex {

struct Point {
  double x = 0, y = 0;
  bool operator==(const Point&) const = default;
  auto operator<=>(const Point&) const = default;
};

// A ring is open: its last point is not the first again.
using Ring = std::vector<Point>;
// The outer ring first, then the holes.
using Polygon = std::vector<Ring>;

enum class Geometry { kPoint, kLine, kPolygon };

struct Field {
  std::string name;
  char type = '?';  // dBase: C text, N number, L logical; '?' not known yet
  int length = 1;
  int decimals = 0;
};

struct Value {
  bool null = true;
  std::string text;
};

struct Feature {
  Geometry geometry = Geometry::kPoint;
  std::vector<std::vector<Point>> parts;  // points (one point a part) or lines
  std::vector<Polygon> polygons;          // polygons
  std::vector<Value> values;              // one per field of the layer
};

struct FeatureSet {
  std::vector<Field> fields;
  std::vector<Feature> features;
};

// Widens each field to hold the values it is given. A field of unknown type
// whose every value is a number (or null) becomes N, else C; N fields take
// the most decimals seen. Texts beyond 254 bytes are cut there.
void fit_fields(FeatureSet& set);

}  // namespace cartex
