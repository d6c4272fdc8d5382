// The library exports exactly names of exports.txt: every name its image
// exports is checked against the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support/engine_library.h"
#include "support/export_list.h"

namespace {

using cx::testing::EngineLibrary;

TEST(Exports, EveryExportedNameIsListed) {
  EngineLibrary lib;
  ASSERT_TRUE(lib.loaded()) << CARTEX32_LIBRARY_PATH;
  const std::set<std::string> listed = cx::testing::listed_exports();
  ASSERT_GT(listed.size(), 250u);

  const std::vector<std::string> exported = lib.exported_names();
  // The frame is always there; an empty reading would prove nothing.
  ASSERT_NE(std::find(exported.begin(), exported.end(), "paselong"), exported.end());
  for (const std::string& name : exported)
    EXPECT_TRUE(listed.count(name)) << name << " is exported but not in exports.txt";
}

}  // namespace
