// Connecting the document table's commands.
#include "search/ui/document_commands.h"

#include "base/cp1252.h"
#include "search/document_reports.h"
#include "search/ui/edit_documents_dialog.h"
#include "search/ui/listing_print.h"
#include "shell/ui/main_window.h"

namespace trawlix {
namespace {

void print_documents(MainWindow& w) {
  UserInterface& ui = w.ui();
  auto lines = document_listing(*w.workspace().db(), ui);
  if (!lines || lines->empty()) return;
  ui.set_busy(true);
  QString target;
  bool printed = print_listing(w.printer(), *lines, &target);
  ui.set_busy(false);
  if (!printed) {
    ui.show_message(
        "Printing error:",
        "The document list could not be printed on " + utf8_to_cp1252(target.toStdString()) + ".",
        Icon::kCritical);
  }
}

}  // namespace

void install_document_commands(MainWindow& window) {
  MainWindow* w = &window;
  w->set_command(QStringLiteral("mnuEditDocuments"), [w] {
    EditDocumentsDialog dialog(*w->workspace().db(), w->ui(), w);
    dialog.exec();
  });
  w->set_command(QStringLiteral("mnuPrintDocuments"), [w] { print_documents(*w); });
  w->set_command(QStringLiteral("mnuStatistics"),
                 [w] { show_statistics(*w->workspace().db(), w->ui()); });
}

}  // namespace trawlix
