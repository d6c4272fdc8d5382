// Printing the document listing.
#include "search/ui/listing_print.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "search/document_reports.h"
#include "shell/ui/qt_text.h"

namespace trawlix {
namespace {

QFont listing_font() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(10);
  return font;
}

}  // namespace

ListingGeometry listing_geometry(QPrinter& printer) {
  QFontMetrics metrics(listing_font(), &printer);
  QRectF area = printer.pageRect(QPrinter::DevicePixel);
  ListingGeometry g;
  int advance = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
  g.columns = static_cast<size_t>(std::max(1, static_cast<int>(area.width()) / advance));
  g.rows = static_cast<size_t>(
      std::max(1, static_cast<int>(area.height()) / std::max(1, metrics.lineSpacing())));
  return g;
}

bool print_listing(QPrinter& printer, const std::vector<std::string>& lines, QString* error) {
  ListingGeometry g = listing_geometry(printer);
  std::vector<std::vector<std::string>> pages = listing_pages(lines, g.columns, g.rows);
  QPainter painter;
  if (!painter.begin(&printer)) {
    *error = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    return false;
  }
  painter.setFont(listing_font());
  QFontMetrics metrics(painter.font(), &printer);
  for (size_t k = 0; k < pages.size(); ++k) {
    if (k > 0) printer.newPage();
    int y = metrics.ascent();
    for (const std::string& line : pages[k]) {
      painter.drawText(0, y, display_text(line));
      y += metrics.lineSpacing();
    }
  }
  painter.end();
  return true;
}

}  // namespace trawlix
