// The survey command: the external link survey, one line per link
// surveyed; Ctrl-C stops it as the Stop button does.
#include <ostream>

#include "cli/cli.h"
#include "crawler/curl_http_client.h"
#include "crawler/link_survey.h"

namespace trawlix::cli {
namespace {

std::string flags(const PageClassification& page) {
  std::string out;
  for (auto [set, name] : {std::pair{page.search, "search"}, std::pair{page.frames, "frames"},
                           std::pair{page.error, "error"}}) {
    if (!set) continue;
    if (!out.empty()) out += ',';
    out += name;
  }
  return out.empty() ? "-" : out;
}

}  // namespace

int cmd_survey(Context& ctx, const Arguments&) {
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  IndexerState state;
  CurlHttpClient http;
  ctx.ui.set_show_list(false);
  ctx.ui.set_on_interrupt([&state] { state.keep_running = false; });
  SurveyReport report =
      survey_external_links(*ws, state, ctx.ui, http, [&ctx](const SurveyedLink& link) {
        ctx.out << link.row << "\t" << flags(link.page) << "\t" << terminal_field(link.url);
        for (const std::string* mail : {&link.page.mailto1, &link.page.mailto2}) {
          if (!mail->empty()) ctx.out << "\t" << terminal_field(*mail);
        }
        ctx.out << std::endl;
      });
  if (report.failed) return kExitFailure;
  if (interrupted()) {
    ctx.err << "Stopped after " << report.surveyed << " links.\n";
    return kExitStopped;
  }
  ctx.err << report.surveyed << " links surveyed, " << report.skipped << " surveyed before.\n";
  return report.surveyed > 0 ? kExitOk : kExitNothingFound;
}

}  // namespace trawlix::cli
