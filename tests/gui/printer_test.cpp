// Setup Printer and the printer the document listing uses.
#include <QPrintDialog>
#include <QPrinter>

#include "gui_support.h"
#include "shell/ui/printer_setup.h"

namespace trawlix {
namespace {

TEST(ListingPrinter, WithoutASystemPrinterItPrintsToAPdfFile) {
  QPrinter none;
  prepare_listing_printer(none, false, "/ws/document-list.pdf");
  EXPECT_EQ(none.outputFormat(), QPrinter::PdfFormat);
  EXPECT_EQ(none.outputFileName(), "/ws/document-list.pdf");

  QPrinter some;
  QPrinter::OutputFormat before = some.outputFormat();
  prepare_listing_printer(some, true, "/ws/document-list.pdf");
  EXPECT_EQ(some.outputFormat(), before);
  EXPECT_TRUE(some.outputFileName().isEmpty());
}

TEST(SetupPrinter, CancelKeepsThePrinterAndSaysNothing) {
  testing::StartedWindow started;
  QPrinter& printer = started.window.printer();
  QString file = printer.outputFileName();
  QString title;
  testing::when_modal([&](QWidget* modal) {
    title = modal->windowTitle();
    EXPECT_NE(qobject_cast<QPrintDialog*>(modal), nullptr);
    qobject_cast<QDialog*>(modal)->reject();
  });
  started.trigger("mnuSetupPrinter");
  EXPECT_EQ(title, "Database resultset Printer");
  EXPECT_TRUE(started.recorder.messages.empty());
  EXPECT_EQ(&started.window.printer(), &printer);
  EXPECT_EQ(printer.outputFileName(), file);
}

TEST(SetupPrinter, OkKeepsTheChoiceForTheListing) {
  testing::StartedWindow started;
  QPrinter& printer = started.window.printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(started.home.file("chosen.pdf")));
  printer.setCopyCount(1);
  testing::when_modal([&](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); });
  EXPECT_TRUE(setup_printer(printer, &started.window));
  EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
  EXPECT_EQ(printer.outputFileName().toStdString(), started.home.file("chosen.pdf"));
}

TEST(ListingPrinter, ADefaultPdfFileFollowsTheWorkspace) {
  testing::StartedWindow started;
  QPrinter& printer = started.window.printer();
  if (printer.outputFormat() != QPrinter::PdfFormat) GTEST_SKIP() << "this system has a printer";
  EXPECT_EQ(printer.outputFileName().toStdString(), started.home.file("document-list.pdf"));
  testing::TempDir parent;
  ASSERT_EQ(started.window.workspace().create_new(parent.path(), "next"),
            Workspace::CreateResult::kCreated);
  started.window.workspace_changed(kCreatedCaption);
  EXPECT_EQ(printer.outputFileName().toStdString(), parent.path() + "/next/document-list.pdf");
  // A file the user chose stays.
  printer.setOutputFileName("/elsewhere/mine.pdf");
  started.window.workspace_changed(kCreatedCaption);
  EXPECT_EQ(printer.outputFileName(), "/elsewhere/mine.pdf");
}

}  // namespace
}  // namespace trawlix
