// read_features and to_file_features: area objects with the rings of
// their description chains, T0 objects grouped by their T1 area, and the
// attribute rows of their dBase bases.
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <map>

#include "arcs.h"
#include "base.h"
#include "dbf.h"

namespace cartex {

namespace {

constexpr int kObjectSize = 31, kAreaSize = 29, kAreaObjectSize = 48, kDescSize = 18;

std::string code_of(const char* code13) {
  std::string code(code13 + 2, strnlen(code13 + 2, 11));
  return code.substr(0, code.find_last_not_of(' ') + 1);
}

class OwnFile {
 public:
  explicit OwnFile(const char* name) : fd_(open(name, O_RDONLY)) {}
  ~OwnFile() {
    if (fd_ >= 0) close(fd_);
  }
  OwnFile(const OwnFile&) = delete;
  OwnFile& operator=(const OwnFile&) = delete;
  int16_t handle() const { return static_cast<int16_t>(fd_); }

 private:
  int fd_;
};

std::vector<Point> arc_points(const Engine& engine, const int16_t* red, int32_t record) {
  cx_arc arc{};
  cx_node from{}, to{};
  if (engine.sleer_arc(red[1], &arc, record, 0) != 0 ||
      engine.sleer_nod(red[0], &from, arc.from_node, 0) != 0 ||
      engine.sleer_nod(red[0], &to, arc.to_node, 0) != 0)
    return {};
  std::vector<double> x(static_cast<std::size_t>(arc.count)), y(x.size());
  if (arc.count > 0 && engine.lea_coord(red[5], arc.block, x.data(), y.data(), arc.count) != 0)
    return {};
  std::vector<Point> points{{+from.x, +from.y}};
  for (std::size_t i = 0; i < x.size(); ++i) points.push_back({x[i], y[i]});
  points.push_back({+to.x, +to.y});
  return points;
}

void read_areas(const Engine& engine, int layer, std::vector<BaseFeature>* out) {
  if (engine.set_consts(24, static_cast<int16_t>(layer)) != layer) return;
  int16_t red[CX_RED_HANDLES] = {};
  int16_t networks = 0;
  engine.get_red(red, engine.get_red_act(0), &networks);
  if (red[6] < 0 || red[8] < 0) return;
  const off_t bytes = lseek(red[6], 0, SEEK_END);
  const auto count = static_cast<int32_t>(bytes / kAreaObjectSize - 1);
  for (int32_t n = 1; n <= count; ++n) {
    if (given_back(engine, red[6], n, kAreaObjectSize)) continue;
    cx_area_object object{};
    if (engine.sleer_top(red[6], &object, n, 0) != 0) continue;
    std::vector<std::vector<Point>> arcs;
    for (int32_t d = object.first_desc, guard = 0; d != 0 && guard < 1000000; ++guard) {
      int32_t entry[5] = {};  // arc, area, next of the arc, next of the area, kind
      if (engine.sleer(red[8], entry, d, kDescSize) != 0) break;
      arcs.push_back(arc_points(engine, red, entry[0]));
      if (arcs.back().empty()) arcs.pop_back();
      d = entry[3];
    }
    BaseFeature f;
    f.feature.geometry = Geometry::kPolygon;
    f.feature.polygons = polygons_from_rings(rings_from_arcs(arcs, &f.closed));
    f.kind = object.kind;
    f.code = code_of(object.code);
    f.record = n;
    out->push_back(std::move(f));
  }
}

void read_objects(const Engine& engine, const std::vector<cx_kind>& table,
                  std::vector<BaseFeature>* out) {
  OwnFile objects("OBJETOS.DAT"), blocks("COORDEN.DAT"), areas("AREAS.DAT");
  if (objects.handle() < 0) return;
  std::map<int32_t, std::size_t> feature_of_area;
  const int32_t count = record_count("OBJETOS.DAT", kObjectSize);
  for (int32_t n = 1; n <= count; ++n) {
    if (given_back(engine, objects.handle(), n, kObjectSize)) continue;
    cx_object object{};
    if (engine.sleer_obj(objects.handle(), &object, n, 0) != 0) continue;
    const int geometry = object.kind > 0 && static_cast<std::size_t>(object.kind) < table.size()
                             ? table[static_cast<std::size_t>(object.kind)].geometry
                             : 2;
    std::vector<Point> points;
    const bool list =
        geometry == 0 || geometry == 5 || geometry == 6 || geometry == 8 || geometry == 9;
    if (list && object.count > 0) {
      std::vector<double> x(static_cast<std::size_t>(object.count)), y(x.size());
      if (engine.lea_coord(blocks.handle(), object.block, x.data(), y.data(), object.count) != 0)
        continue;
      for (std::size_t i = 0; i < x.size(); ++i) points.push_back({x[i], y[i]});
    } else {
      points.push_back({+object.x, +object.y});
    }
    const int32_t area = object.area;
    auto known = area ? feature_of_area.find(area) : feature_of_area.end();
    if (known == feature_of_area.end()) {
      BaseFeature f;
      f.feature.geometry = list ? Geometry::kLine : Geometry::kPoint;
      f.kind = object.kind;
      f.record = n;
      cx_area record{};
      if (area && areas.handle() >= 0 && engine.sleer_are(areas.handle(), &record, area, 0) == 0)
        f.code = code_of(record.code);
      if (area) feature_of_area[area] = out->size();
      out->push_back(std::move(f));
      known = area ? feature_of_area.find(area) : feature_of_area.end();
    }
    auto& parts =
        (known == feature_of_area.end() ? out->back() : (*out)[known->second]).feature.parts;
    if (object.rotation == 1 && list && !parts.empty() && !points.empty() &&
        parts.back().back() == points.front()) {
      parts.back().insert(parts.back().end(), points.begin() + 1, points.end());
    } else {
      parts.push_back(points);
    }
  }
}

}  // namespace

std::vector<BaseFeature> read_features(const Engine& engine) {
  std::vector<BaseFeature> out;
  const std::vector<cx_kind> table = kinds(engine);
  std::map<std::string, int> networks;
  for (const Layer& l : layers(engine))
    if (l.record.kind == 3 &&
        networks.try_emplace(std::string(l.record.network_prefix, 4), l.number).second)
      read_areas(engine, l.number, &out);
  engine.set_consts(24, 0);
  read_objects(engine, table, &out);
  return out;
}

FeatureSet to_file_features(const Engine& engine, const std::vector<BaseFeature>& features,
                            const Georef& ref) {
  FeatureSet set;
  const std::vector<cx_kind> table = kinds(engine);
  std::map<std::string, std::size_t> field_index;
  // Per attribute base: code -> the row as (field number in set, value).
  std::map<std::string, std::map<std::string, std::vector<std::pair<std::size_t, Value>>>> bases;
  for (std::size_t k = 1; k < table.size(); ++k) {
    const std::string name(table[k].attribute_base, strnlen(table[k].attribute_base, 22));
    if (name.empty() || table[k].storage != 2 || bases.count(name)) continue;
    std::vector<Field> fields;
    std::vector<std::vector<Value>> rows;
    auto& rows_by_code = bases[name];
    if (!read_dbf(name + ".dbf", &fields, &rows) || fields.empty() || fields[0].name != kCodeField)
      continue;
    std::vector<std::size_t> at(fields.size());
    for (std::size_t c = 1; c < fields.size(); ++c) {
      auto [it, added] = field_index.try_emplace(fields[c].name, set.fields.size());
      if (added) set.fields.push_back(fields[c]);
      at[c] = it->second;
    }
    for (auto& row : rows) {
      auto& values = rows_by_code[row[0].text];
      for (std::size_t c = 1; c < row.size(); ++c) values.push_back({at[c], row[c]});
    }
  }
  auto back = [&](Point& p) {
    p = {p.x / ref.scale - ref.offset_x, p.y / ref.scale - ref.offset_y};
  };
  for (const BaseFeature& bf : features) {
    Feature f = bf.feature;
    for (auto& part : f.parts)
      for (Point& p : part) back(p);
    for (Polygon& polygon : f.polygons)
      for (Ring& r : polygon)
        for (Point& p : r) back(p);
    f.values.assign(set.fields.size(), Value{});
    if (bf.kind > 0 && static_cast<std::size_t>(bf.kind) < table.size()) {
      const cx_kind& k = table[static_cast<std::size_t>(bf.kind)];
      const std::string name(k.attribute_base, strnlen(k.attribute_base, 22));
      if (auto base = bases.find(name); base != bases.end())
        if (auto row = base->second.find(bf.code); row != base->second.end())
          for (const auto& [field, value] : row->second) f.values[field] = value;
    }
    set.features.push_back(std::move(f));
  }
  return set;
}

}  // namespace cartex
