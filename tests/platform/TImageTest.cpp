#include <gtest/gtest.h>

#include <memory>

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"
#include "platform/TSpriteBatch.h"

namespace {

// A strip of columns x rows cells, each cell filled with its own colour (CellColor).
std::shared_ptr<TPixmap> Strip(int32_t columns, int32_t rows, int32_t cellW, int32_t cellH) {
    auto p = TPixmap::Create(columns * cellW, rows * cellH);
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            p->Window(c * cellW, r * cellH, cellW, cellH)->ClearPixels(0xFF000000u | uint32_t(r * columns + c + 1));
        }
    }
    return p;
}

uint32_t CellColor(int32_t cell) { return 0xFF000000u | uint32_t(cell + 1); }

class ImageTest : public testing::Test {
protected:
    void SetUp() override {
        backend = TGraphics::HeadlessGraphics(320, 200);
        GetMaskColor(maskR, maskG, maskB);
        autoFlags = GetAutoImageFlags();
    }
    void TearDown() override {
        SetMaskColor(maskR, maskG, maskB);
        AutoImageFlags(autoFlags);
        AutoMidHandle(false);
        TGraphics::EndGraphics();
    }
    std::shared_ptr<TRecordingBackend> backend;
    int32_t maskR = 0, maskG = 0, maskB = 0, autoFlags = 0;
};

TEST_F(ImageTest, StripIsCutLeftToRightThenTopToBottomFromTheFirstCell) {
    auto strip = Strip(3, 2, 4, 5);
    auto img = TImage::FromAnimPixmap(strip, 4, 5, 1, 4, 0);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->width, 4);
    EXPECT_EQ(img->height, 5);
    ASSERT_EQ(img->FrameCount(), 4);
    for (int32_t i = 0; i < 4; ++i) {
        const auto& frame = img->pixmaps[static_cast<size_t>(i)];
        EXPECT_EQ(frame->width, 4);
        EXPECT_EQ(frame->height, 5);
        // Every pixel of the frame belongs to its cell, none to a neighbour.
        EXPECT_EQ(frame->ReadPixel(0, 0), CellColor(1 + i)) << i;
        EXPECT_EQ(frame->ReadPixel(3, 4), CellColor(1 + i)) << i;
    }
    // Frames are copies: changing the strip afterwards leaves them alone.
    strip->ClearPixels(0);
    EXPECT_EQ(img->pixmaps[0]->ReadPixel(0, 0), CellColor(1));
}

TEST_F(ImageTest, StripTooSmallForTheCountIsRefused) {
    auto strip = Strip(3, 2, 4, 5);
    EXPECT_TRUE(TImage::FromAnimPixmap(strip, 4, 5, 0, 6, 0));
    EXPECT_FALSE(TImage::FromAnimPixmap(strip, 4, 5, 0, 7, 0));
    EXPECT_FALSE(TImage::FromAnimPixmap(strip, 4, 5, 3, 4, 0));
    EXPECT_FALSE(TImage::FromAnimPixmap(strip, 13, 5, 0, 1, 0));  // cell wider than the strip
    EXPECT_FALSE(TImage::FromAnimPixmap(strip, 4, 5, -1, 1, 0));
    EXPECT_FALSE(TImage::FromAnimPixmap(strip, 0, 5, 0, 1, 0));
    EXPECT_FALSE(TImage::FromAnimPixmap(strip, 4, 5, 0, 0, 0));
    EXPECT_FALSE(TImage::FromAnimPixmap(nullptr, 4, 5, 0, 1, 0));
    EXPECT_FALSE(TImage::Load("/nonexistent/vallmora/picture.png"));
    EXPECT_FALSE(TImage::LoadAnim("/nonexistent/vallmora/picture.png", 4, 4, 0, 1));
}

TEST_F(ImageTest, HandlesAndMidHandle) {
    auto img = TImage::Create(5, 8, 1, 0);
    ASSERT_TRUE(img);
    EXPECT_FLOAT_EQ(img->handle_x, 0);
    EXPECT_FLOAT_EQ(img->handle_y, 0);
    img->SetHandle(1, 2);
    EXPECT_FLOAT_EQ(img->handle_x, 1);
    EXPECT_FLOAT_EQ(img->handle_y, 2);
    img->MidHandle();
    EXPECT_FLOAT_EQ(img->handle_x, 2.5f);
    EXPECT_FLOAT_EQ(img->handle_y, 4.0f);

    AutoMidHandle(true);
    auto centred = TImage::FromPixmap(TPixmap::Create(6, 4), 0);
    ASSERT_TRUE(centred);
    EXPECT_FLOAT_EQ(centred->handle_x, 3);
    EXPECT_FLOAT_EQ(centred->handle_y, 2);
}

