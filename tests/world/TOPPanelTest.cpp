// The ground's block cache: how queued images land in the blocks, the alpha rule, one-colour
// blocks without pixel copies, which blocks are drawn and re-uploaded, and with a source: blocks
// drawn from it as they come on screen, kept only on the device, dropped when they change or
// when more are held than the budget allows.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <tuple>

#include "platform/TClock.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"
#include "settings/TConfig.h"
#include "world/TOPPanel.h"

namespace {

// An image of one colour whose handle is the tiles' own anchor (half a tile height), so that its
// top left lands exactly at the plane position given to addImage.
std::shared_ptr<TImage> SolidImage(int32_t w, int32_t h, uint32_t colour) {
    auto pix = TPixmap::Create(w, h);
    pix->ClearPixels(colour);
    auto img = TImage::FromPixmap(pix);
    img->SetHandle(0, 0.5f * float(TConfig::tileheight));
    return img;
}

class OPPanelTest : public testing::Test {
protected:
    TOPPanel panel;
    void SetUp() override {
        backend = TGraphics::HeadlessGraphics(800, 600);
        TConfig::SetDefaults();
        panel.Prepare();
    }
    void TearDown() override {
        panel.DePrepare();
        TGraphics::EndGraphics();
    }
    static std::shared_ptr<TImage> Solid(int32_t w, int32_t h, uint32_t colour) { return SolidImage(w, h, colour); }
    uint32_t Pixel(int32_t i, int32_t j, int32_t layer, int32_t x, int32_t y) {
        const auto* b = panel.GetBlock(i, j, layer);
        if (!b) return 0xDEADBEEFu;
        return b->image ? b->image->pixmaps[0]->ReadPixel(x, y) : b->colour;
    }
    size_t BlockDraws(const void* source) const {
        size_t n = 0;
        for (const auto& c : backend->calls) n += c.kind == TDrawCall::Image && c.source == source;
        return n;
    }
    static constexpr int32_t B = TOPPanel::blockSize;
    std::shared_ptr<TRecordingBackend> backend;
};

TEST_F(OPPanelTest, ImageAcrossABlockCornerLandsInAllFourBlocks) {
    panel.addImage(Solid(8, 8, 0xFF112233u), B - 4, B - 4, 0, 0, 0, 1);
    panel.performRendering();
    EXPECT_EQ(panel.BlockCount(1), 4u);
    EXPECT_EQ(Pixel(0, 0, 1, B - 1, B - 1), 0xFF112233u);
    EXPECT_EQ(Pixel(0, 0, 1, B - 5, B - 1), 0u);
    EXPECT_EQ(Pixel(1, 0, 1, 3, B - 4), 0xFF112233u);
    EXPECT_EQ(Pixel(1, 0, 1, 4, B - 4), 0u);
    EXPECT_EQ(Pixel(0, 1, 1, B - 4, 3), 0xFF112233u);
    EXPECT_EQ(Pixel(1, 1, 1, 0, 0), 0xFF112233u);
    EXPECT_EQ(Pixel(1, 1, 1, 3, 3), 0xFF112233u);
    EXPECT_EQ(Pixel(1, 1, 1, 4, 4), 0u);
    // Nothing went to the other cache layer.
    EXPECT_EQ(panel.BlockCount(0), 0u);
}

TEST_F(OPPanelTest, NegativeAndFarPlanePositionsFindTheirOwnBlocks) {
    // Beyond 24 blocks from the centre, where a fixed 48 x 48 grid would end.
    panel.addImage(Solid(4, 4, 0xFF0000FFu), -30 * B + 10, 40 * B + 20, 0, 0, 0, 1);
    panel.addImage(Solid(4, 4, 0xFF00FF00u), -1, -1, 0, 0, 0, 1);
    panel.performRendering();
    EXPECT_EQ(Pixel(-30, 40, 1, 10, 20), 0xFF0000FFu);
    EXPECT_EQ(Pixel(-1, -1, 1, B - 1, B - 1), 0xFF00FF00u);
    EXPECT_EQ(Pixel(0, 0, 1, 2, 2), 0xFF00FF00u);
}

TEST_F(OPPanelTest, PixelsBelowHalfAlphaLeaveTheBlockUnchanged) {
    panel.addImage(Solid(4, 1, 0xFFAAAAAAu), 0, 0, 0, 0, 0, 1);
    auto pix = TPixmap::Create(4, 1);
    pix->WritePixel(0, 0, 0x7F102030u);  // alpha 127: skipped
    pix->WritePixel(1, 0, 0x80102030u);  // alpha 128: copied as it is, no blending
    pix->WritePixel(2, 0, 0x00000000u);
    pix->WritePixel(3, 0, 0xFF405060u);
    auto img = TImage::FromPixmap(pix);
    img->SetHandle(0, 0.5f * float(TConfig::tileheight));
    panel.addImage(img, 0, 0, 0, 0, 0, 1);
    panel.performRendering();
    EXPECT_EQ(Pixel(0, 0, 1, 0, 0), 0xFFAAAAAAu);
    EXPECT_EQ(Pixel(0, 0, 1, 1, 0), 0x80102030u);
    EXPECT_EQ(Pixel(0, 0, 1, 2, 0), 0xFFAAAAAAu);
    EXPECT_EQ(Pixel(0, 0, 1, 3, 0), 0xFF405060u);
}

TEST_F(OPPanelTest, ImagesAreCachedAtTheirTopLeftWhateverTheirHandle) {
    // A picture taller than a tile, anchored at its foot as tall ground pictures are: a direct
    // draw puts its top left at the anchor minus the handle, and so must the cache.
    auto pix = TPixmap::Create(2, 24);
    pix->ClearPixels(0xFF00FF00u);
    auto img = TImage::FromPixmap(pix);
    img->SetHandle(0, 16);
    panel.addImage(img, 100, 100, 0, 0, 0, 1);
    panel.performRendering();
    const int32_t top = 100 - 16 + TConfig::tileheight / 2;
    EXPECT_EQ(Pixel(0, 0, 1, 100, top), 0xFF00FF00u);
    EXPECT_EQ(Pixel(0, 0, 1, 100, top - 1), 0u);
    EXPECT_EQ(Pixel(0, 0, 1, 100, top + 23), 0xFF00FF00u);
}

TEST_F(OPPanelTest, OneColourBlocksKeepNoPixelCopyAndDrawTheSame) {
    // A whole block covered in black by overlapping tiles, as the outer ring does it.
    auto black = Solid(32, 16, 0xFF000000u);
    for (int32_t y = 0; y < B; y += 8) {
        for (int32_t x = -16; x < B; x += 16) panel.addImage(black, float(x), float(y), 0, 0, 0, 0);
    }
    panel.performRendering();
    const auto* b = panel.GetBlock(0, 0, 0);
    ASSERT_TRUE(b);
    EXPECT_FALSE(b->image);
    EXPECT_EQ(b->colour, 0xFF000000u);
    // The neighbours hold only the overhanging part and keep their pixels.
    EXPECT_EQ(panel.PixelBlockCount(0), panel.BlockCount(0) - 1);

    // The same colour again changes nothing and needs no copy.
    panel.addImage(black, 200, 200, 0, 0, 0, 0);
    panel.performRendering();
    EXPECT_FALSE(panel.GetBlock(0, 0, 0)->image);

    // Drawn as one stretched image of that colour over exactly the block's area.
    SetScale(0.5f, 0.5f);
    backend->ClearLog();
    panel.Draw(10, 20, 0);
    bool found = false;
    for (const auto& c : backend->calls) {
        if (c.kind != TDrawCall::Image || c.x != 10 || c.y != 20) continue;
        const auto* img = static_cast<const TImage*>(c.source);
        EXPECT_EQ(img->pixmaps[0]->ReadPixel(0, 0), 0xFF000000u);
        EXPECT_FLOAT_EQ(c.scaleX * float(img->width), 0.5f * float(B));
        EXPECT_FLOAT_EQ(c.scaleY * float(img->height), 0.5f * float(B));
        found = true;
    }
    EXPECT_TRUE(found);
    float sx = 0, sy = 0;
    GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 0.5f);

