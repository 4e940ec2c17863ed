#include <gtest/gtest.h>

#include <algorithm>

#include "platform/TDraw.h"
#include "platform/TGraphics.h"
#include "platform/TImageAtlas.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"
#include "platform/TSpriteBatch.h"

namespace {

// Twenty pictures of mixed sizes; no two pixels of them are alike.
std::vector<std::shared_ptr<TImage>> Pictures() {
    std::vector<std::shared_ptr<TImage>> list;
    for (int32_t i = 0; i < 20; ++i) {
        auto img = TImage::Create(5 + i % 7, 3 + i % 5, 1, 0);
        for (int32_t y = 0; y < img->height; ++y) {
            for (int32_t x = 0; x < img->width; ++x)
                img->pixmaps[0]->WritePixel(x, y, 0xFF000000u | (i << 16 | y << 8 | x));
        }
        list.push_back(img);
    }
    return list;
}

class ImageAtlasTest : public testing::Test {
protected:
    void SetUp() override { backend = TGraphics::HeadlessGraphics(320, 200); }
    void TearDown() override { TGraphics::EndGraphics(); }
    // Draws the pictures in turn; the number of device draw calls.
    size_t Batches(const std::vector<std::shared_ptr<TImage>>& list) {
        TSpriteBatch::Instance().Flush();
        backend->ClearLog();
        for (const auto& img : list) DrawImage(img, 0, 0);
        TSpriteBatch::Instance().Flush();
        return backend->batches.size();
    }
    std::shared_ptr<TRecordingBackend> backend;
};

TEST_F(ImageAtlasTest, PicturesDrawnInTurnAreOneBatch) {
    auto list = Pictures();
    EXPECT_EQ(Batches(list), 20u);
    ASSERT_EQ(TImageAtlas::Pack(list).size(), 1u);
    EXPECT_EQ(Batches(list), 1u);
    EXPECT_EQ(backend->textures.size(), 1u) << "the pictures' own textures are given up";
}

TEST_F(ImageAtlasTest, FramesCoverExactlyTheirPixelsWithARepeatedBorder) {
    auto list = Pictures();
    // A strip of three frames (a chimney's smoke, a car's directions) among them.
    auto strip = TImage::Create(6, 4, 3, 0);
    for (int32_t f = 0; f < 3; ++f) {
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t x = 0; x < 6; ++x)
                strip->pixmaps[size_t(f)]->WritePixel(x, y, 0xFF800000u | (f << 12 | y << 4 | x));
        }
    }
    list.push_back(strip);
    const auto atlases = TImageAtlas::Pack(list, 64);  // small, so there are several shelves
    ASSERT_EQ(atlases.size(), 1u);
    const TPixmap& pix = *atlases[0]->pixmaps[0];
    const uint32_t texture = atlases[0]->Frame(0)->texture;
    const auto [texW, texH] = backend->textures.at(texture);
    for (const auto& img : list) {
        for (int32_t frame = 0; frame < img->FrameCount(); ++frame) {
            const int32_t ax = img->AtlasX(frame), ay = img->AtlasY(frame), w = img->width, h = img->height;
            // Cells that overlap, or leave the atlas, break a pixel or a border of one of them.
            for (int32_t y = -1; y <= h; ++y) {
                for (int32_t x = -1; x <= w; ++x) {
                    const uint32_t want =
                        img->pixmaps[size_t(frame)]->ReadPixel(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1));
                    ASSERT_EQ(pix.ReadPixel(ax + x, ay + y), want) << x << "," << y << " frame " << frame;
                }
            }
            // The atlas texture has a border of its own: atlas pixel (ax, ay) is texel (ax + 1, ay + 1).
            const TImageFrame* f = img->Frame(frame);
            EXPECT_EQ(f->texture, texture);
            EXPECT_NEAR(f->u0, float(ax + 1) / float(texW), 1e-6f);
            EXPECT_NEAR(f->v0, float(ay + 1) / float(texH), 1e-6f);
            EXPECT_NEAR(f->u1, float(ax + 1 + w) / float(texW), 1e-6f);
            EXPECT_NEAR(f->v1, float(ay + 1 + h) / float(texH), 1e-6f);
        }
    }
}

