// The main window's menus, in the order of the bar.
#include "shell/ui/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace trawlix {
namespace {

struct Entry {
  const char* name;
  const char* caption;  // "-" for a separator
  bool shown;
  bool top;  // a menu of the bar; the items below it belong to it
};

// Hidden entries have no command; mnuMailRobot is shown at start-up when the
// program runs in Mail Robot mode.
constexpr Entry kEntries[] = {
    {"mnuFile", "&File", true, true},
    {"mnuOpenWorkSpace", "&Open Index Workspace", true, false},
    {"mnuCreateWorkspace", "&Create Index Workspace", true, false},
    {"mnuReinit", "&Initialize Index Workspace", true, false},
    {"mnuLine10", "-", true, false},
    {"mnuSetupPrinter", "Setup Printer", true, false},
    {"mnuPrintDocuments", "Print Document List", true, false},
    {"mnuLine8", "-", false, false},
    {"mnuLine3", "-", true, false},
    {"mnuQuit", "&Quit", true, false},
    {"mnuExplore", "Crawl ", true, true},
    {"mnuOpenURL", "Open &URL...", false, false},
    {"mnuURLCrawler", "&Add starting URL's", true, false},
    {"mnuReindexURL", "&Start exploration", true, false},
    {"mnuResumeCrawler", "&Resume exploration process", true, false},
    {"mnuAddURL", "&Explore individual URL", true, false},
    {"mnuMailRobot", "Mail Robot", false, false},
    {"mnuEdit", "&Edit", true, true},
    {"mnuEditDocuments", "Edit &Document table", true, false},
    {"mnuEditWords", "Edit &Word table", false, false},
    {"mnuLine2", "-", true, false},
    {"mnuSearch", "&Search", true, false},
    {"mnuLine9", "-", false, false},
    {"mnuOptions", "&Options", false, false},
    {"mnuProcess", "&Process", true, true},
    {"mnuRegenerate", "&Generate Web Index", true, false},
    {"mnuUpload", "&Upload Web Index to site", false, false},
    {"mnuStatistics", "&Statistics", true, false},
    {"mnuHelp", "&Help", true, true},
    {"mnuContents", "&Contents", true, false},
    {"mnuSearchHelp", "&Search help for", true, false},
    {"mnuLine1", "-", true, false},
    {"mnuAbout", "&About Trawlix", true, false},
};

}  // namespace

void build_main_menu(QMenuBar* bar) {
  QMenu* menu = nullptr;
  for (const Entry& e : kEntries) {
    if (e.top) {
      menu = bar->addMenu(QString::fromLatin1(e.caption));
      menu->setObjectName(QLatin1String(e.name));
      menu->menuAction()->setObjectName(QLatin1String(e.name) + QLatin1String("Action"));
      continue;
    }
    QAction* action = QLatin1String(e.caption) == QLatin1String("-")
                          ? menu->addSeparator()
                          : menu->addAction(QString::fromLatin1(e.caption));
    action->setObjectName(QLatin1String(e.name));
    action->setVisible(e.shown);
    if (!action->isSeparator()) action->setEnabled(false);
  }
}

}  // namespace trawlix
