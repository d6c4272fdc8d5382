// import_features: the tables first (a layer for T0 objects, a kind per
// geometry, the dBase attribute base and its index), then the geometry
// through the writers: nodes, arcs and area objects, T1 areas and their
// T0 objects.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "arcs.h"
#include "base.h"
#include "dbf.h"

namespace cartex {

namespace {

constexpr std::size_t kMaxInner = 300;  // points of one block
constexpr const char* kObjectLayer = "objetos";

// Appends a record to a table file and counts it in its header.
bool append_record(const std::string& file, const void* record, std::size_t size) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  if (bytes.size() < size) bytes.assign(size, 0);
  bytes.resize(bytes.size() / size * size);
  const auto* p = static_cast<const char*>(record);
  bytes.insert(bytes.end(), p, p + size);
  const auto last = static_cast<uint32_t>(bytes.size() / size - 1);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((last >> (8 * i)) & 0xFF);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

std::string base_name(const std::string& name, const std::vector<cx_kind>& kinds) {
  std::string stem;
  for (char c : name)
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') stem += c;
  if (stem.empty()) stem = "atribs";
  stem.resize(std::min<std::size_t>(stem.size(), 8));
  std::set<std::string> taken;
  for (const cx_kind& k : kinds)
    taken.insert(std::string(k.attribute_base, strnlen(k.attribute_base, 22)).substr(0, 8));
  std::string candidate = stem;
  for (int n = 2; taken.count(candidate); ++n) {
    const std::string digits = std::to_string(n);
    candidate = stem.substr(0, 8 - digits.size()) + digits;
  }
  return candidate;
}

cx_kind new_kind(const std::string& name, int layer, int geometry, int colour,
                 const std::string& base) {
  cx_kind k{};
  std::snprintf(k.name, sizeof k.name, "%s", name.c_str());
  k.colour = static_cast<uint8_t>(colour);
  k.geometry = static_cast<uint8_t>(geometry);
  k.line_type = 1;
  k.text_size = 1;
  k.layer = static_cast<uint8_t>(layer);
  k.line_width = 1;
  std::snprintf(k.attribute_base, sizeof k.attribute_base, "%s", base.c_str());
  k.storage = 2;
  k.no_code_label = 1;
  return k;
}

// A point well inside the polygons: the middle of the widest run inside
// them along the line across the middle of the largest outer ring.
Point label_point(const std::vector<Polygon>& polygons) {
  const Ring* largest = nullptr;
  for (const Polygon& p : polygons)
    if (!p.empty() &&
        (!largest || std::fabs(signed_area2(p[0])) > std::fabs(signed_area2(*largest))))
      largest = &p[0];
  if (!largest || largest->empty()) return {};
  auto [lo, hi] = std::minmax_element(largest->begin(), largest->end(),
                                      [](const Point& a, const Point& b) { return a.y < b.y; });
  const double y = (lo->y + hi->y) / 2;
  std::vector<double> xs;
  for (const Polygon& p : polygons)
    for (const Ring& r : p)
      for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
        if ((r[i].y > y) != (r[j].y > y))
          xs.push_back(r[i].x + (y - r[i].y) / (r[j].y - r[i].y) * (r[j].x - r[i].x));
  std::sort(xs.begin(), xs.end());
  Point best = largest->front();
  double widest = -1;
  for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
    if (xs[i + 1] - xs[i] > widest) {
      widest = xs[i + 1] - xs[i];
      best = {(xs[i] + xs[i + 1]) / 2, y};
    }
  return best;
}

Point to_ground(const Georef& ref, const Point& p) {
  return {(p.x + ref.offset_x) * ref.scale, (p.y + ref.offset_y) * ref.scale};
}

void to_ground(const Georef& ref, Feature& f) {
  for (auto& part : f.parts)
    for (Point& p : part) p = to_ground(ref, p);
  for (Polygon& polygon : f.polygons)
    for (Ring& r : polygon)
      for (Point& p : r) p = to_ground(ref, p);
}

bool write_areas(const Engine& engine, int layer, const std::vector<std::size_t>& which,
                 const std::vector<Feature>& features, const std::vector<std::string>& codes,
                 int16_t kind, const Progress& progress) {
  if (engine.set_consts(24, static_cast<int16_t>(layer)) != layer) return false;
  int16_t red[CX_RED_HANDLES] = {};
  int16_t networks = 0;
  engine.get_red(red, engine.get_red_act(0), &networks);
  std::vector<std::vector<Polygon>> areas;
  for (std::size_t i : which) areas.push_back(features[i].polygons);
  const ArcSet topology = build_arcs(areas, kMaxInner);
  std::map<Point, int32_t> nodes;
  auto node_at = [&](const Point& p) {
    auto [it, added] = nodes.try_emplace(p, 0);
    if (added) {
      cx_node code{};
      cx_object at{};
      at.kind = 2;
      at.x = p.x;
      at.y = p.y;
      it->second = engine.grabe_nodo(&code, &at, 0, 0, 0, red);
    }
    return it->second;
  };
  std::vector<int32_t> arc_record(topology.arcs.size());
  for (std::size_t a = 0; a < topology.arcs.size(); ++a) {
    const auto& points = topology.arcs[a];
    cx_arc ends{};
    ends.from_node = node_at(points.front());
    ends.to_node = node_at(points.back());
    if (ends.from_node == 0 || ends.to_node == 0) return false;
    std::vector<double> x, y;
    for (const Point& p : points) x.push_back(p.x), y.push_back(p.y);
    cx_object line{};
    line.kind = 1;
    line.count = static_cast<int16_t>(points.size() - 2);
    arc_record[a] = engine.grabe_arco(&ends, &line, x.data(), y.data(), 0, red);
    if (arc_record[a] == 0) return false;
    progress("arcs", a + 1, topology.arcs.size());
  }
  for (std::size_t i = 0; i < which.size(); ++i) {
    const Feature& f = features[which[i]];
    cx_object label{};
    label.kind = kind;
    const Point at = label_point(f.polygons);
    label.x = at.x;
    label.y = at.y;
    const int32_t area = engine.grabe_t3(codes[which[i]].c_str(), nullptr, &label);
    if (area == 0) return false;
    for (std::size_t arc : topology.areas[i])
      if (engine.agregue_arco(area, arc_record[arc]) != 0) return false;
    progress("areas", i + 1, which.size());
  }
  return true;
}

bool write_objects(const Engine& engine, int layer, const std::vector<std::size_t>& which,
                   const std::vector<Feature>& features, const std::vector<std::string>& codes,
                   const std::map<Geometry, int16_t>& kind_of, const Progress& progress) {
  if (engine.set_consts(24, static_cast<int16_t>(layer)) != layer || engine.abra_t0(0) != 1)
    return false;
  for (std::size_t i = 0; i < which.size(); ++i) {
    const Feature& f = features[which[i]];
    const int16_t kind = kind_of.at(f.geometry);
    int32_t area = 0;
    for (const auto& part : f.parts) {
      if (part.empty()) continue;
      // A line longer than a block goes on in further objects, each
      // starting where the one before ended and turned by 1 (a tenth of a
      // degree, which a line does not show) to say so.
      for (std::size_t from = 0; from < part.size();) {
        const std::size_t to =
            f.geometry == Geometry::kPoint ? from + 1 : std::min(part.size(), from + kMaxInner);
        cx_object object{};
        object.kind = kind;
        object.x = part[from].x;
        object.y = part[from].y;
        object.rotation = static_cast<int16_t>(from > 0 ? 1 : 0);
        std::vector<double> x, y;
        for (std::size_t p = from; p < to; ++p) x.push_back(part[p].x), y.push_back(part[p].y);
        if (f.geometry == Geometry::kLine) object.count = static_cast<int16_t>(x.size());
        int32_t written = 0;
        if (area == 0) {
          uint8_t record[29] = {};
          std::snprintf(reinterpret_cast<char*>(record) + 2, 12, "%s", codes[which[i]].c_str());
          written = area = engine.grabe_t1(record, &object, x.data(), y.data(), nullptr);
        } else {
          object.area = area;
          written = engine.grabe_t0(&object, x.data(), y.data(), nullptr);
        }
        if (written == 0) return false;
        if (to >= part.size()) break;
        from = f.geometry == Geometry::kPoint ? to : to - 1;
      }
    }
    progress("objects", i + 1, which.size());
  }
  engine.cierre_t0(0);
  return true;
}

}  // namespace

bool import_features(const Engine& engine, FeatureSet set, const std::string& name,
                     const Progress& progress) {
  Georef ref = read_georef();
  if (!ref.known) ref = georef_for(set);
  std::vector<std::size_t> areas, objects;
  std::vector<std::string> codes;
  for (std::size_t i = 0; i < set.features.size(); ++i) {
    Feature& f = set.features[i];
    to_ground(ref, f);
    (f.geometry == Geometry::kPolygon ? areas : objects).push_back(i);
    codes.push_back(std::to_string(ref.next_code++));
  }
  auto negative = [](const std::vector<Point>& points) {
    return std::any_of(points.begin(), points.end(),
                       [](const Point& p) { return p.x < 0 || p.y < 0; });
  };
  for (const Feature& f : set.features)
    if (std::any_of(f.parts.begin(), f.parts.end(), negative) ||
        std::any_of(f.polygons.begin(), f.polygons.end(), [&](const Polygon& polygon) {
          return std::any_of(polygon.begin(), polygon.end(), negative);
        })) {
      std::fprintf(stderr, "cartex: %s: a point lies west or south of the base's origin\n",
                   name.c_str());
      return false;
    }

  // The tables: read with the session, written with it closed.
  std::vector<cx_kind> table = kinds(engine);
  std::vector<Layer> layer_table = layers(engine);
  const std::string base = base_name(name, table);
  int object_layer = 0, area_layer = 0;
  for (const Layer& l : layer_table) {
    if (std::strcmp(l.record.name, kObjectLayer) == 0 && l.record.kind <= 1)
      object_layer = l.number;
    if (l.record.kind == 3 && area_layer == 0) area_layer = l.number;
  }
  if (!areas.empty() && area_layer == 0) {
    std::fprintf(stderr, "cartex: %s: the base has no layer of areas for its polygons\n",
                 name.c_str());
    return false;
  }
  engine.end_cons(0);
  if (!objects.empty() && object_layer == 0) {
    cx_layer l{};
    std::snprintf(l.name, sizeof l.name, "%s", kObjectLayer);
    l.kind = 1;
    l.attributes[0] = 8, l.attributes[1] = 1, l.attributes[2] = 1;
    l.code_prefix[1] = 2;
    object_layer = static_cast<int>(layer_table.size()) + 1;
    if (!append_record("TABCAP.DAT", &l, sizeof l)) return false;
  }
  std::map<Geometry, int16_t> kind_of;
  const struct {
    Geometry geometry;
    const char* suffix;
    int geometry_type, colour;
  } kinds_made[] = {{Geometry::kPolygon, "", 0, 8},
                    {Geometry::kLine, " lineas", 0, 9},
                    {Geometry::kPoint, " puntos", 2, 12}};
  for (const auto& k : kinds_made) {
    if (std::none_of(set.features.begin(), set.features.end(),
                     [&](const Feature& f) { return f.geometry == k.geometry; }))
      continue;
    const int layer = k.geometry == Geometry::kPolygon ? area_layer : object_layer;
    const cx_kind record = new_kind(name + k.suffix, layer, k.geometry_type, k.colour, base);
    if (!append_record("TABOBJ.DAT", &record, sizeof record)) return false;
    table.push_back(record);
    kind_of[k.geometry] = static_cast<int16_t>(table.size() - 1);
  }

  // The attribute base: the code, then the features' own fields, their
  // names cut to the 10 characters of a dBase column and kept apart.
  fit_fields(set);
  std::set<std::string> names{kCodeField};
  for (Field& f : set.fields) {
    std::string cut = f.name.substr(0, 10);
    for (int n = 1; !names.insert(cut).second; ++n) {
      const std::string tail = "~" + std::to_string(n);
      cut = f.name.substr(0, 10 - tail.size()) + tail;
    }
    f.name = cut;
  }
  std::vector<Field> columns{{kCodeField, 'C', kCodeLength, 0}};
  columns.insert(columns.end(), set.fields.begin(), set.fields.end());
  std::vector<std::vector<Value>> rows;
  for (std::size_t i = 0; i < set.features.size(); ++i) {
    rows.push_back({Value{false, codes[i]}});
    rows.back().insert(rows.back().end(), set.features[i].values.begin(),
                       set.features[i].values.end());
  }
  cx_field_def key{};
  key.type = 4;
  key.length = kCodeLength;
  if (!write_dbf(base + ".dbf", columns, rows) || engine.verify_dbase(base.c_str()) != 0 ||
      engine.index_dbf(base.c_str(), nullptr, &key) != 0) {
    std::fprintf(stderr, "cartex: the attribute base %s.dbf could not be written\n", base.c_str());
    return false;
  }
  if (!write_georef(ref)) return false;

  engine.inigks(0);
  engine.inifil(0);
  const bool written = (areas.empty() || write_areas(engine, area_layer, areas, set.features, codes,
                                                     kind_of[Geometry::kPolygon], progress)) &&
                       (objects.empty() || write_objects(engine, object_layer, objects,
                                                         set.features, codes, kind_of, progress));
  engine.set_consts(24, 0);
  return written;
}

}  // namespace cartex
