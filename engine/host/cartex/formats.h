// The files cartex reads and writes: GeoJSON, and ESRI Shapefiles with
// their dBase tables when built with shapelib.
#pragma once

#include <string>

#include "feature_set.h"

namespace cartex {

// Each returns false with the reason in *error; nothing is written then
// (a partly written file is removed).
bool read_geojson(const std::string& path, FeatureSet* set, std::string* error);
bool write_geojson(const std::string& path, const FeatureSet& set, std::string* error);

// Whether this cartex was built with Shapefile support.
bool shapefile_support();
// A Shapefile holds one geometry type: write_shapefile writes the
// polygons to path and lines and points, when there are any, beside it as
// NAME_lines.shp and NAME_points.shp; *written lists the files.
bool read_shapefile(const std::string& path, FeatureSet* set, std::string* error);
bool write_shapefile(const std::string& path, const FeatureSet& set, std::string* written,
                     std::string* error);

}  // namespace cartex
