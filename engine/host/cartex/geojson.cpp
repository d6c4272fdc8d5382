// GeoJSON in and out. Reading goes through nlohmann::json; writing builds
// the text itself so that coordinates keep every digit (%.17g) and
// numbers come back as they were written.
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "formats.h"
#include "text_codec.h"

namespace cartex {

namespace {

using json = nlohmann::ordered_json;

std::vector<Point> points(const json& list) {
  std::vector<Point> out;
  for (const json& p : list) {
    if (!p.is_array() || p.size() < 2 || !p[0].is_number() || !p[1].is_number())
      throw std::runtime_error("a position is not [x, y]");
    out.push_back({p[0].get<double>(), p[1].get<double>()});
  }
  return out;
}

Polygon polygon(const json& rings) {
  Polygon out;
  for (const json& r : rings) {
    Ring ring = points(r);
    if (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
    out.push_back(std::move(ring));
  }
  return out;
}

// The features of one geometry, appended to set: a GeometryCollection
// gives one feature per member.
void add_geometry(const json& g, const std::vector<Value>& values, FeatureSet* set) {
  const std::string type = g.value("type", "");
  Feature f;
  f.values = values;
  const json& c = g.contains("coordinates") ? g["coordinates"] : json::array();
  if (type == "Point") {
    f.geometry = Geometry::kPoint;
    f.parts.push_back(points(json::array({c})));
  } else if (type == "MultiPoint") {
    f.geometry = Geometry::kPoint;
    for (const Point& p : points(c)) f.parts.push_back({p});
  } else if (type == "LineString") {
    f.geometry = Geometry::kLine;
    f.parts.push_back(points(c));
  } else if (type == "MultiLineString") {
    f.geometry = Geometry::kLine;
    for (const json& line : c) f.parts.push_back(points(line));
  } else if (type == "Polygon") {
    f.geometry = Geometry::kPolygon;
    f.polygons.push_back(polygon(c));
  } else if (type == "MultiPolygon") {
    f.geometry = Geometry::kPolygon;
    for (const json& p : c) f.polygons.push_back(polygon(p));
  } else if (type == "GeometryCollection") {
    for (const json& member : g.value("geometries", json::array()))
      add_geometry(member, values, set);
    return;
  } else {
    throw std::runtime_error("unknown geometry type \"" + type + "\"");
  }
  set->features.push_back(std::move(f));
}

std::vector<Value> properties(const json& p, FeatureSet* set,
                              std::map<std::string, std::size_t>* index) {
  std::vector<Value> values(set->fields.size());
  if (!p.is_object()) return values;
  for (const auto& [name, v] : p.items()) {
    auto [it, added] = index->try_emplace(name, set->fields.size());
    if (added) {
      Field f;
      f.name = utf8_to_1252(name);
      set->fields.push_back(f);
    }
    if (values.size() < set->fields.size()) values.resize(set->fields.size());
    Value& value = values[it->second];
    if (v.is_null()) continue;
    value.null = false;
    if (v.is_boolean()) {
      set->fields[it->second].type = 'L';
      value.text = v.get<bool>() ? "T" : "F";
    } else {
      value.text = utf8_to_1252(v.is_string() ? v.get<std::string>() : v.dump());
      if (!v.is_number()) set->fields[it->second].type = 'C';
    }
  }
  return values;
}

// A Windows-1252 text as a JSON string.
std::string quoted(const std::string& text) {
  return json(cp1252_to_utf8(text)).dump();
}

void write_point(std::string& out, const Point& p) {
  char text[64];
  std::snprintf(text, sizeof text, "[%.17g,%.17g]", p.x, p.y);
  out += text;
}

void write_ring(std::string& out, const std::vector<Point>& r, bool close) {
  out += '[';
  for (std::size_t i = 0; i < r.size(); ++i) {
    if (i) out += ',';
    write_point(out, r[i]);
  }
  if (close && !r.empty()) {
    out += ',';
    write_point(out, r.front());
  }
  out += ']';
}

void write_polygon(std::string& out, const Polygon& p) {
  out += '[';
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (i) out += ',';
    write_ring(out, p[i], true);
  }
  out += ']';
}

std::string geometry_text(const Feature& f) {
  std::string out;
  const auto& parts = f.parts;
  switch (f.geometry) {
    case Geometry::kPoint:
      if (parts.size() == 1 && parts[0].size() == 1) {
        out = "{\"type\":\"Point\",\"coordinates\":";
        write_point(out, parts[0][0]);
      } else {
        std::vector<Point> all;
        for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
        out = "{\"type\":\"MultiPoint\",\"coordinates\":";
        write_ring(out, all, false);
      }
      break;
    case Geometry::kLine:
      if (parts.size() == 1) {
        out = "{\"type\":\"LineString\",\"coordinates\":";
        write_ring(out, parts[0], false);
      } else {
        out = "{\"type\":\"MultiLineString\",\"coordinates\":[";
        for (std::size_t i = 0; i < parts.size(); ++i) {
          if (i) out += ',';
          write_ring(out, parts[i], false);
        }
        out += ']';
      }
      break;
    case Geometry::kPolygon:
      if (f.polygons.size() == 1) {
        out = "{\"type\":\"Polygon\",\"coordinates\":";
        write_polygon(out, f.polygons[0]);
      } else {
        out = "{\"type\":\"MultiPolygon\",\"coordinates\":[";
        for (std::size_t i = 0; i < f.polygons.size(); ++i) {
          if (i) out += ',';
          write_polygon(out, f.polygons[i]);
        }
        out += ']';
      }
      break;
  }
  return out + '}';
}

std::string value_text(const Field& field, const Value& v) {
  if (v.null) return "null";
  if (field.type == 'L') return v.text == "T" || v.text == "t" || v.text == "Y" ? "true" : "false";
  if (field.type == 'N' || field.type == 'F') {
    // Only a number JSON can read stays a number.
    try {
      if (json::parse(v.text).is_number()) return v.text;
    } catch (const json::exception&) {
    }
  }
  return quoted(v.text);
}

}  // namespace

bool read_geojson(const std::string& path, FeatureSet* set, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    *error = path + ": cannot be read";
    return false;
  }
  try {
    const json doc = json::parse(in);
    std::map<std::string, std::size_t> index;
    std::vector<const json*> features;
    const std::string type = doc.value("type", "");
    if (type == "FeatureCollection") {
      for (const json& f : doc.at("features")) features.push_back(&f);
    } else if (type == "Feature") {
      features.push_back(&doc);
    } else {
      add_geometry(doc, {}, set);
    }
    for (const json* f : features) {
      const std::vector<Value> values =
          properties(f->value("properties", json::object()), set, &index);
      if (f->contains("geometry") && !(*f)["geometry"].is_null())
        add_geometry((*f)["geometry"], values, set);
    }
  } catch (const std::exception& e) {
    *error = path + ": not GeoJSON (" + e.what() + ")";
    return false;
  }
  for (Feature& f : set->features) f.values.resize(set->fields.size());
  return true;
}

bool write_geojson(const std::string& path, const FeatureSet& set, std::string* error) {
  std::string out = "{\"type\":\"FeatureCollection\",\"features\":[\n";
  for (std::size_t i = 0; i < set.features.size(); ++i) {
    const Feature& f = set.features[i];
    out += "{\"type\":\"Feature\",\"properties\":{";
    for (std::size_t c = 0; c < set.fields.size(); ++c) {
      if (c) out += ',';
      out += quoted(set.fields[c].name) + ':' +
             value_text(set.fields[c], c < f.values.size() ? f.values[c] : Value{});
    }
    out += "},\"geometry\":" + geometry_text(f) + '}';
    out += i + 1 < set.features.size() ? ",\n" : "\n";
  }
  out += "]}\n";
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file.write(out.data(), static_cast<std::streamsize>(out.size())) && file.flush())
      return true;
  }
  std::remove(path.c_str());
  *error = path + ": cannot be written";
  return false;
}

}  // namespace cartex
