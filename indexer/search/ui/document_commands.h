// The document table's menu commands on the main window.
#pragma once

namespace trawlix {

class MainWindow;

// Connects "Edit Document table" (frmEditDocuments), "Print Document List"
// (on the printer Setup Printer chose) and "Statistics".
void install_document_commands(MainWindow& window);

}  // namespace trawlix
