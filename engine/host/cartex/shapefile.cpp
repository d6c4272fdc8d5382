// ESRI Shapefiles through shapelib: .shp/.shx geometry and the .dbf table.
#include <shapefil.h>

#include <cstdio>
#include <memory>

#include "arcs.h"
#include "formats.h"

namespace cartex {

namespace {

struct ShpCloser {
  void operator()(SHPInfo* h) const { SHPClose(h); }
};
struct DbfCloser {
  void operator()(DBFInfo* h) const { DBFClose(h); }
};
using Shp = std::unique_ptr<SHPInfo, ShpCloser>;
using Dbf = std::unique_ptr<DBFInfo, DbfCloser>;
struct ObjectDeleter {
  void operator()(SHPObject* o) const { SHPDestroyObject(o); }
};

std::string stem_of(const std::string& path) {
  const auto dot = path.rfind('.');
  const auto slash = path.rfind('/');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash)
             ? path.substr(0, dot)
             : path;
}

bool read_feature(const SHPObject& o, Feature* f) {
  std::vector<std::vector<Point>> parts;
  for (int p = 0; p < std::max(1, o.nParts); ++p) {
    const int from = o.nParts ? o.panPartStart[p] : 0;
    const int to = p + 1 < o.nParts ? o.panPartStart[p + 1] : o.nVertices;
    std::vector<Point> part;
    for (int v = from; v < to; ++v) part.push_back({o.padfX[v], o.padfY[v]});
    parts.push_back(std::move(part));
  }
  switch (o.nSHPType) {
    case SHPT_POINT:
    case SHPT_POINTZ:
    case SHPT_POINTM:
    case SHPT_MULTIPOINT:
    case SHPT_MULTIPOINTZ:
    case SHPT_MULTIPOINTM:
      f->geometry = Geometry::kPoint;
      for (const auto& part : parts)
        for (const Point& p : part) f->parts.push_back({p});
      return true;
    case SHPT_ARC:
    case SHPT_ARCZ:
    case SHPT_ARCM:
      f->geometry = Geometry::kLine;
      f->parts = parts;
      return true;
    case SHPT_POLYGON:
    case SHPT_POLYGONZ:
    case SHPT_POLYGONM:
      f->geometry = Geometry::kPolygon;
      for (auto& part : parts)
        if (part.size() > 1 && part.front() == part.back()) part.pop_back();
      f->polygons = polygons_from_rings(parts);
      return true;
    default:
      return false;
  }
}

}  // namespace

bool shapefile_support() {
  return true;
}

bool read_shapefile(const std::string& path, FeatureSet* set, std::string* error) {
  const std::string stem = stem_of(path);
  Shp shp(SHPOpen(stem.c_str(), "rb"));
  if (!shp) {
    *error = path + ": not a Shapefile (or its .shx is missing)";
    return false;
  }
  Dbf dbf(DBFOpen(stem.c_str(), "rb"));
  int count = 0, type = 0;
  SHPGetInfo(shp.get(), &count, &type, nullptr, nullptr);
  const int columns = dbf ? DBFGetFieldCount(dbf.get()) : 0;
  for (int c = 0; c < columns; ++c) {
    char name[12] = {};
    int width = 0, decimals = 0;
    const DBFFieldType t = DBFGetFieldInfo(dbf.get(), c, name, &width, &decimals);
    Field f;
    f.name = name;
    f.type = t == FTString ? 'C' : t == FTLogical ? 'L' : t == FTDate ? 'C' : 'N';
    f.length = width;
    f.decimals = decimals;
    set->fields.push_back(f);
  }
  for (int i = 0; i < count; ++i) {
    std::unique_ptr<SHPObject, ObjectDeleter> o(SHPReadObject(shp.get(), i));
    if (!o || o->nSHPType == SHPT_NULL) continue;
    Feature f;
    if (!read_feature(*o, &f)) {
      *error = path + ": shape type " + std::to_string(o->nSHPType) + " is not read";
      return false;
    }
    for (int c = 0; c < columns; ++c) {
      Value v;
      v.null = DBFIsAttributeNULL(dbf.get(), i, c) != 0;
      if (!v.null) {
        v.text = DBFReadStringAttribute(dbf.get(), i, c);
        if (set->fields[static_cast<std::size_t>(c)].type != 'C') {
          const auto first = v.text.find_first_not_of(' ');
          v.text = first == std::string::npos ? "" : v.text.substr(first);
        }
        v.text = v.text.substr(0, v.text.find_last_not_of(' ') + 1);
      }
      f.values.push_back(v);
    }
    set->features.push_back(std::move(f));
  }
  return true;
}

