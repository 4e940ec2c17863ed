#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "world/TAlign.h"
#include "world/TJump.h"

namespace {

using TPath = std::vector<std::pair<int32_t, int32_t>>;

// The cells from the found node back to its start.
TPath Chain(const std::shared_ptr<TJump>& node) {
    TPath path;
    for (const TJump* n = node.get(); n; n = n->lastObj.get()) path.push_back({n->x, n->y});
    return path;
}

void OpenRect(int32_t w, int32_t h) {
    TJump::Init(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) TJump::defineWay(x, y, 0, 0, 0, 0);
}

void ExpectConnected(const TPath& path) {
    for (size_t i = 1; i < path.size(); ++i) {
        const int32_t dx = path[i].first - path[i - 1].first;
        const int32_t dy = path[i].second - path[i - 1].second;
        EXPECT_EQ(std::abs(dx) + std::abs(dy), 1) << "step " << i;
    }
}

TEST(TJumpTest, StartOnTargetIsFoundInTheFirstPass) {
    OpenRect(4, 4);
    auto start = TJump::defineStart(2, 1);
    TJump::defineTarget(2, 1);
    auto found = TJump::Get(1);
    ASSERT_TRUE(found);
    EXPECT_EQ(found, start);
    EXPECT_FALSE(found->lastObj);
}

TEST(TJumpTest, FindsAShortestPathThroughOpenCells) {
    // A wall in column 2 with a gap at the bottom row.
    const int32_t w = 5, h = 4;
    TJump::Init(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            if (x != 2 || y == h - 1) TJump::defineWay(x, y, 0, 0, 0, 0);
    TJump::defineStart(0, 0);
    TJump::defineTarget(4, 0);
    auto found = TJump::Get(-1);
    ASSERT_TRUE(found);
    const TPath path = Chain(found);
    // Down 3, across 4, up 3.
    ASSERT_EQ(path.size(), 11u);
    EXPECT_EQ(path.front(), std::make_pair(4, 0));
    EXPECT_EQ(path.back(), std::make_pair(0, 0));
    EXPECT_EQ(path[5], std::make_pair(2, 3));
    ExpectConnected(path);
}

TEST(TJumpTest, TiesGoToTheFirstDirectionInOrder) {
    // From (0,1) to (1,0): up first (direction 0) beats right (direction 1).
    OpenRect(2, 2);
    TJump::defineStart(0, 1);
    TJump::defineTarget(1, 0);
    TPath path = Chain(TJump::Get(-1));
    ASSERT_EQ(path.size(), 3u);
    EXPECT_EQ(path[1], std::make_pair(0, 0));
    // With the upper side of the start blocked the other way wins.
    TJump::Init(2, 2);
    TJump::defineWay(0, 1, 1, 0, 0, 0);
    TJump::defineWay(0, 0, 0, 0, 0, 0);
    TJump::defineWay(1, 1, 0, 0, 0, 0);
    TJump::defineStart(0, 1);
    TJump::defineTarget(1, 0);
    path = Chain(TJump::Get(-1));
    ASSERT_EQ(path.size(), 3u);
    EXPECT_EQ(path[1], std::make_pair(1, 1));
}

TEST(TJumpTest, BlockedSideStopsLeavingButNotEntering) {
    auto corridor = [] {
        TJump::Init(3, 1);
        TJump::defineWay(0, 0, 0, 1, 0, 0);  // right side of (0,0) blocked
        TJump::defineWay(1, 0, 0, 0, 0, 0);
        TJump::defineWay(2, 0, 0, 0, 0, 0);
    };
    corridor();
    TJump::defineStart(0, 0);
    TJump::defineTarget(2, 0);
    EXPECT_FALSE(TJump::Get(-1));

    corridor();
    TJump::defineStart(2, 0);
    TJump::defineTarget(0, 0);
    auto found = TJump::Get(-1);
    ASSERT_TRUE(found);
    EXPECT_EQ(Chain(found).size(), 3u);
}

TEST(TJumpTest, PassLimitStopsTheSearchAndItCanGoOn) {
    OpenRect(8, 1);
    TJump::defineStart(0, 0);
    TJump::defineTarget(7, 0);
    EXPECT_FALSE(TJump::Get(5));
    EXPECT_FALSE(TJump::Get(1));
    // The frontier is kept: the seventh pass reaches the target.
    auto found = TJump::Get(1);
    ASSERT_TRUE(found);
    EXPECT_EQ(Chain(found).size(), 8u);

    OpenRect(8, 1);
    TJump::defineStart(0, 0);
    TJump::defineTarget(7, 0);
    EXPECT_TRUE(TJump::Get(7));
}

TEST(TJumpTest, UnreachableTargetEndsWhenTheFrontierIsEmpty) {
    TJump::Init(6, 6);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 6; ++x) TJump::defineWay(x, y, 0, 0, 0, 0);
    TJump::defineStart(0, 0);
    TJump::defineTarget(5, 5);  // a target cell the walkable part does not touch
    EXPECT_FALSE(TJump::Get(-1));
    // Every walkable cell was reached on the way.
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(TJump::GetMark(x, y), TJump::markClosed);
    EXPECT_EQ(TJump::GetMark(5, 5), TJump::markTarget);
}

TEST(TJumpTest, OutsideTheGridIsIgnored) {
    OpenRect(3, 3);
    EXPECT_EQ(TJump::defineWay(-1, 0, 0, 0, 0, 0), 0);
    TJump::defineWay(3, 0, 0, 0, 0, 0);
    TJump::defineTarget(0, 3);
    EXPECT_EQ(TJump::_inField(-1, 0), 0);
    EXPECT_EQ(TJump::_inField(2, 2), 1);
    EXPECT_EQ(TJump::_inField(3, 2), 0);
    // A start outside the grid is handed back but searches nothing.
    auto outside = TJump::defineStart(-5, 7);
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->x, -5);
    TJump::defineTarget(1, 1);
    EXPECT_FALSE(TJump::Get(-1));
    // The cells next to the grid's edge do not lead out of it.
    TJump::Init(1, 1);
    TJump::defineWay(0, 0, 0, 0, 0, 0);
    TJump::defineStart(0, 0);
    EXPECT_FALSE(TJump::Get(-1));
}