TEST_F(ImageAtlasTest, OnlyImagesWhoseFramesFitOneAtlasArePackedAndFilteringIsNeverMixed) {
    struct Case {
        std::shared_ptr<TImage> image;
        int32_t atlas;  // index of the atlas it lands in, -1 left alone
    };
    // Textures of 64: a cell (picture plus border) may be 62 wide, the atlas's own border around it.
    const std::vector<Case> cases = {{TImage::Create(60, 5, 1, 0), 0},
                                     {TImage::Create(61, 5, 1, 0), -1},
                                     {TImage::Create(8, 8, 1, FILTEREDIMAGE), 1},
                                     {TImage::Create(5, 61, 1, FILTEREDIMAGE), -1},
                                     {TImage::Create(8, 8, 1, MASKEDIMAGE), 0},
                                     {TImage::Create(4, 4, 2, 0), 0},
                                     {TImage::Create(20, 20, 30, 0), -1},  // 30 cells of 22, four fit
                                     {nullptr, -1}};
    std::vector<std::shared_ptr<TImage>> list;
    for (const Case& c : cases) list.push_back(c.image);
    const auto atlases = TImageAtlas::Pack(list, 64);
    ASSERT_EQ(atlases.size(), 2u);
    EXPECT_EQ(atlases[0]->flags & FILTEREDIMAGE, 0);
    EXPECT_EQ(atlases[1]->flags & FILTEREDIMAGE, FILTEREDIMAGE);
    for (size_t i = 0; i + 1 < cases.size(); ++i) {
        EXPECT_EQ(cases[i].image->Atlas(), cases[i].atlas < 0 ? nullptr : atlases[size_t(cases[i].atlas)]) << i;
    }
}

TEST_F(ImageAtlasTest, AFullAtlasIsFollowedByAnother) {
    struct Case {
        int32_t maxSize, height;
        size_t atlases;
    };
    // Ten pictures 14 wide (cells of 16): two to a shelf within 33 or 34 pixels, four within 64.
    for (const Case c : {Case{34, 14, 3}, Case{35, 15, 5}, Case{66, 14, 1}}) {
        std::vector<std::shared_ptr<TImage>> list(10);
        for (auto& img : list) img = TImage::Create(14, c.height, 1, 0);
        const auto atlases = TImageAtlas::Pack(list, c.maxSize);
        EXPECT_EQ(atlases.size(), c.atlases) << c.maxSize;
        for (const auto& atlas : atlases) EXPECT_LE(std::max(atlas->width, atlas->height) + 2, c.maxSize);
        for (const auto& img : list) EXPECT_TRUE(img->Atlas()) << c.maxSize;
    }
}

TEST_F(ImageAtlasTest, NewPixelsLeaveTheAtlasForATextureOfTheirOwn) {
    using Change = void (*)(TImage&);
    for (const Change change :
         {Change([](TImage& img) { img.Unlock(0); }), Change([](TImage& img) { img.SetPixmap(0, img.pixmaps[0]); })}) {
        auto list = Pictures();
        TImageAtlas::Pack(list);
        list[4]->Lock(0)->WritePixel(0, 0, 0xFFFFFFFFu);
        EXPECT_EQ(Batches(list), 1u) << "writes show only after Unlock";
        change(*list[4]);
        EXPECT_EQ(Batches(list), 3u);  // pictures 0-3, 4 on its own, 5-19
        EXPECT_FALSE(list[4]->Atlas());
        ASSERT_EQ(backend->uploads.size(), 1u);
        EXPECT_EQ(backend->uploads[0].texture, backend->batches[1].texture);
        EXPECT_EQ(backend->uploads[0].width, list[4]->width + 2);
    }
}

TEST_F(ImageAtlasTest, AtlasTooLargeForTheDeviceFallsBackToOwnTextures) {
    auto list = Pictures();
    Batches(list);  // own textures go up before packing and are then given up
    TImageAtlas::Pack(list);
    backend->maxTextureSize = 16;
    EXPECT_EQ(Batches(list), 20u);
    EXPECT_EQ(backend->uploads.size(), 20u);
}

}  // namespace
