#include <gtest/gtest.h>

#include <vector>

#include "platform/TCowList.h"

namespace {

TEST(CowList, SnapshotsAreUntouchedByLaterChanges) {
    TCowList<int> list;
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(list.Items().empty());
    list.Append(1);
    list.Append(2);
    list.Append(3);
    const auto before = list.Items();
    list.Remove(2);
    list.Append(4);
    EXPECT_EQ(std::vector<int>(before.begin(), before.end()), (std::vector<int>{1, 2, 3}));
    const auto after = list.Items();
    EXPECT_EQ(std::vector<int>(after.begin(), after.end()), (std::vector<int>{1, 3, 4}));
}

TEST(CowList, LoopWalksTheListAsItWasWhenItBegan) {
    TCowList<int> list;
    for (int i = 0; i < 5; ++i) list.Append(i);
    std::vector<int> seen;
    for (int v : list.Items()) {
        seen.push_back(v);
        list.Remove(v + 1);  // removing the next entry must not skip it in this loop
        list.Append(100 + v);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(list.Contains(1));
    EXPECT_TRUE(list.Contains(104));
}

TEST(CowList, RemoveCountsEveryMatchAndKeepsOrder) {
    TCowList<int> list;
    for (int v : {7, 1, 7, 2, 7}) list.Append(v);
    const auto unchanged = list.Items();
    EXPECT_EQ(list.Remove(9), 0u);
    EXPECT_TRUE(list.Items().SameAs(unchanged)) << "removing an absent entry changes nothing";
    EXPECT_EQ(list.Remove(7), 3u);
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[0], 1);
    EXPECT_EQ(list[1], 2);
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(unchanged.size(), 5u);
}

}  // namespace