    // Another colour gives the block its pixels back, black everywhere else.
    panel.addImage(Solid(2, 2, 0xFFFFFFFFu), 40, 40, 0, 0, 0, 0);
    panel.performRendering();
    EXPECT_TRUE(panel.GetBlock(0, 0, 0)->image);
    EXPECT_EQ(Pixel(0, 0, 0, 40, 40), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(0, 0, 0, 0, 0), 0xFF000000u);
    EXPECT_EQ(Pixel(0, 0, 0, B - 1, B - 1), 0xFF000000u);
}

TEST_F(OPPanelTest, OnlyBlocksOnScreenAreDrawnAndOnlyChangedBlocksUploadAgain) {
    auto img = Solid(4, 4, 0xFF808080u);
    for (int32_t i = -5; i <= 5; ++i) panel.addImage(img, float(i * B + 100), 100, 0, 0, 0, 1);
    SetScale(1, 1);
    backend->ClearLog();
    // Plane origin at screen (0, 0): the blocks from 0 that overlap the 800-pixel screen.
    panel.Draw(0, 0, 1);
    std::vector<float> xs, expected;
    for (const auto& c : backend->calls) {
        if (c.kind == TDrawCall::Image) xs.push_back(c.x);
    }
    for (int32_t i = 0; i * B < 800; ++i) expected.push_back(float(i * B));
    std::sort(xs.begin(), xs.end());
    EXPECT_EQ(xs, expected);
    EXPECT_EQ(backend->uploads.size(), expected.size());

    backend->ClearLog();
    panel.Draw(0, 0, 1);
    EXPECT_EQ(backend->uploads.size(), 0u);

    panel.addImage(img, float(B + 10), 10, 0, 0, 0, 1);
    backend->ClearLog();
    panel.Draw(0, 0, 1);
    ASSERT_EQ(backend->uploads.size(), 1u);
    EXPECT_EQ(backend->uploads[0].texture, panel.GetBlock(1, 0, 1)->image->frames[0].texture);
}

