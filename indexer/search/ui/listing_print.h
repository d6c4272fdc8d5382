// Printing the document listing with QPainter: a fixed-pitch font, the
// lines laid out on the printer's pages by the listing's own page breaks.
#pragma once

#include <QString>
#include <string>
#include <vector>

class QPrinter;

namespace trawlix {

// How many characters a line and lines a page the printer's pages hold.
struct ListingGeometry {
  size_t columns = 1;
  size_t rows = 1;
};
ListingGeometry listing_geometry(QPrinter& printer);

// Prints `lines` (Windows-1252) on `printer` as one job. Returns false when
// the printer could not start (`error` says on what).
bool print_listing(QPrinter& printer, const std::vector<std::string>& lines, QString* error);

}  // namespace trawlix
