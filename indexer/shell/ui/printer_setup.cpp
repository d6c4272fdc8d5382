// The print set-up dialog of the main window.
#include "shell/ui/printer_setup.h"

#include <QPrintDialog>
#include <QPrinter>

namespace trawlix {

void prepare_listing_printer(QPrinter& printer, bool system_has_printer, const QString& pdf_path) {
  if (system_has_printer) return;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf_path);
}

bool setup_printer(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("dlgSetupPrinter"));
  dialog.setWindowTitle(QLatin1String(kPrinterDialogTitle));
  // Set-up only: which printer (or file) and its settings, not which pages.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace trawlix