namespace {

bool write_one(const std::string& stem, const FeatureSet& set, Geometry geometry,
               std::string* error) {
  const int type = geometry == Geometry::kPolygon ? SHPT_POLYGON
                   : geometry == Geometry::kLine  ? SHPT_ARC
                                                  : SHPT_MULTIPOINT;
  Shp shp(SHPCreate(stem.c_str(), type));
  Dbf dbf(DBFCreate(stem.c_str()));
  if (!shp || !dbf) {
    *error = stem + ".shp: cannot be written";
    return false;
  }
  for (const Field& f : set.fields) {
    const DBFFieldType t = f.type == 'N'   ? (f.decimals ? FTDouble : FTInteger)
                           : f.type == 'L' ? FTLogical
                                           : FTString;
    if (DBFAddField(dbf.get(), f.name.c_str(), t, f.length, f.decimals) < 0) {
      *error = stem + ".dbf: the field " + f.name + " cannot be added";
      return false;
    }
  }
  int row = 0;
  for (const Feature& f : set.features) {
    if (f.geometry != geometry) continue;
    std::vector<int> starts;
    std::vector<double> x, y;
    auto add = [&](const std::vector<Point>& part, bool close) {
      starts.push_back(static_cast<int>(x.size()));
      for (const Point& p : part) x.push_back(p.x), y.push_back(p.y);
      if (close && !part.empty()) x.push_back(part.front().x), y.push_back(part.front().y);
    };
    for (const auto& part : f.parts) add(part, false);
    for (const Polygon& polygon : f.polygons)
      for (const Ring& r : polygon) add(r, true);
    std::unique_ptr<SHPObject, ObjectDeleter> o(SHPCreateObject(
        type, -1, type == SHPT_MULTIPOINT ? 0 : static_cast<int>(starts.size()), starts.data(),
        nullptr, static_cast<int>(x.size()), x.data(), y.data(), nullptr, nullptr));
    if (type == SHPT_POLYGON) SHPRewindObject(shp.get(), o.get());
    if (SHPWriteObject(shp.get(), -1, o.get()) < 0) {
      *error = stem + ".shp: cannot be written";
      return false;
    }
    for (std::size_t c = 0; c < set.fields.size(); ++c) {
      const Value& v = c < f.values.size() ? f.values[c] : Value{};
      const int column = static_cast<int>(c);
      // Numbers and logicals go in as their text, right-aligned, so that
      // they keep every digit they came with.
      const Field& field = set.fields[c];
      const std::string text =
          field.type == 'C' || v.text.size() >= static_cast<std::size_t>(field.length)
              ? v.text
              : std::string(static_cast<std::size_t>(field.length) - v.text.size(), ' ') + v.text;
      const bool ok =
          v.null ? DBFWriteNULLAttribute(dbf.get(), row, column)
          : field.type == 'C'
              ? DBFWriteStringAttribute(dbf.get(), row, column, v.text.c_str())
              : DBFWriteAttributeDirectly(dbf.get(), row, column, const_cast<char*>(text.c_str()));
      if (!ok && !v.null) {
        *error = stem + ".dbf: a value of " + set.fields[c].name + " cannot be written";
        return false;
      }
    }
    ++row;
  }
  return true;
}

}  // namespace

bool write_shapefile(const std::string& path, const FeatureSet& set, std::string* written,
                     std::string* error) {
  const std::string stem = stem_of(path);
  bool first = true;
  for (Geometry g : {Geometry::kPolygon, Geometry::kLine, Geometry::kPoint}) {
    bool any = false;
    for (const Feature& f : set.features) any = any || f.geometry == g;
    if (!any) continue;
    const std::string name = first                  ? stem
                             : g == Geometry::kLine ? stem + "_lines"
                                                    : stem + "_points";
    if (!write_one(name, set, g, error)) return false;
    *written += (written->empty() ? "" : " ") + name + ".shp";
    first = false;
  }
  if (first)
    return write_one(stem, set, Geometry::kPolygon, error) && (*written = stem + ".shp", true);
  return true;
}

}  // namespace cartex
