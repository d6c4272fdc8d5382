// Shapefiles in a cartex built without shapelib: refused with the reason.
#include "formats.h"

namespace cartex {

bool shapefile_support() {
  return false;
}

bool read_shapefile(const std::string& path, FeatureSet*, std::string* error) {
  *error = path + ": this cartex was built without Shapefile support (shapelib)";
  return false;
}

bool write_shapefile(const std::string& path, const FeatureSet&, std::string*, std::string* error) {
  *error = path + ": this cartex was built without Shapefile support (shapelib)";
  return false;
}

}  // namespace cartex
