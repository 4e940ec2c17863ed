// Random maps for a new game: reproducible from their seed, with a river that splits the land,
// lakes and forests in bounded shares, and previews of any map image.
#include "world/TMapPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "WorldTestSupport.h"
#include "world/TGround.h"
#include "world/TMapColours.h"

namespace {

using TKind = TMapColours::TKind;

TKind KindAt(const TPixmap& map, int32_t x, int32_t y) { return TMapColours::KindOf(map.ReadPixel(x, y)); }

// Sizes of the map's land regions, largest first; land tiles touching at a corner count as joined,
// so a region's border of water cannot be crossed even diagonally.
std::vector<int64_t> LandRegions(const TPixmap& map) {
    const int32_t w = map.width, h = map.height;
    std::vector<bool> seen(size_t(w) * h);
    std::vector<int64_t> sizes;
    for (int32_t start = 0; start < w * h; ++start) {
        if (seen[start] || KindAt(map, start % w, start / w) == TKind::Water) continue;
        std::vector<int32_t> open = {start};
        seen[start] = true;
        int64_t size = 0;
        while (!open.empty()) {
            const int32_t i = open.back(), x = i % w, y = i / w;
            open.pop_back();
            ++size;
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    const int32_t nx = x + dx, ny = y + dy, j = ny * w + nx;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h || seen[j] || KindAt(map, nx, ny) == TKind::Water)
                        continue;
                    seen[j] = true;
                    open.push_back(j);
                }
        }
        sizes.push_back(size);
    }
    std::sort(sizes.rbegin(), sizes.rend());
    return sizes;
}

bool RiverOnEdge(const TPixmap& map, bool rows, int32_t edge) {
    for (int32_t i = 0; i < map.width; ++i)
        if ((map.ReadPixel(rows ? i : edge, rows ? edge : i) & 0xFFFFFFu) == TMapColours::River) return true;
    return false;
}

struct TCase {
    uint32_t seed;
    int32_t size;
};
class MapPainterTest : public testing::TestWithParam<TCase> {};

}  // namespace

TEST_P(MapPainterTest, SeededMapHasARiverBetweenTwoBanksLakesAndForests) {
    const auto [seed, size] = GetParam();
    auto map = TMapPainter::Paint(seed, size);
    ASSERT_TRUE(map);
    ASSERT_EQ(map->width, size);
    ASSERT_EQ(map->height, size);
    auto again = TMapPainter::Paint(seed, size), other = TMapPainter::Paint(seed + 1, size);
    int64_t repainted = 0, changed = 0;
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) {
            repainted += map->ReadPixel(x, y) != again->ReadPixel(x, y);
            changed += map->ReadPixel(x, y) != other->ReadPixel(x, y);
        }
    EXPECT_EQ(repainted, 0) << "the same seed paints the same map";
    EXPECT_GT(changed, int64_t(size) * size / 10) << "another seed, another map";

    int64_t water = 0, trees = 0, land = 0;
    std::set<uint32_t> treeColours;
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) {
            const uint32_t c = map->ReadPixel(x, y) & 0xFFFFFFu;
            const TKind kind = TMapColours::KindOf(c);
            water += kind == TKind::Water;
            land += kind != TKind::Water;
            if (kind == TKind::Trees) {
                ++trees;
                treeColours.insert(c);
            }
            EXPECT_TRUE(kind != TKind::Land || c == TMapColours::Land) << x << "," << y;
            ASSERT_NE(kind, TKind::Street) << x << "," << y;
        }
    const double tiles = double(size) * size;
    EXPECT_GE(water / tiles, 0.08);
    EXPECT_LE(water / tiles, 0.20);
    EXPECT_GE(double(trees) / land, 0.20);
    EXPECT_LE(double(trees) / land, 0.30);
    EXPECT_EQ(treeColours.size(), 4u);

    // The river runs from one edge to the opposite one, and the land on its two banks is joined
    // by no land path: reaching the other bank takes a bridge.
    EXPECT_TRUE((RiverOnEdge(*map, true, 0) && RiverOnEdge(*map, true, size - 1)) ||
                (RiverOnEdge(*map, false, 0) && RiverOnEdge(*map, false, size - 1)));
    const auto regions = LandRegions(*map);
    ASSERT_GE(regions.size(), 2u);
    EXPECT_GE(regions[1] / tiles, 0.15) << "both banks are wide";
}

