// The ground's block cache: how queued images land in the 512-pixel blocks, the alpha rule,
// one-colour blocks without pixel copies, and which blocks are drawn and re-uploaded.
#include <gtest/gtest.h>

#include <memory>

#include "platform/TClock.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"
#include "settings/TConfig.h"
#include "world/TOPPanel.h"

namespace {

class OPPanelTest : public testing::Test {
protected:
    void SetUp() override {
        backend = TGraphics::HeadlessGraphics(800, 600);
        TConfig::SetDefaults();
        TOPPanel::Prepare();
    }
    void TearDown() override {
        TOPPanel::DePrepare();
        TGraphics::EndGraphics();
    }
    // An image of one colour whose handle is the tiles' own anchor (half a tile height), so
    // that its top left lands exactly at the plane position given to addImage.
    static std::shared_ptr<TImage> Solid(int32_t w, int32_t h, uint32_t colour) {
        auto pix = TPixmap::Create(w, h);
        pix->ClearPixels(colour);
        auto img = TImage::FromPixmap(pix);
        img->SetHandle(0, 0.5f * float(TConfig::tileheight));
        return img;
    }
    static uint32_t Pixel(int32_t i, int32_t j, int32_t layer, int32_t x, int32_t y) {
        const auto* b = TOPPanel::GetBlock(i, j, layer);
        if (!b) return 0xDEADBEEFu;
        return b->image ? b->image->pixmaps[0]->ReadPixel(x, y) : b->colour;
    }
    size_t BlockDraws(const void* source) const {
        size_t n = 0;
        for (const auto& c : backend->calls) n += c.kind == TDrawCall::Image && c.source == source;
        return n;
    }
    std::shared_ptr<TRecordingBackend> backend;
};

TEST_F(OPPanelTest, ImageAcrossABlockCornerLandsInAllFourBlocks) {
    TOPPanel::addImage(Solid(8, 8, 0xFF112233u), 508, 508, 0, 0, 0, 1);
    TOPPanel::performRendering();
    EXPECT_EQ(TOPPanel::BlockCount(1), 4u);
    EXPECT_EQ(Pixel(0, 0, 1, 511, 511), 0xFF112233u);
    EXPECT_EQ(Pixel(0, 0, 1, 507, 511), 0u);
    EXPECT_EQ(Pixel(1, 0, 1, 3, 508), 0xFF112233u);
    EXPECT_EQ(Pixel(1, 0, 1, 4, 508), 0u);
    EXPECT_EQ(Pixel(0, 1, 1, 508, 3), 0xFF112233u);
    EXPECT_EQ(Pixel(1, 1, 1, 0, 0), 0xFF112233u);
    EXPECT_EQ(Pixel(1, 1, 1, 3, 3), 0xFF112233u);
    EXPECT_EQ(Pixel(1, 1, 1, 4, 4), 0u);
    // Nothing went to the other cache layer.
    EXPECT_EQ(TOPPanel::BlockCount(0), 0u);
}

TEST_F(OPPanelTest, NegativeAndFarPlanePositionsFindTheirOwnBlocks) {
    // Beyond 24 blocks from the centre, where a fixed 48 x 48 grid would end.
    TOPPanel::addImage(Solid(4, 4, 0xFF0000FFu), -30 * 512 + 10, 40 * 512 + 20, 0, 0, 0, 1);
    TOPPanel::addImage(Solid(4, 4, 0xFF00FF00u), -1, -1, 0, 0, 0, 1);
    TOPPanel::performRendering();
    EXPECT_EQ(Pixel(-30, 40, 1, 10, 20), 0xFF0000FFu);
    EXPECT_EQ(Pixel(-1, -1, 1, 511, 511), 0xFF00FF00u);
    EXPECT_EQ(Pixel(0, 0, 1, 2, 2), 0xFF00FF00u);
}

TEST_F(OPPanelTest, PixelsBelowHalfAlphaLeaveTheBlockUnchanged) {
    TOPPanel::addImage(Solid(4, 1, 0xFFAAAAAAu), 0, 0, 0, 0, 0, 1);
    auto pix = TPixmap::Create(4, 1);
    pix->WritePixel(0, 0, 0x7F102030u);  // alpha 127: skipped
    pix->WritePixel(1, 0, 0x80102030u);  // alpha 128: copied as it is, no blending
    pix->WritePixel(2, 0, 0x00000000u);
    pix->WritePixel(3, 0, 0xFF405060u);
    auto img = TImage::FromPixmap(pix);
    img->SetHandle(0, 0.5f * float(TConfig::tileheight));
    TOPPanel::addImage(img, 0, 0, 0, 0, 0, 1);
    TOPPanel::performRendering();
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
    TOPPanel::addImage(img, 100, 100, 0, 0, 0, 1);
    TOPPanel::performRendering();
    const int32_t top = 100 - 16 + TConfig::tileheight / 2;
    EXPECT_EQ(Pixel(0, 0, 1, 100, top), 0xFF00FF00u);
    EXPECT_EQ(Pixel(0, 0, 1, 100, top - 1), 0u);
    EXPECT_EQ(Pixel(0, 0, 1, 100, top + 23), 0xFF00FF00u);
}

TEST_F(OPPanelTest, OneColourBlocksKeepNoPixelCopyAndDrawTheSame) {
    // A whole block covered in black by overlapping tiles, as the outer ring does it.
    auto black = Solid(32, 16, 0xFF000000u);
    for (int32_t y = 0; y < 512; y += 8) {
        for (int32_t x = -16; x < 512; x += 16) TOPPanel::addImage(black, float(x), float(y), 0, 0, 0, 0);
    }
    TOPPanel::performRendering();
    const auto* b = TOPPanel::GetBlock(0, 0, 0);
    ASSERT_TRUE(b);
    EXPECT_FALSE(b->image);
    EXPECT_EQ(b->colour, 0xFF000000u);
    // The neighbours hold only the overhanging part and keep their pixels.
    EXPECT_EQ(TOPPanel::PixelBlockCount(0), TOPPanel::BlockCount(0) - 1);

    // The same colour again changes nothing and needs no copy.
    TOPPanel::addImage(black, 200, 200, 0, 0, 0, 0);
    TOPPanel::performRendering();
    EXPECT_FALSE(TOPPanel::GetBlock(0, 0, 0)->image);

    // Drawn as one stretched image of that colour over exactly the block's area.
    SetScale(0.5f, 0.5f);
    backend->ClearLog();
    TOPPanel::Draw(10, 20, 0);
    bool found = false;
    for (const auto& c : backend->calls) {
        if (c.kind != TDrawCall::Image || c.x != 10 || c.y != 20) continue;
        const auto* img = static_cast<const TImage*>(c.source);
        EXPECT_EQ(img->pixmaps[0]->ReadPixel(0, 0), 0xFF000000u);
        EXPECT_FLOAT_EQ(c.scaleX * float(img->width), 256.0f);
        EXPECT_FLOAT_EQ(c.scaleY * float(img->height), 256.0f);
        found = true;
    }
    EXPECT_TRUE(found);
    float sx = 0, sy = 0;
    GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 0.5f);

