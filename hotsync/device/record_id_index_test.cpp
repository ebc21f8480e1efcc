#include "hotsync/device/record_id_index.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

namespace {

TEST(RecordIdIndex, FindsWhatWasInsertedThroughGrowthAndRefusesDuplicatesAndZero) {
  RecordIdIndex index;
  EXPECT_FALSE(index.Find(1));
  std::unordered_map<uint32_t, uint32_t> expected;
  std::mt19937 random(7);
  for (uint32_t i = 0; i < 50000; ++i) {
    // Consecutive IDs as the handheld hands them out, with scattered ones between.
    const uint32_t id = i % 5 == 0 ? 1 + random() % 0xFFFFFF : 1 + i;
    const bool fresh = expected.emplace(id, i).second;
    EXPECT_EQ(index.Insert(id, i), fresh);
  }
  for (const auto& [id, at] : expected) ASSERT_EQ(index.Find(id), at) << id;
  EXPECT_FALSE(index.Insert(0, 1));
  EXPECT_FALSE(index.Find(0));
  EXPECT_FALSE(index.Contains(0x1000000));

  index.Clear();
  EXPECT_FALSE(index.Contains(1));
  index.Reserve(3);
  EXPECT_TRUE(index.Insert(9, 0));
  EXPECT_EQ(index.Find(9), 0u);
}

}  // namespace
