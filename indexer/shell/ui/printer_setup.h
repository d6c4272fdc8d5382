// Setup Printer: choosing the printer the document listing prints on.
#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace trawlix {

inline constexpr const char kPrinterDialogTitle[] = "Database resultset Printer";

// Gives a new listing printer its start values: the system's default
// printer or, on a system without printers, a PDF file at `pdf_path`.
void prepare_listing_printer(QPrinter& printer, bool system_has_printer, const QString& pdf_path);

// Shows the print set-up dialog over `printer`. On OK the printer keeps the
// choice (a printer, or a PDF file); Cancel or a failure leaves it as it
// was, without a message. Returns true on OK.
bool setup_printer(QPrinter& printer, QWidget* parent);

}  // namespace trawlix
