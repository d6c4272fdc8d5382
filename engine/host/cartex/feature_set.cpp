// fit_fields: the dBase column of each field from the values it holds.
#include "feature_set.h"

#include <algorithm>
#include <cstdlib>

namespace cartex {

namespace {

bool is_number(const std::string& text) {
  if (text.empty()) return false;
  char* end = nullptr;
  std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() &&
         text.find_first_not_of("0123456789+-.eE") == std::string::npos;
}

int decimals_of(const std::string& text) {
  const auto dot = text.find('.');
  if (dot == std::string::npos) return 0;
  const auto end = text.find_first_of("eE", dot);
  return static_cast<int>((end == std::string::npos ? text.size() : end) - dot - 1);
}

}  // namespace

void fit_fields(FeatureSet& set) {
  for (std::size_t f = 0; f < set.fields.size(); ++f) {
    Field& field = set.fields[f];
    bool numbers = true;
    int length = 1, decimals = 0;
    for (Feature& feature : set.features) {
      if (feature.values.size() <= f) feature.values.resize(set.fields.size());
      Value& v = feature.values[f];
      if (v.null) continue;
      if (v.text.size() > 254) v.text.resize(254);
      numbers = numbers && is_number(v.text);
      length = std::max(length, static_cast<int>(v.text.size()));
      decimals = std::max(decimals, decimals_of(v.text));
    }
    if (field.type == '?') field.type = numbers ? 'N' : 'C';
    if (field.type == 'L') {
      field.length = 1;
      continue;
    }
    field.length = std::max(field.length, length);
    field.decimals = field.type == 'N' ? std::max(field.decimals, decimals) : 0;
  }
}

}  // namespace cartex