TEST_F(ImageTest, MaskColourBecomesTransparentOnlyForMaskedPicturesWithoutAlpha) {
    SetMaskColor(255, 0, 255);
    auto source = TPixmap::Create(2, 1);
    source->WritePixel(0, 0, 0xFFFF00FFu);
    source->WritePixel(1, 0, 0xFF102030u);

    source->sourceHasAlpha = false;
    auto masked = TImage::FromPixmap(source, MASKEDIMAGE);
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->pixmaps[0]->ReadPixel(0, 0) >> 24, 0u);
    EXPECT_EQ(masked->pixmaps[0]->ReadPixel(1, 0), 0xFF102030u);
    EXPECT_EQ(masked->mask_r, 255);
    EXPECT_EQ(masked->mask_g, 0);
    EXPECT_EQ(masked->mask_b, 255);
    // The source pixmap itself is left alone.
    EXPECT_EQ(source->ReadPixel(0, 0), 0xFFFF00FFu);

    auto unmasked = TImage::FromPixmap(source, FILTEREDIMAGE);
    EXPECT_EQ(unmasked->pixmaps[0]->ReadPixel(0, 0), 0xFFFF00FFu);

    source->sourceHasAlpha = true;
    auto ownAlpha = TImage::FromPixmap(source, MASKEDIMAGE);
    EXPECT_EQ(ownAlpha->pixmaps[0]->ReadPixel(0, 0), 0xFFFF00FFu);

    // A different mask colour set before loading is the one applied.
    source->sourceHasAlpha = false;
    SetMaskColor(0x10, 0x20, 0x30);
    auto other = TImage::FromPixmap(source, MASKEDIMAGE);
    EXPECT_EQ(other->pixmaps[0]->ReadPixel(0, 0), 0xFFFF00FFu);
    EXPECT_EQ(other->pixmaps[0]->ReadPixel(1, 0) >> 24, 0u);
}

TEST_F(ImageTest, AutomaticFlagsApplyWhenMinusOneIsPassed) {
    EXPECT_EQ(GetAutoImageFlags(), MASKEDIMAGE | FILTEREDIMAGE);
    auto source = TPixmap::Create(1, 1);
    EXPECT_EQ(TImage::FromPixmap(source)->flags, MASKEDIMAGE | FILTEREDIMAGE);
    AutoImageFlags(MASKEDIMAGE);
    EXPECT_EQ(TImage::FromPixmap(source, -1)->flags, MASKEDIMAGE);
    EXPECT_EQ(TImage::FromPixmap(source, FILTEREDIMAGE)->flags, FILTEREDIMAGE);
}

TEST_F(ImageTest, CreateIsAlwaysDynamic) {
    auto img = TImage::Create(4, 4, 3, 0);
    ASSERT_TRUE(img);
    EXPECT_TRUE(img->flags & DYNAMICIMAGE);
    EXPECT_EQ(img->FrameCount(), 3);
    EXPECT_TRUE(TImage::Create(4, 4, 1, -1)->flags & DYNAMICIMAGE);
    EXPECT_FALSE(TImage::Create(0, 4, 1));
    EXPECT_FALSE(TImage::Create(4, 4, 0));
}

