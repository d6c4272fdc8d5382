// Texts of a base are Windows-1252, as the engine reads them; GeoJSON is
// UTF-8. These convert between the two.
#pragma once

#include <string>

namespace cartex {

// Characters Windows-1252 lacks, and bytes that are not UTF-8, become '?'.
std::string utf8_to_1252(const std::string& text);
std::string cp1252_to_utf8(const std::string& text);

}  // namespace cartex
