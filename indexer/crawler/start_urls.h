// Start URLs: the rows a person enters in Docs for the crawler to explore,
// and the parents a start URL may be given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/database.h"
#include "shell/user_interface.h"

namespace trawlix {

// What the Add URL dialog (or the add-url command) collects.
struct StartUrl {
  std::string url;  // as typed; typed_url() completes it
  std::string description;
  int max_depth = 0;   // below 1: no limit
  int level = 0;       // of this page; the row is stored one level deeper
  int32_t parent = 0;  // DocID, 0 for the home page
  bool crawl_above = false;
};

struct ParentChoice {
  std::string caption;  // "(HOME PAGE)", or the URL from its 8th character on
  int32_t doc_id;
};

// "(HOME PAGE)" and one entry per document, in DocID order.
std::vector<ParentChoice> parent_choices(Database& db);

enum class AddResult { kAdded, kAlreadyLoaded, kEmptyUrl, kTooLong, kFailed };

// Adds a start URL as a waiting row unless its URL is known already (in
// any case), telling the user which. A URL longer than a link may be is
// refused with the message a link gets, never cut. `doc_id` receives the row's DocID,
// new or existing. With `quiet_when_known` a known URL is not reported.
AddResult add_start_url(Database& db, UserInterface& ui, const StartUrl& start,
                        int32_t* doc_id = nullptr, bool quiet_when_known = false);

// The numeric value of a typed number, as the dialogs read it (0 when
// there is none; "12abc" is 12), kept to 16 bits.
int typed_number(const std::string& text);

}  // namespace trawlix
