// What holds of a WorkSpace index however its runs ended: the file is whole,
// each word's total is the sum of its occurrences, no occurrence is orphaned.
#pragma once

#include <gtest/gtest.h>

#include "shell/database.h"

namespace trawlix::testing {

inline void expect_consistent_index(Database& db) {
  EXPECT_EQ(db.query_rows("PRAGMA integrity_check")->at(0).at(0), DbValue(std::string("ok")));
  EXPECT_EQ(db.query_int("select count(*) from Words where Occurrences <> (select coalesce(sum("
                         "Occurrences), 0) from WordsDocs where WordsDocs.WordID = Words.WordID)"),
            0);
  EXPECT_EQ(db.query_int("select count(*) from WordsDocs where DocID not in (select DocID from "
                         "Docs) or WordID not in (select WordID from Words)"),
            0);
}

}  // namespace trawlix::testing
