// The indexer's program settings and the state of the document being
// processed: set by the crawler, read by the indexer and the link resolver.
#pragma once

#include <cstdint>
#include <string>

namespace trawlix {

// The most pages a crawl fetches at once.
inline constexpr int kMaxConnections = 32;

// Crawl settings, with the values the program starts with.
struct CrawlSettings {
  int16_t mail_robot_mode = 0;
  int reindex_mode = 1;  // 0 never, 1 always, 2 ask
  bool index_alt_text = true;
  bool index_xml_tags = true;
  bool index_unknown_tags = true;
  bool respect_robots = false;
  bool keep_cycling = false;
  int time_between_access = 5000;  // milliseconds
  int access_timeout = 50;         // seconds
  int connections = 4;             // pages fetched at once; 1 fetches one after the other
};

// The document the crawler is processing.
struct CurrentDocument {
  std::string url;
  int32_t doc_id = 0;
  int level = 0;
  int max_depth = 0;
  bool crawl_above = false;
  bool already_indexed = false;
  std::string page_title;
};

struct IndexerState {
  CrawlSettings settings;
  CurrentDocument current;
  bool keep_running = false;
  bool restart_all = false;
  int32_t external_count = 0;
};

// The numeric value of a command-line argument as the program reads it: a
// leading number (after blanks), 0 when there is none; kept to 16 bits.
int16_t numeric_argument(const std::string& text);

}  // namespace trawlix
