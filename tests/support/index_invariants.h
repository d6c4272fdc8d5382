// What holds of every WorkSpace index, however its runs ended: the database
// is whole, each word's total is the sum of its occurrences in documents,
// and no occurrence belongs to a word or a document that is not there.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "shell/database.h"

namespace trawlix::testing {

inline void expect_consistent_index(Database& db) {
  Statement check = db.prepare("PRAGMA integrity_check");
  ASSERT_TRUE(check.ok() && check.step()) << db.last_error();
  EXPECT_EQ(check.get_text(0), "ok");
  EXPECT_EQ(db.query_int("select count(*) from Words where Occurrences <> "
                         "(select coalesce(sum(Occurrences), 0) from WordsDocs "
                         "where WordsDocs.WordID = Words.WordID)",
                         {}, -1),
            0)
      << "word totals that are not the sum of their occurrences";
  EXPECT_EQ(db.query_int("select count(*) from WordsDocs where DocID not in (select DocID from "
                         "Docs) or WordID not in (select WordID from Words)",
                         {}, -1),
            0)
      << "occurrences of a word or document that is gone";
}

}  // namespace trawlix::testing
