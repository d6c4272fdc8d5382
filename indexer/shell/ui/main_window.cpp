// The main window: its controls, the command routing and the rules that
// decide which menu items are enabled.
#include "shell/ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <new>

#include "shell/ui/help_window.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/printer_setup.h"

namespace trawlix {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frmLexmineMain"));
  setWindowTitle(QLatin1String(kInitialCaption));
  build_main_menu(menuBar());
  for (QAction* action : menuBar()->findChildren<QAction*>()) {
    if (action->isSeparator() || action->menu()) continue;
    connect(action, &QAction::triggered, this,
            [this, name = action->objectName()] { trigger(name); });
  }
  build_controls();
  resize(640, 420);
}

MainWindow::~MainWindow() = default;

void MainWindow::build_controls() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);

  documents_ = new QListWidget(central);
  documents_->setObjectName(QStringLiteral("lstDocuments"));
  documents_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  layout->addWidget(documents_, 1);

  auto* row = new QHBoxLayout;
  auto* external = new QLabel(central);
  external->setObjectName(QStringLiteral("lblExternal"));
  auto* letter = new QLabel(central);
  letter->setObjectName(QStringLiteral("lblLetter"));
  stop_ = new QPushButton(QStringLiteral("Stop !!"), central);
  stop_->setObjectName(QStringLiteral("btnStop"));
  stop_->setVisible(false);
  connect(stop_, &QPushButton::clicked, this, [this] { state_.keep_running = false; });
  row->addWidget(external);
  row->addWidget(letter);
  row->addStretch(1);
  row->addWidget(stop_);
  layout->addLayout(row);

  auto* general = new QProgressBar(central);
  general->setObjectName(QStringLiteral("pbGeneralProgress"));
  auto* index = new QProgressBar(central);
  index->setObjectName(QStringLiteral("pgIndexProgress"));
  for (QProgressBar* bar : {general, index}) {
    bar->setRange(0, 100);
    bar->setValue(0);
    layout->addWidget(bar);
  }
  setCentralWidget(central);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("lblStatus"));
  statusBar()->addWidget(status_, 1);
  show_rest_status();

  ui_.attach({this, documents_, external, letter, general, index});
}

QPrinter& MainWindow::printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>();
    pdf_default_ = QString::fromStdString(workspace_.file("document-list.pdf"));
    prepare_listing_printer(*printer_, !QPrinterInfo::availablePrinters().isEmpty(), pdf_default_);
  }
  return *printer_;
}

QAction* MainWindow::entry(const QString& name) const {
  QAction* action = menuBar()->findChild<QAction*>(name);
  return action && !action->menu() ? action : nullptr;
}

void MainWindow::set_command(const QString& name, std::function<void()> command,
                             CommandOptions options) {
  if (!entry(name)) return;
  commands_[name] = Command{std::move(command), options};
  refresh_commands();
}

void MainWindow::refresh_commands() {
  bool has_database = workspace_.db() != nullptr;
  for (QAction* action : menuBar()->findChildren<QAction*>()) {
    if (action->isSeparator() || action->menu()) continue;
    auto it = commands_.find(action->objectName());
    bool enabled = it != commands_.end() && (has_database || !it->second.options.needs_database) &&
                   (!running_ || it->second.options.allowed_while_running);
    action->setEnabled(enabled);
  }
}

void MainWindow::trigger(const QString& name) {
  auto it = commands_.find(name);
  if (it == commands_.end()) return;
  // A copy: the command may replace its own registration.
  std::function<void()> run = it->second.run;
  run_guarded(run);
}

// A command that runs out of memory ends with a message, and the window
// stays usable: the work of a page is one transaction, rolled back as the
// failure unwinds.
void MainWindow::run_guarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::bad_alloc&) {
    ui().show_message("Out of memory:", "The command was stopped: there was not memory enough.",
                      Icon::kCritical);
  }
}

bool MainWindow::run_long(const RunOptions& options, const std::function<void()>& loop) {
  if (running_) return false;
  running_ = true;
  state_.keep_running = true;
  refresh_commands();
  stop_->setVisible(options.show_stop);
  run_guarded(loop);
  stop_->setVisible(false);
  state_.keep_running = false;
  running_ = false;
  refresh_commands();
  show_rest_status();
  if (quit_requested_) close();
  return true;
}

void MainWindow::quit() {
  if (running_) {
    quit_requested_ = true;
    state_.keep_running = false;
    return;
  }
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    quit();
    return;
  }
  if (help_) help_->close();
  event->accept();
}

void MainWindow::workspace_changed(const QString& prefix) {
  setWindowTitle(prefix + QString::fromStdString(workspace_.dir()) + QLatin1Char(')'));
  // A listing file the user did not choose follows the WorkSpace.
  if (printer_ && printer_->outputFileName() == pdf_default_) {
    pdf_default_ = QString::fromStdString(workspace_.file("document-list.pdf"));
    printer_->setOutputFileName(pdf_default_);
  }
  refresh_commands();
  show_rest_status();
}

void MainWindow::show_progress(const QString& text) {
  status_->setText(text);
}

void MainWindow::show_rest_status() {
  Database* db = workspace_.db();
  if (!db) {
    status_->setText(QStringLiteral("No WorkSpace open"));
    return;
  }
  int64_t docs = db->query_int("select count(*) from Docs");
  int64_t words = db->query_int("select count(*) from Words");
  status_->setText(QStringLiteral("%1: %2 documents, %3 words")
                       .arg(QString::fromStdString(workspace_.dir()))
                       .arg(docs)
                       .arg(words));
}

HelpWindow& MainWindow::help_window() {
  if (!help_) help_ = new HelpWindow(help_directory(), this);
  return *help_;
}

void MainWindow::show_help(const QString& keyword) {
  help_window().show_topic(keyword);
}

void MainWindow::show_help_search() {
  help_window().show_search();
}

}  // namespace trawlix