TEST_F(OPPanelTest, QueueIsWorkedOffBeforeItGrowsLarge) {
    auto img = Solid(1, 1, 0xFF010203u);
    for (int32_t i = 0; i < 3 * int32_t(TOPPanel::maxPending) + 5; ++i)
        panel.addImage(img, float(i % (B - 6)), 0, 0, 0, 0, 1);
    EXPECT_LT(panel.PendingCount(), TOPPanel::maxPending);
    panel.performRendering();
    EXPECT_EQ(panel.PendingCount(), 0u);
    EXPECT_EQ(Pixel(0, 0, 1, B - 7, 0), 0xFF010203u);
}

// A source drawing blocks as the ground does: layer 0 all black (one colour), layer 1 with its
// top half in a colour of its own. It logs the blocks it was asked for.
struct TestSource {
    using TKey = std::tuple<int32_t, int32_t, int32_t>;
    static void Fill(void* context, int32_t i, int32_t j, int32_t layer) {
        auto* source = static_cast<TestSource*>(context);
        source->fills.push_back({i, j, layer});
        constexpr int32_t B = TOPPanel::blockSize;
        const auto img =
            layer == 0 ? SolidImage(B, B, 0xFF000000u) : SolidImage(B, B / 2, 0xFF000100u | uint32_t(i & 0xFF));
        source->panel->addImage(img, float(i * B), float(j * B), 0, 0, 0, layer, TOPPanel::filledBlock);
    }
    // The fill that draws into the given cache.
    TOPPanel::TFill Use(TOPPanel& cache) {
        panel = &cache;
        return TOPPanel::TFill(&TestSource::Fill, this);
    }
    long Count(int32_t i, int32_t j, int32_t layer) const {
        return std::count(fills.begin(), fills.end(), TKey{i, j, layer});
    }
    std::vector<TKey> fills;
    TOPPanel* panel = nullptr;
};

