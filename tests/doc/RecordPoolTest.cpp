// Records live in a pool of their own: slots must never overlap, freed slots
// must be reused, and records freed in any order must leave the pool sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "doc/SurveyRecord.h"

namespace hp::doc {
namespace {

void Fill(SurveyRecord& r, int tag) {
  r.cave = tag;
  r.length = tag * 0.5;
  r.work.extentMarks[1] = static_cast<uint8_t>(tag);
}

bool Holds(const SurveyRecord& r, int tag) {
  return r.cave == tag && r.length == tag * 0.5 && r.work.extentMarks[1] == static_cast<uint8_t>(tag);
}

TEST(RecordPool, ManyRecordsFreedInRandomOrderStayIntact) {
  std::mt19937 random(7);
  std::vector<std::unique_ptr<SurveyRecord>> records;
  std::vector<int> tags;
  int nextTag = 1;
  for (int round = 0; round < 4; ++round) {
    // Grow across several chunks, then free a random half.
    for (int i = 0; i < 5000; ++i) {
      records.push_back(std::make_unique<SurveyRecord>());
      Fill(*records.back(), nextTag);
      tags.push_back(nextTag++);
    }
    std::set<const void*> addresses;
    for (const auto& r : records) EXPECT_TRUE(addresses.insert(r.get()).second);
    for (size_t i = 0; i < records.size(); ++i) ASSERT_TRUE(Holds(*records[i], tags[i])) << i;
    std::vector<size_t> order(records.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), random);
    order.resize(order.size() / 2);
    std::sort(order.rbegin(), order.rend());
    for (size_t i : order) {
      records.erase(records.begin() + static_cast<std::ptrdiff_t>(i));
      tags.erase(tags.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  for (size_t i = 0; i < records.size(); ++i) EXPECT_TRUE(Holds(*records[i], tags[i])) << i;
}

TEST(RecordPool, FreedSlotIsReused) {
  if (!RecordPoolEnabled()) GTEST_SKIP() << "records come from the general heap in this build";
  auto first = std::make_unique<SurveyRecord>();
  const void* address = first.get();
  first.reset();
  auto second = std::make_unique<SurveyRecord>();
  EXPECT_EQ(second.get(), address);
  EXPECT_EQ(second->colour, 1);  // a reused slot still gets the record defaults
}

}  // namespace
}  // namespace hp::doc
