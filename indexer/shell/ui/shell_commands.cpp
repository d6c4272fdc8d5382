// Connecting the shell's menu items to their commands.
#include "shell/ui/shell_commands.h"

#include "shell/ui/create_workspace_dialog.h"
#include "shell/ui/main_window.h"
#include "shell/ui/open_workspace_dialog.h"
#include "shell/ui/printer_setup.h"
#include "shell/ui/splash_form.h"

namespace trawlix {

void install_shell_commands(MainWindow& window) {
  MainWindow* w = &window;
  const MainWindow::CommandOptions anytime{.needs_database = false};

  w->set_command(
      QStringLiteral("mnuOpenWorkSpace"),
      [w] {
        OpenWorkspaceDialog dialog(w->workspace(), w);
        if (dialog.exec() == QDialog::Accepted) w->workspace_changed(QLatin1String(kOpenedCaption));
      },
      anytime);
  w->set_command(
      QStringLiteral("mnuCreateWorkspace"),
      [w] {
        CreateWorkspaceDialog dialog(w->workspace(), w);
        if (dialog.exec() == QDialog::Accepted) {
          w->workspace_changed(QLatin1String(kCreatedCaption));
        }
      },
      anytime);
  w->set_command(QStringLiteral("mnuReinit"), [w] { w->workspace().reinitialize(); });
  w->set_command(
      QStringLiteral("mnuSetupPrinter"), [w] { setup_printer(w->printer(), w); }, anytime);
  w->set_command(QStringLiteral("mnuQuit"), [w] { w->quit(); },
                 {.needs_database = false, .allowed_while_running = true});
  w->set_command(
      QStringLiteral("mnuContents"), [w] { w->show_help(QStringLiteral("Contents")); }, anytime);
  w->set_command(
      QStringLiteral("mnuSearchHelp"), [w] { w->show_help_search(); }, anytime);
  w->set_command(
      QStringLiteral("mnuAbout"),
      [w] {
        SplashForm about(w);
        about.exec();
      },
      anytime);
}

}  // namespace trawlix
