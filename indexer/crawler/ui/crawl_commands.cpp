// Connecting the crawl commands.
#include "crawler/ui/crawl_commands.h"

#include <memory>

#include "crawler/crawl_scheduler.h"
#include "crawler/ui/add_url_dialog.h"
#include "crawler/ui/open_url_dialog.h"
#include "crawler/ui/start_crawl_dialog.h"
#include "shell/ui/main_window.h"

namespace trawlix {
namespace {

void crawl(MainWindow& w, HttpClient& http, bool restart) {
  w.state().restart_all = restart;
  StartCrawlDialog dialog(w.state().settings, &w);
  if (dialog.exec() != QDialog::Accepted) return;
  w.ui().process_events();
  w.run_long({.show_stop = true}, [&w, &http] {
    w.ui().list_clear();
    w.ui().process_events();
    CrawlScheduler scheduler(w.workspace(), w.state(), w.ui(), http);
    scheduler.set_on_progress([&w](const CrawlProgress& progress) {
      w.show_progress(QString::fromStdString(progress_text(progress)));
    });
    scheduler.start_crawl();
  });
}

}  // namespace

void install_crawl_commands(MainWindow& window, HttpClient& http) {
  MainWindow* w = &window;
  HttpClient* h = &http;
  // The Add URL dialog shows the values of its last use.
  auto previous = std::make_shared<StartUrl>();

  w->set_command(QStringLiteral("mnuURLCrawler"), [w, previous] {
    while (true) {
      previous->url.clear();
      previous->description.clear();
      AddUrlDialog dialog(*w->workspace().db(), w->ui(), *previous, w);
      if (dialog.exec() != QDialog::Accepted) break;
      *previous = dialog.start_url();
      add_start_url(*w->workspace().db(), w->ui(), *previous);
    }
  });
  w->set_command(QStringLiteral("mnuReindexURL"), [w, h] { crawl(*w, *h, true); });
  w->set_command(QStringLiteral("mnuResumeCrawler"), [w, h] { crawl(*w, *h, false); });
  w->set_command(QStringLiteral("mnuAddURL"), [w, h, previous] {
    AddUrlDialog dialog(*w->workspace().db(), w->ui(), *previous, w);
    if (dialog.exec() != QDialog::Accepted) return;
    *previous = dialog.start_url();
    StartUrl start = *previous;
    w->run_long({}, [w, h, start] {
      CrawlScheduler scheduler(w->workspace(), w->state(), w->ui(), *h);
      scheduler.explore_url(start);
    });
  });
  w->set_command(QStringLiteral("mnuOpenURL"), [w, h, previous] {
    OpenUrlDialog dialog(w->ui(), previous->url, previous->description, w);
    if (dialog.exec() != QDialog::Accepted) return;
    previous->url = dialog.url();
    previous->description = dialog.description();
    std::string url = dialog.url();
    w->run_long({}, [w, h, url] {
      CrawlScheduler scheduler(w->workspace(), w->state(), w->ui(), *h);
      scheduler.open_url(url);
    });
  });
}

}  // namespace trawlix
