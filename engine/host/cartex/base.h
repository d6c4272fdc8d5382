// A base as cartex reads and writes it through the engine's exports: the
// session opened on its folder, the features it holds, and new features
// added to it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine.h"
#include "feature_set.h"

namespace cartex {

// How file coordinates map to the base's ground units, which are never
// negative: ground = (file + offset) x scale. Kept in the base's
// cartex.ref, written by the first import.
struct Georef {
  double offset_x = 0, offset_y = 0, scale = 1;
  long next_code = 1;  // the code the next imported feature gets
  bool known = false;
};
Georef read_georef();
bool write_georef(const Georef& ref);
// Longitude and latitude get offset 180, 90 and 10,000 units a degree;
// other coordinates their own units, shifted to be non-negative.
Georef georef_for(const FeatureSet& set);

// The current directory is the base while it lives; the session is open
// on it (inigks, inifil) and ended again (end_cons).
class Session {
 public:
  Session(const Engine& engine, const std::string& folder);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  // False, with the reason in error(), when the folder is no base.
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  const Engine& engine_;
  std::string old_, error_;
  bool open_ = false;
};

// Number of records of a record file, the header not counted (0 when
// missing).
int32_t record_count(const std::string& file, int size);
// Whether record n of the open file was given back (-1 in its first bytes).
bool given_back(const Engine& engine, int16_t handle, int32_t n, int size);

struct Layer {
  int number;
  cx_layer record;
};
std::vector<Layer> layers(const Engine& engine);
std::vector<cx_kind> kinds(const Engine& engine);  // record 0 unused

// One feature of a base with where it came from.
struct BaseFeature {
  Feature feature;     // in ground units
  int16_t kind = 0;    // TABOBJ.DAT record
  std::string code;    // its code, without the layer's prefix digits
  int32_t record = 0;  // objs.dat record (areas) or first OBJETOS.DAT record
  bool closed = true;  // areas: every arc end meets another
};

// Every area object of the base's area networks and every T0 object (those
// linked to one T1 area make one feature), read in record order.
std::vector<BaseFeature> read_features(const Engine& engine);

// The attribute values of each feature from the dBase bases of its kind,
// matched by code, as one FeatureSet (fields in the order first met), and
// the geometry taken back to file coordinates.
FeatureSet to_file_features(const Engine& engine, const std::vector<BaseFeature>& features,
                            const Georef& ref);

using Progress = std::function<void(const char* what, std::size_t done, std::size_t total)>;

// Adds the features to the base (the session open): polygons as area
// objects of layer 1's network over shared arcs, points and lines as T0
// objects of a layer "objetos", each with its attributes in a new dBase
// attribute base named after `name`. Returns false after the message on
// stderr when something could not be written.
bool import_features(const Engine& engine, FeatureSet set, const std::string& name,
                     const Progress& progress);

// The key column cartex adds to an attribute base: the feature's code.
inline constexpr const char* kCodeField = "CX_CODE";
inline constexpr int kCodeLength = 11;

}  // namespace cartex