// The blocks a draw with the plane origin at screen (x, y) and scale 1 shows on the 800 x 600 screen.
std::set<TestSource::TKey> OnScreen(float x, float y, int32_t layer) {
    constexpr int32_t B = TOPPanel::blockSize;
    std::set<TestSource::TKey> out;
    for (int32_t j = -40; j < 40; ++j) {
        for (int32_t i = -40; i < 40; ++i) {
            const float bx = x + float(i * B), by = y + float(j * B);
            if (bx < 800 && bx + B > 0 && by < 600 && by + B > 0) out.insert({i, j, layer});
        }
    }
    return out;
}

TEST_F(OPPanelTest, ASourceDrawsTheBlocksOnScreenOnceAndTheyKeepTheirPixelsOnlyOnTheDevice) {
    TestSource source, other;
    panel.SetSource(source.Use(panel));
    SetScale(1, 1);
    const auto shown = OnScreen(-10, 20, 1);
    for (int frame = 0; frame < 2; ++frame) {
        backend->ClearLog();
        panel.Draw(-10, 20, 1);
        EXPECT_EQ(std::set<TestSource::TKey>(source.fills.begin(), source.fills.end()), shown);
        EXPECT_EQ(source.fills.size(), shown.size());
        EXPECT_EQ(backend->uploads.size(), frame == 0 ? shown.size() : 0u);
        EXPECT_EQ(backend->calls.size(), shown.size());
    }
    EXPECT_EQ(panel.PixelBlockCount(1), shown.size());
    EXPECT_EQ(panel.PixelCopyCount(1), 0u);
    // The same source keeps the cache; another one (another map) empties it.
    panel.SetSource(source.Use(panel));
    EXPECT_EQ(panel.BlockCount(1), shown.size());
    panel.SetSource(other.Use(panel));
    EXPECT_EQ(panel.BlockCount(1), 0u);
    // A device opened again has none of the old textures: the blocks are drawn again.
    panel.Draw(-10, 20, 1);
    backend = TGraphics::HeadlessGraphics(800, 600);
    panel.Draw(-10, 20, 1);
    EXPECT_EQ(other.fills.size(), 2 * shown.size());
    EXPECT_EQ(backend->uploads.size(), shown.size());
}

TEST_F(OPPanelTest, ChangesReachOnlyHeldBlocksAndABlockThatChangesIsDrawnAgainFromTheSource) {
    const struct {
        const char* what;
        int32_t layer;
        uint32_t colour;
        bool drawnAgain;
    } cases[] = {
        {"a block with pixels only on the device", 1, 0xFF123456u, true},
        {"a one-colour block, in its colour", 0, 0xFF000000u, false},
        {"a one-colour block, in another colour", 0, 0xFF00FF00u, true},
    };
    for (const auto& c : cases) {
        panel.Prepare();
        TestSource source;
        panel.SetSource(source.Use(panel));
        SetScale(1, 1);
        panel.Draw(0, 0, c.layer);
        source.fills.clear();
        panel.addImage(Solid(4, 4, c.colour), 10, 10, 0, 0, 0, c.layer);
        // Far from the screen: no block is made for it.
        panel.addImage(Solid(4, 4, c.colour), float(50 * B), float(50 * B), 0, 0, 0, c.layer);
        panel.Draw(0, 0, c.layer);
        EXPECT_FALSE(panel.GetBlock(50, 50, c.layer)) << c.what;
        const std::vector<TestSource::TKey> again{{0, 0, c.layer}};
        EXPECT_EQ(source.fills, c.drawnAgain ? again : std::vector<TestSource::TKey>()) << c.what;
        EXPECT_EQ(panel.PixelCopyCount(c.layer), 0u) << c.what;
    }
}

