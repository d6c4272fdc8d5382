// new, info, import and export.
#include "commands.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "formats.h"

namespace cartex {

namespace fs = std::filesystem;

namespace {

bool wants_help(const Args& args, const char* text) {
  if (std::find(args.begin(), args.end(), "--help") == args.end() &&
      std::find(args.begin(), args.end(), "-h") == args.end())
    return false;
  std::fputs(text, stdout);
  return true;
}

bool is_shapefile(const std::string& path) {
  const std::string ext = fs::path(path).extension().string();
  return ext == ".shp" || ext == ".SHP";
}

std::string absolute(const std::string& path) {
  return fs::absolute(path).lexically_normal().string();
}

}  // namespace

int cmd_new(const Engine& engine, const Args& args) {
  if (wants_help(args,
                 "usage: cartex new DIR\n\nMakes DIR (when missing) and a new, empty base "
                 "in it: layer 1 \"topologia\"\nof areas and the kinds \"Arco\" and "
                 "\"Nodo\". An existing base is never overwritten.\n"))
    return 0;
  if (args.size() != 1) return usage_error("new", "one folder expected");
  std::error_code failed;
  fs::create_directories(args[0], failed);
  const std::string old = fs::current_path().string();
  fs::current_path(args[0], failed);
  if (failed) {
    std::fprintf(stderr, "cartex new: %s: %s\n", args[0].c_str(), failed.message().c_str());
    return 3;
  }
  const int16_t made = engine.crear_BG(0);
  fs::current_path(old, failed);
  if (made != 0) return 3;
  std::printf("%s\n", absolute(args[0]).c_str());
  return 0;
}

int cmd_info(const Engine& engine, const Args& args) {
  if (wants_help(args,
                 "usage: cartex info DIR\n\nPrints the base's layers with their kind and "
                 "counts (objects and areas, or\nnodes, arcs and area objects), its object "
                 "kinds, and whether every area\ncloses (every arc end of its description "
                 "meets another).\n"))
    return 0;
  if (args.size() != 1) return usage_error("info", "one base folder expected");
  const std::string folder = absolute(args[0]);
  Session session(engine, args[0]);
  if (!session.ok()) {
    std::fprintf(stderr, "cartex info: %s\n", session.error().c_str());
    return 3;
  }
  const std::vector<BaseFeature> features = read_features(engine);
  std::printf("base %s\n", folder.c_str());
  static const char* const kind_names[] = {"objects", "coded areas", "nodes and arcs", "areas"};
  for (const Layer& l : layers(engine)) {
    const int kind = std::min<int>(l.record.kind, 3);
    std::printf("layer %d \"%s\": %s", l.number, l.record.name, kind_names[kind]);
    if (kind >= 2) {
      engine.set_consts(24, static_cast<int16_t>(l.number));
      int16_t red[CX_RED_HANDLES] = {};
      int16_t networks = 0;
      engine.get_red(red, engine.get_red_act(0), &networks);
      const std::string prefix = [&] {
        std::string p(l.record.network_prefix, strnlen(l.record.network_prefix, 5));
        for (char& c : p) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return p;
      }();
      std::printf(", network %s: %d nodes, %d arcs", prefix.c_str(),
                  record_count(prefix + "nodo.dat", 46), record_count(prefix + "arco.dat", 41));
      if (kind == 3) {
        int areas = 0, open = 0;
        for (const BaseFeature& f : features)
          if (f.feature.geometry == Geometry::kPolygon) ++areas, open += !f.closed;
        std::printf(", %d area objects (%d closed, %d open)", areas, areas - open, open);
      }
    } else {
      std::printf(": %d objects, %d coded areas", record_count("OBJETOS.DAT", 31),
                  record_count("AREAS.DAT", 29));
    }
    std::printf("\n");
  }
  engine.set_consts(24, 0);
  const std::vector<cx_kind> table = kinds(engine);
  for (std::size_t k = 1; k < table.size(); ++k) {
    std::size_t count = 0;
    for (const BaseFeature& f : features) count += f.kind == static_cast<int16_t>(k);
    std::printf("kind %zu \"%s\": layer %d, geometry %d", k, table[k].name, table[k].layer,
                table[k].geometry);
    if (table[k].attribute_base[0]) std::printf(", attributes %.22s", table[k].attribute_base);
    if (count) std::printf(", %zu features", count);
    std::printf("\n");
  }
  for (const BaseFeature& f : features)
    if (!f.closed) std::printf("area %d (code %s) does not close\n", f.record, f.code.c_str());
  return 0;
}

int cmd_import(const Engine& engine, const Args& args) {
  if (wants_help(args,
                 "usage: cartex import DIR FILE\n\nAdds the features of FILE to the base DIR: "
                 "a GeoJSON file (.geojson, .json)\nor a Shapefile (.shp with its .shx and "
                 ".dbf). Polygons become area objects\nof layer 1 over arcs shared between "
                 "neighbours; points and lines T0 objects\nof a layer \"objetos\". Each "
                 "feature's properties become a record of a new\ndBase attribute base named "
                 "after the file, keyed by the feature's code.\nLongitudes and latitudes are "
                 "kept at 10,000 ground units a degree.\n"))
    return 0;
  if (args.size() != 2) return usage_error("import", "a base folder and a file expected");
  const std::string file = absolute(args[1]);
  FeatureSet set;
  std::string error;
  if (!(is_shapefile(file) ? read_shapefile(file, &set, &error)
                           : read_geojson(file, &set, &error))) {
    std::fprintf(stderr, "cartex import: %s\n", error.c_str());
    return 3;
  }
  Session session(engine, args[0]);
  if (!session.ok()) {
    std::fprintf(stderr, "cartex import: %s\n", session.error().c_str());
    return 3;
  }
  const std::size_t count = set.features.size();
  if (!import_features(engine, std::move(set), fs::path(file).stem().string(),
                       progress_printer())) {
    std::fprintf(stderr, "cartex import: %s: the import stopped\n", file.c_str());
    return 3;
  }
  std::printf("%zu features imported from %s\n", count, file.c_str());
  return 0;
}

int cmd_export(const Engine& engine, const Args& args) {
  if (wants_help(args,
                 "usage: cartex export DIR FILE\n\nWrites the features of the base DIR to FILE: "
                 "GeoJSON, or a Shapefile when\nFILE ends in .shp (polygons there; lines and "
                 "points beside it in\nNAME_lines.shp and NAME_points.shp). Area objects come "
                 "out as polygons\nwith their holes, T0 objects of one coded area as one "
                 "feature, and the\nfields of their attribute bases as properties.\n"))
    return 0;
  if (args.size() != 2) return usage_error("export", "a base folder and a file expected");
  const std::string file = absolute(args[1]);
  if (is_shapefile(file) && !shapefile_support()) {
    std::fprintf(stderr, "cartex export: this cartex was built without Shapefile support\n");
    return 3;
  }
  Session session(engine, args[0]);
  if (!session.ok()) {
    std::fprintf(stderr, "cartex export: %s\n", session.error().c_str());
    return 3;
  }
  const std::vector<BaseFeature> features = read_features(engine);
  const FeatureSet set = to_file_features(engine, features, read_georef());
  std::string error, written = file;
  const bool ok = is_shapefile(file)
                      ? (written.clear(), write_shapefile(file, set, &written, &error))
                      : write_geojson(file, set, &error);
  if (!ok) {
    std::fprintf(stderr, "cartex export: %s\n", error.c_str());
    return 3;
  }
  std::printf("%zu features exported to %s\n", set.features.size(), written.c_str());
  return 0;
}

}  // namespace cartex