INSTANTIATE_TEST_SUITE_P(Seeds, MapPainterTest,
                         testing::Values(TCase{1, 128}, TCase{2, 128}, TCase{0, 256}, TCase{987654, 256},
                                         TCase{4000000000u, 512}));

TEST(MapPainter, SizesOutsideTheRangeClamp) {
    const std::pair<int32_t, int32_t> sizes[] = {{-5, TMapPainter::MinSize},
                                                 {TMapPainter::MinSize - 1, TMapPainter::MinSize},
                                                 {TMapPainter::MaxSize + 1, TMapPainter::MaxSize}};
    for (const auto& [asked, made] : sizes) {
        auto map = TMapPainter::Paint(3, asked);
        ASSERT_TRUE(map) << asked;
        EXPECT_EQ(map->width, made);
        EXPECT_EQ(map->height, made);
    }
}

TEST(MapPainter, SpecNamesAPaintedMapAndNoImagePath) {
    for (int32_t size : {TMapPainter::MinSize, 256, TMapPainter::MaxSize})
        EXPECT_EQ(TMapPainter::SizeOfSpec(TMapPainter::Spec(size)), size);
    for (const char* text :
         {"data/maps/128/001r.png", "random:", "random:12x", "random:-5", "Random:128", "", "random:99999999999"})
        EXPECT_EQ(TMapPainter::SizeOfSpec(text), 0) << text;
}

TEST(MapPainter, PreviewAveragesTheKindsOfTheTilesEachPixelCovers) {
    // A 4 × 2 map: left half water, right half forest above a street and land.
    auto map = TPixmap::Create(4, 2);
    const uint32_t left = 0xFF000000u | TMapColours::Lake, tree = 0xFF000000u | TMapColours::Trees[2];
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 2; ++x) map->WritePixel(x, y, left);
    map->WritePixel(2, 0, tree);
    map->WritePixel(3, 0, tree);
    map->WritePixel(2, 1, 0xFF000000u | TMapColours::Street1);
    map->WritePixel(3, 1, 0xFF123456u);  // any other colour is land
    auto mean = [](uint32_t a, uint32_t b) {
        uint32_t m = 0xFF000000u;
        for (int32_t shift : {0, 8, 16}) m |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + 1) / 2) << shift;
        return m;
    };
    auto two = TMapPainter::Preview(*map, 2);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->ReadPixel(0, 0), TMapPainter::PreviewWater);
    EXPECT_EQ(two->ReadPixel(1, 0), TMapPainter::PreviewForest);
    EXPECT_EQ(two->ReadPixel(1, 1), mean(TMapPainter::PreviewStreet, TMapPainter::PreviewLand));
    // Larger than the map: each tile covers several pixels.
    auto eight = TMapPainter::Preview(*map, 8);
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->ReadPixel(7, 0), TMapPainter::PreviewForest);
    EXPECT_EQ(eight->ReadPixel(5, 7), TMapPainter::PreviewStreet);
    EXPECT_EQ(eight->ReadPixel(7, 7), TMapPainter::PreviewLand);
    EXPECT_FALSE(TMapPainter::Preview(*map, 0));
    EXPECT_FALSE(TMapPainter::Preview(TPixmap(), 16));
}

class PaintedWorldTest : public WorldTest {};

TEST_F(PaintedWorldTest, WorldFromAPaintedMapHasItsWaterAndTrees) {
    auto map = TMapPainter::Paint(5, 128);
    auto world = TLayer::LoadFromPixmap(*map, random);
    ASSERT_TRUE(world);
    ASSERT_EQ(world->Width, 128);
    int32_t water = 0, trees = 0;
    for (int32_t y = 0; y < 128; ++y)
        for (int32_t x = 0; x < 128; ++x) {
            const TKind kind = KindAt(*map, x, 127 - y);  // the bottom row is map row 0
            auto ground = world->GroundLayer->_GetTile(x, y);
            ASSERT_TRUE(ground);
            EXPECT_EQ(ground->water == 1, kind == TKind::Water) << x << "," << y;
            EXPECT_EQ(bool(world->BuildingLayer->_GetTree(x, y)), kind == TKind::Trees) << x << "," << y;
            water += kind == TKind::Water;
            trees += kind == TKind::Trees;
        }
    EXPECT_GT(water, 0);
    EXPECT_GT(trees, 0);
    EXPECT_LT(water + trees, 128 * 128);
    EXPECT_FALSE(TLayer::LoadFromPixmap(TPixmap(), random));
}