TEST_F(OPPanelTest, BlocksBeyondTheBudgetAreDroppedLeastRecentlyDrawnFirst) {
    TestSource source;
    panel.SetSource(source.Use(panel));
    SetScale(1, 1);
    // The columns on screen and the two left behind last fit the budget.
    std::set<int32_t> columns, rows;
    for (const auto& [i, j, layer] : OnScreen(0, 0, 1)) {
        columns.insert(i);
        rows.insert(j);
    }
    panel.pixelBudget = (columns.size() + 2) * rows.size();
    // Twelve columns to the right and back.
    for (int32_t step = -12; step <= 12; ++step) {
        const float x = -float((12 - std::abs(step)) * B);
        panel.Draw(x, 0, 1);
        EXPECT_LE(panel.PixelBlockCount(1), panel.pixelBudget) << x;
        for (const auto& [i, j, layer] : OnScreen(x, 0, 1)) EXPECT_TRUE(panel.GetBlock(i, j, layer)) << x;
    }
    // On the way back the columns seen last were still there; the earlier ones were drawn again.
    for (int32_t i = 0; i < 12 + int32_t(columns.size()); ++i) EXPECT_EQ(source.Count(i, 0, 1), i >= 10 ? 1 : 2) << i;
    // Blocks of one colour cost no pixels, but their number is bounded too.
    panel.blockBudget = 10;
    for (int32_t step = 0; step < 30; ++step) panel.Draw(-float(step * B), 0, 0);
    EXPECT_LE(panel.BlockCount(0) + panel.BlockCount(1), 10u);
}

TEST_F(OPPanelTest, NullImagesAndBadFramesAreIgnored) {
    panel.addImage(nullptr, 0, 0, 0, 0, 0, 1);
    panel.addImage(Solid(2, 2, 0xFFFFFFFFu), 0, 0, 5, 0, 0, 1);
    panel.addImage(Solid(2, 2, 0xFFFFFFFFu), 0, 0, 0, 0, 0, 7);
    panel.performRendering();
    EXPECT_EQ(panel.BlockCount(0) + panel.BlockCount(1), 0u);
    EXPECT_FALSE(panel.getPixmapForPos(0, 0, 2));
}

}  // namespace

// A block drawn from the source is drawn without blending only when all its pixels are opaque and
// it is drawn at full alpha in alpha blending; the blend mode is the caller's again afterwards.
TEST_F(OPPanelTest, OpaqueBlocksAreDrawnWithoutBlending) {
    struct TCover {
        TOPPanel* panel;
        bool whole;
        static void Fill(void* context, int32_t i, int32_t j, int32_t layer) {
            const auto& [panel, whole] = *static_cast<TCover*>(context);
            // Two colours, so that the block keeps its pixels; the lower half only when whole.
            panel->addImage(SolidImage(B, B / 2, 0xFF102030u), float(i * B), float(j * B), 0, 0, 0, layer,
                            TOPPanel::filledBlock);
            const uint32_t lower = whole ? 0xFF405060u : 0x00000000u;
            panel->addImage(SolidImage(B, B / 2, lower), float(i * B), float(j * B + B / 2), 0, 0, 0, layer,
                            TOPPanel::filledBlock);
        }
    };
    const struct {
        bool whole;
        float alpha;
        int32_t blend, drawn;
    } cases[] = {
        {true, 1.0f, ALPHABLEND, SOLIDBLEND},
        {false, 1.0f, ALPHABLEND, ALPHABLEND},
        {true, 0.5f, ALPHABLEND, ALPHABLEND},
        {true, 1.0f, LIGHTBLEND, LIGHTBLEND},
    };
    for (const auto& c : cases) {
        TCover cover{&panel, c.whole};
        panel.Prepare();
        panel.SetSource(TOPPanel::TFill(&TCover::Fill, &cover));
        SetScale(1, 1);
        SetAlpha(c.alpha);
        SetBlend(c.blend);
        backend->ClearLog();
        panel.Draw(0, 0, 1);
        ASSERT_FALSE(backend->calls.empty());
        for (const auto& call : backend->calls) EXPECT_EQ(call.blend, c.drawn) << c.whole << " " << c.alpha;
        EXPECT_EQ(GetBlend(), c.blend);
    }
    SetAlpha(1.0f);
    SetBlend(ALPHABLEND);
}
