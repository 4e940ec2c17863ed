// The minimap: image size, where tiles land, writing and drawing its layers.
#include <gtest/gtest.h>

#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"
#include "world/TMiniMap.h"

namespace {

class MiniMapTest : public testing::Test {
protected:
    void SetUp() override { backend = TGraphics::HeadlessGraphics(320, 200); }
    void TearDown() override { TGraphics::EndGraphics(); }
    std::shared_ptr<TRecordingBackend> backend;
};

TEST_F(MiniMapTest, TilesAreTwoPixelsInTheMapDiamond) {
    auto mm = TMiniMap::Create(128, 128, 2);
    ASSERT_TRUE(mm);
    EXPECT_EQ(mm->getWidth(), 256);
    EXPECT_EQ(mm->getHeight(), 128);
    // Created transparent white.
    EXPECT_EQ(mm->image[0]->pixmaps[0]->ReadPixel(10, 10), 0x00FFFFFFu);
    mm->Write(0, 127, int32_t(0xFF112233u), TMiniMap::Layer_Map);
    mm->Write(127, 0, int32_t(0xFF445566u), TMiniMap::Layer_Map);
    mm->Write(0, 0, int32_t(0xFF778899u), TMiniMap::Layer_Map);
    mm->EndWrite(TMiniMap::Layer_Map);
    const auto& p = *mm->image[0]->pixmaps[0];
    EXPECT_EQ(p.ReadPixel(127, 0), 0xFF112233u);
    EXPECT_EQ(p.ReadPixel(128, 0), 0xFF112233u);
    EXPECT_EQ(p.ReadPixel(129, 0), 0x00FFFFFFu);
    EXPECT_EQ(p.ReadPixel(127, 127), 0xFF445566u);
    EXPECT_EQ(p.ReadPixel(0, 64), 0xFF778899u);
    // The other layer is untouched; writes off the map or to missing layers change nothing.
    EXPECT_EQ(mm->Read(0, 127, TMiniMap::Layer_Influence), 0x00FFFFFFu);
    mm->Write(128, 0, 1, 0);
    mm->Write(0, 0, 1, 5);
    EXPECT_EQ(mm->Read(0, 0, 0), 0xFF778899u);
}

TEST_F(MiniMapTest, OddMapSizesKeepEveryTileInsideTheImage) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 500}, std::pair{500, 1}, std::pair{3, 6}}) {
        auto mm = TMiniMap::Create(w, h, 1);
        ASSERT_TRUE(mm);
        for (int32_t x = 0; x < w; ++x) {
            for (int32_t y = 0; y < h; ++y) {
                int32_t px = 0, py = 0;
                mm->TilePixel(x, y, px, py);
                ASSERT_TRUE(px >= 0 && px + 1 < mm->getWidth() && py >= 0 && py < mm->getHeight())
                    << w << "x" << h << " tile " << x << "," << y;
            }
        }
    }
    EXPECT_FALSE(TMiniMap::Create(0, 5, 2));
    EXPECT_FALSE(TMiniMap::Create(5, 5, 0));
}

TEST_F(MiniMapTest, WritesShowOnceTheLayerIsDrawnAndLayerSettingsApply) {
    auto mm = TMiniMap::Create(8, 8, 2);
    mm->Write(1, 1, int32_t(0xFFFF0000u), 0);
    EXPECT_TRUE(mm->_pixmap[0]);
    mm->SetAlpha(0.5f, 1);
    EXPECT_NEAR(mm->GetAlpha(1), 127.0f / 255.0f, 1e-6);
    mm->SetBlendMode(LIGHTBLEND, 1);
    mm->setVisible(0, 0);
    SetAlpha(0.8f);
    backend->ClearLog();
    auto outline = mm->Draw(10, 20, 1, 1, -1);
    // Layer 0 hidden: still locked for writing; layer 1 drawn with its own blend and alpha.
    EXPECT_TRUE(mm->_pixmap[0]);
    ASSERT_EQ(backend->calls.size(), 1u);
    EXPECT_EQ(backend->calls[0].blend, LIGHTBLEND);
    EXPECT_NEAR(backend->calls[0].alpha, 0.8f * 127.0f / 255.0f, 1e-5);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.8f);
    EXPECT_EQ(GetBlend(), ALPHABLEND);
    mm->setVisible(1, 0);
    backend->ClearLog();
    mm->Draw(10, 20, 1, 1, 0);
    EXPECT_FALSE(mm->_pixmap[0]);
    ASSERT_EQ(backend->uploads.size(), 1u);
    // Outline corners left, top, right, bottom.
    EXPECT_EQ(outline, (std::array<float, 8>{10, 24, 18, 20, 25, 24, 18, 27}));
    EXPECT_EQ(mm->_GetOutline(0, 0, 2, 0.5f), (std::array<float, 8>{0, 2, 16, 0, 30, 2, 16, 3.5f}));
}

}  // namespace
