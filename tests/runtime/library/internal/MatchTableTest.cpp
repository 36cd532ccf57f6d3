#include "runtime/library/internal/MatchTable.h"

#include <gtest/gtest.h>

namespace rt::internal {
namespace {

TEST(MatchTable, MovesToTheHeapPastTheFixedEntriesAndKeepsEveryPosition) {
  MatchTable table;
  const size_t total = MatchTable::kFixedEntries + 3 * MatchTable::kGrowthEntries + 5;
  for (size_t i = 0; i < total; ++i) {
    ASSERT_TRUE(table.add(static_cast<UINT>(i * 3)));
    EXPECT_EQ(table.onHeap(), i >= MatchTable::kFixedEntries) << i;
  }
  ASSERT_EQ(table.size(), total);
  for (size_t i = 0; i < total; ++i)
    ASSERT_EQ(table[i], i * 3) << i;
}

}  // namespace
}  // namespace rt::internal