TEST_F(ImageTest, FramesUploadOnceAndAgainOnlyAfterUnlock) {
    auto img = TImage::FromAnimPixmap(Strip(2, 1, 8, 8), 8, 8, 0, 2, 0);
    ASSERT_TRUE(img);
    DrawImage(img, 0, 0, 0);
    DrawImage(img, 10, 0, 0);
    ASSERT_EQ(backend->uploads.size(), 1u);
    DrawImage(img, 0, 0, 1);
    DrawImage(img, 20, 0, 1);
    ASSERT_EQ(backend->uploads.size(), 2u);
    const TRecordingBackend::TUpload frame1 = backend->uploads[1];

    auto pix = img->Lock(1);
    ASSERT_TRUE(pix);
    pix->WritePixel(0, 0, 0xFFFFFFFFu);
    DrawImage(img, 0, 0, 1);
    EXPECT_EQ(backend->uploads.size(), 2u) << "writes must not show before Unlock";
    img->Unlock(1);
    DrawImage(img, 0, 0, 0);
    DrawImage(img, 0, 0, 1);
    DrawImage(img, 0, 0, 1);
    ASSERT_EQ(backend->uploads.size(), 3u);
    const TRecordingBackend::TUpload again = backend->uploads[2];
    EXPECT_EQ(again.texture, frame1.texture);
    EXPECT_EQ(again.x, frame1.x);
    EXPECT_EQ(again.y, frame1.y);
    EXPECT_EQ(again.width, frame1.width);
    EXPECT_EQ(again.height, frame1.height);

    // SetPixmap replaces a frame's pixels and re-uploads that frame only.
    img->SetPixmap(0, TPixmap::Create(8, 8));
    DrawImage(img, 0, 0, 1);
    EXPECT_EQ(backend->uploads.size(), 3u);
    DrawImage(img, 0, 0, 0);
    EXPECT_EQ(backend->uploads.size(), 4u);
}

TEST_F(ImageTest, ReUploadKeepsTrianglesAlreadyBatchedApart) {
    auto img = TImage::Create(4, 4, 1, 0);
    img->Lock(0)->ClearPixels(0xFF0000FFu);  // visible, or the quad is trimmed away
    img->Unlock(0);
    DrawImage(img, 0, 0);
    TSpriteBatch::Instance().Flush();
    backend->ClearLog();
    DrawImage(img, 0, 0);
    img->Lock(0)->ClearPixels(0xFF00FF00u);
    img->Unlock(0);
    DrawImage(img, 0, 0);
    TSpriteBatch::Instance().Flush();
    // The first quad must be drawn before the new pixels go up.
    ASSERT_EQ(backend->batches.size(), 2u);
    EXPECT_EQ(backend->batches[0].vertexCount, 6u);
    EXPECT_EQ(backend->uploads.size(), 1u);
}

TEST_F(ImageTest, FrameOutOfRangeIsNullAndDrawsNothing) {
    auto img = TImage::Create(4, 4, 2, 0);
    EXPECT_TRUE(img->Frame(0));
    EXPECT_TRUE(img->Frame(1));
    EXPECT_FALSE(img->Frame(2));
    EXPECT_FALSE(img->Frame(-1));
    EXPECT_FALSE(img->Lock(2));
    img->Unlock(5);  // ignored
    TSpriteBatch::Instance().Flush();
    backend->ClearLog();
    DrawImage(img, 0, 0, 7);
    TSpriteBatch::Instance().Flush();
    EXPECT_TRUE(backend->batches.empty());
}

TEST_F(ImageTest, NullImageOrFontDrawsNothing) {
    DrawImage(nullptr, 1, 2);
    DrawImageRect(nullptr, 1, 2, 3, 4);
    TileImage(nullptr);
    DrawPixmap(nullptr, 0, 0);
    SetImageFont(nullptr);
    DrawText("Hallo", 0, 0);
    EXPECT_FLOAT_EQ(TextWidth("Hallo"), 0);
    EXPECT_FLOAT_EQ(TextHeight("Hallo"), 0);
    TSpriteBatch::Instance().Flush();
    EXPECT_TRUE(backend->calls.empty());
    EXPECT_TRUE(backend->batches.empty());
    EXPECT_FALSE(TImageFont::Load("/nonexistent/vallmora/font.ttf", 12));
}

TEST_F(ImageTest, ImagesOutliveTheDevice) {
    auto img = TImage::Create(4, 4, 1, 0);
    DrawImage(img, 0, 0);
    TGraphics::EndGraphics();
    // Without a device there is no frame and drawing is dropped.
    EXPECT_FALSE(img->Frame(0));
    DrawImage(img, 0, 0);
    // A new device gets the pixels again.
    backend = TGraphics::HeadlessGraphics(100, 100);
    ASSERT_TRUE(img->Frame(0));
    EXPECT_EQ(backend->uploads.size(), 1u);
}

}  // namespace