    // Another colour gives the block its pixels back, black everywhere else.
    TOPPanel::addImage(Solid(2, 2, 0xFFFFFFFFu), 40, 40, 0, 0, 0, 0);
    TOPPanel::performRendering();
    EXPECT_TRUE(TOPPanel::GetBlock(0, 0, 0)->image);
    EXPECT_EQ(Pixel(0, 0, 0, 40, 40), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(0, 0, 0, 0, 0), 0xFF000000u);
    EXPECT_EQ(Pixel(0, 0, 0, 511, 511), 0xFF000000u);
}

TEST_F(OPPanelTest, OnlyBlocksOnScreenAreDrawnAndOnlyChangedBlocksUploadAgain) {
    auto img = Solid(4, 4, 0xFF808080u);
    for (int32_t i = -3; i <= 3; ++i) TOPPanel::addImage(img, float(i * 512 + 100), 100, 0, 0, 0, 1);
    SetScale(1, 1);
    backend->ClearLog();
    // Plane origin at screen (0, 0): blocks 0 and 1 overlap the 800-pixel screen.
    TOPPanel::Draw(0, 0, 1);
    std::vector<float> xs;
    for (const auto& c : backend->calls) {
        if (c.kind == TDrawCall::Image) xs.push_back(c.x);
    }
    EXPECT_EQ(xs, (std::vector<float>{0.0f, 512.0f}));
    const size_t firstUploads = backend->uploads.size();
    EXPECT_EQ(firstUploads, 2u);

    backend->ClearLog();
    TOPPanel::Draw(0, 0, 1);
    EXPECT_EQ(backend->uploads.size(), 0u);

    TOPPanel::addImage(img, 600, 10, 0, 0, 0, 1);
    backend->ClearLog();
    TOPPanel::Draw(0, 0, 1);
    ASSERT_EQ(backend->uploads.size(), 1u);
    EXPECT_EQ(backend->uploads[0].texture, TOPPanel::GetBlock(1, 0, 1)->image->frames[0].texture);
}

TEST_F(OPPanelTest, QueueIsWorkedOffBeforeItGrowsLarge) {
    auto img = Solid(1, 1, 0xFF010203u);
    for (int32_t i = 0; i < 3 * int32_t(TOPPanel::maxPending) + 5; ++i)
        TOPPanel::addImage(img, float(i % 500), 0, 0, 0, 0, 1);
    EXPECT_LT(TOPPanel::PendingCount(), TOPPanel::maxPending);
    TOPPanel::performRendering();
    EXPECT_EQ(TOPPanel::PendingCount(), 0u);
    EXPECT_EQ(Pixel(0, 0, 1, 499, TConfig::tileheight / 2 - TConfig::tileheight / 2), 0xFF010203u);
}

TEST_F(OPPanelTest, NullImagesAndBadFramesAreIgnored) {
    TOPPanel::addImage(nullptr, 0, 0, 0, 0, 0, 1);
    TOPPanel::addImage(Solid(2, 2, 0xFFFFFFFFu), 0, 0, 5, 0, 0, 1);
    TOPPanel::addImage(Solid(2, 2, 0xFFFFFFFFu), 0, 0, 0, 0, 0, 7);
    TOPPanel::performRendering();
    EXPECT_EQ(TOPPanel::BlockCount(0) + TOPPanel::BlockCount(1), 0u);
    EXPECT_FALSE(TOPPanel::getPixmapForPos(0, 0, 2));
}

}  // namespace
