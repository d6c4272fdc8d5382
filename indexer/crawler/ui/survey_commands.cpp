// Connecting the Mail Robot command.
#include "crawler/ui/survey_commands.h"

#include "crawler/crawl_progress.h"
#include "crawler/link_survey.h"
#include "shell/ui/main_window.h"

namespace trawlix {

void install_survey_commands(MainWindow& window, HttpClient& http) {
  MainWindow* w = &window;
  HttpClient* h = &http;
  w->set_command(QStringLiteral("mnuMailRobot"), [w, h] {
    w->run_long({.show_stop = true}, [w, h] {
      // The status bar counts the links surveyed, those that gave no page,
      // and those still to survey.
      ProgressCounter counter;
      counter.set_listener([w](const CrawlProgress& progress) {
        w->show_progress(QString::fromStdString(progress_text(progress)));
      });
      counter.begin();
      Database& db = *w->workspace().db();
      survey_external_links(
          w->workspace(), w->state(), w->ui(), *h, [&counter, &db](const SurveyedLink& link) {
            counter.page_done(link.page.error, db.query_int("select count(*) from URLexternos "
                                                            "where urlSearch is null"));
          });
    });
  });
}

}  // namespace trawlix
