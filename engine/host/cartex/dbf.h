// The dBase III table of a base's attribute base: written by the import,
// read back by the export. Values are the fields' texts without the
// padding; a blank numeric or logical field is null.
#pragma once

#include <string>
#include <vector>

#include "feature_set.h"

namespace cartex {

// Writes the table; false when the file cannot be written (a partial file
// is removed).
bool write_dbf(const std::string& path, const std::vector<Field>& fields,
               const std::vector<std::vector<Value>>& rows);

// Reads every record not marked deleted; false when the file is missing or
// not a dBase table.
bool read_dbf(const std::string& path, std::vector<Field>* fields,
              std::vector<std::vector<Value>>* rows);

}  // namespace cartex
