// The external link survey ("Mail Robot"): every link a crawl in mail robot
// mode recorded in URLexternos is fetched once, and its page classified:
// whether it offers a search, is a frame set or a refresh redirect, is an
// error page, and which mail addresses it publishes.
//
// A row with a null urlSearch has not been surveyed. Before its page is
// fetched a row is marked (urlSearch and urlFrames false, urlError true),
// so a survey stopped or killed during a fetch resumes after that row.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "crawler/http_client.h"
#include "shell/indexer_state.h"
#include "shell/user_interface.h"
#include "shell/workspace.h"

namespace trawlix {

// What the survey made of one stored page.
struct PageClassification {
  bool search = false;  // "SEARCH" not preceded by a letter A to Z
  bool frames = false;  // FRAMESET, or META HTTP-EQUIV with REFRESH
  bool error = true;    // no page, or a page under 100 bytes saying " 404"
  std::string mailto1;  // the first address found
  std::string mailto2;  // the last of the further addresses
};

// Classifies the page in `path` (lines ending with a carriage return, as
// the fetcher stores them). A missing or unreadable file is an error page.
PageClassification classify_page(const std::string& path);

// The mail address of the first "MAILTO" (in any case) of a line, as the
// line writes it: what follows "MAILTO" and one more character, blanks
// trimmed, up to a closing quote, a blank or a ">". Empty when the line
// has no MAILTO or nothing follows it.
std::string mail_address(const std::string& line);

struct SurveyedLink {
  int64_t row = 0;  // rowid in URLexternos
  std::string url;
  PageClassification page;
};

struct SurveyReport {
  int32_t skipped = 0;   // rows surveyed before
  int32_t surveyed = 0;  // rows surveyed now
  bool stopped = false;  // Stop ended it with rows still to survey
  bool failed = false;   // a database error ended it (reported)
};

// survey_external_links, the Mail Robot command: walks URLexternos in rowid
// order, skipping (and counting) the rows surveyed before, fetching each
// other page into the working file with the page listed, and writing its
// classification into its row. A page that came with an HTTP error status
// is an error page, whatever its text. Sets state.keep_running; clearing it (Stop)
// ends the survey before the next row. state.external_count and the
// external label show the progress; `on_link` hears of each row surveyed.
SurveyReport survey_external_links(Workspace& ws, IndexerState& state, UserInterface& ui,
                                   HttpClient& http,
                                   const std::function<void(const SurveyedLink&)>& on_link = {});

}  // namespace trawlix