TEST(TJumpTest, InitDiscardsTheEarlierSearch) {
    OpenRect(4, 1);
    TJump::defineStart(0, 0);
    TJump::defineTarget(3, 0);
    TJump::Init(4, 1);
    EXPECT_EQ(TJump::GetMark(3, 0), TJump::markClosed);
    EXPECT_FALSE(TJump::Get(-1));
    // Negative sizes make an empty grid.
    TJump::Init(-4, 5);
    EXPECT_EQ(TJump::_inField(0, 0), 0);
    TJump::defineStart(0, 0);
    EXPECT_FALSE(TJump::Get(-1));
}

TEST(TJumpTest, TooLargeGridIsRefused) {
    TJump::Init(1 << 20, 1 << 20);
    EXPECT_EQ(TJump::_inField(0, 0), 0);
    TJump::defineWay(0, 0, 0, 0, 0, 0);
    TJump::defineStart(0, 0);
    EXPECT_FALSE(TJump::Get(-1));
}

TEST(TJumpTest, VeryLongPathIsReleasedWithoutDeepRecursion) {
    const int32_t length = 400000;
    OpenRect(1, length);
    TJump::defineStart(0, 0);
    TJump::defineTarget(0, length - 1);
    auto found = TJump::Get(-1);
    ASSERT_TRUE(found);
    size_t steps = 0;
    for (const TJump* n = found.get(); n; n = n->lastObj.get()) ++steps;
    EXPECT_EQ(steps, size_t(length));
    // Dropping the last references (the node and the search state) frees the whole chain.
    found.reset();
    TJump::Init(0, 0);
}

TEST(TAlignTest, OffsetsToDirections) {
    EXPECT_EQ(TAlign::GetAlign(0, -1), 0);
    EXPECT_EQ(TAlign::GetAlign(1, 0), 1);
    EXPECT_EQ(TAlign::GetAlign(0, 1), 2);
    EXPECT_EQ(TAlign::GetAlign(-1, 0), 3);
    EXPECT_EQ(TAlign::GetAlign(0, -9), 0);
    EXPECT_EQ(TAlign::GetAlign(7, 0), 1);
    EXPECT_EQ(TAlign::GetAlign(-7, 0), 3);
    // Anything that is not a straight step.
    EXPECT_EQ(TAlign::GetAlign(1, 1), 0);
    EXPECT_EQ(TAlign::GetAlign(0, 0), 0);
    EXPECT_EQ(TAlign::GetAlign(-1, 1), 0);
    for (int32_t a = 0; a < 4; ++a) EXPECT_EQ(TAlign::GetAlign(TAlign::StepX(a), TAlign::StepY(a)), a);
}

TEST(TAlignTest, RotateGivesTheOppositeDirection) {
    EXPECT_EQ(TAlign::Rotate(0, 2), 2);
    EXPECT_EQ(TAlign::Rotate(1, 2), 3);
    EXPECT_EQ(TAlign::Rotate(2, 2), 0);
    EXPECT_EQ(TAlign::Rotate(3, 2), 1);
    for (int32_t a = 0; a < 4; ++a) {
        EXPECT_EQ(TAlign::StepX(TAlign::Rotate(a, 2)), -TAlign::StepX(a));
        EXPECT_EQ(TAlign::StepY(TAlign::Rotate(a, 2)), -TAlign::StepY(a));
    }
    // Codes outside 0..3 still come back as a usable direction.
    for (int32_t a : {-1, -3, -6, 5, 2147483647, -2147483647 - 1}) {
        const int32_t r = TAlign::Rotate(a, 2);
        EXPECT_GE(r, 0) << a;
        EXPECT_LT(r, 4) << a;
    }
}

}  // namespace
