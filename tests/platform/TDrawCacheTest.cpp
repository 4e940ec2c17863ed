#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/TDraw.h"
#include "platform/TDrawCache.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"
#include "platform/TSpriteBatch.h"

namespace {

constexpr int32_t W = 320, H = 200;

class DrawCacheTest : public testing::Test {
protected:
    void SetUp() override { backend = TGraphics::HeadlessGraphics(W, H); }
    void TearDown() override { TGraphics::EndGraphics(); }

    // One frame of the part through the cache; the log holds only what it drew.
    void Frame(TDrawCache& cache, const std::function<void()>& part) {
        TSpriteBatch::Instance().Flush();
        backend->ClearLog();
        cache.Begin();
        SetBlend(ALPHABLEND);
        part();
        cache.End();
        TSpriteBatch::Instance().Flush();
    }
    // Vertices of the batches drawn into `target`.
    size_t VerticesInto(uint32_t target) const {
        size_t n = 0;
        for (const auto& b : backend->batches) n += b.target == target ? b.vertexCount : 0;
        return n;
    }
    std::shared_ptr<TRecordingBackend> backend;
};

struct TBox {
    float x, y, w, h;
};

void Boxes(const std::vector<TBox>& boxes) {
    for (const TBox& b : boxes) DrawRect(b.x, b.y, b.w, b.h);
}

// Frame by frame: what changed, how the cache drew it, which rectangle of the picture it cleared
// and how many vertices it drew into the picture (only those that reach the cleared rectangle).
TEST_F(DrawCacheTest, ThePictureIsDrawnAnewOnlyWhereThePartChanged) {
    const TBox a{10, 10, 40, 20}, b{100, 50, 30, 30};
    struct TStepCase {
        const char* what;
        std::vector<TBox> boxes;
        TDrawCache::TCounts counts;    // after the frame
        std::vector<int32_t> cleared;  // x, y, w, h; empty: nothing drawn into the picture
        size_t intoPicture;
    };
    const TStepCase frames[] = {
        {"first frame: the whole picture", {a, b}, {1, 0, 0, 0}, {0, 0, W, H}, 12},
        {"same again: laid over as kept", {a, b}, {1, 0, 1, 0}, {}, 0},
        {"b moved: old and new place", {a, {104, 50, 30, 30}}, {1, 1, 1, 0}, {100, 50, 34, 30}, 6},
        {"a box more at the end", {a, {104, 50, 30, 30}, {200, 150, 10, 10}}, {1, 2, 1, 0}, {200, 150, 10, 10}, 6},
        {"most of the screen changed: whole", {{0, 0, 300, 190}}, {2, 2, 1, 0}, {0, 0, W, H}, 6},
    };
    TDrawCache cache;
    for (const TStepCase& f : frames) {
        SCOPED_TRACE(f.what);
        Frame(cache, [&] { Boxes(f.boxes); });
        const TDrawCache::TCounts& n = cache.Counts();
        EXPECT_EQ(n.drawn, f.counts.drawn);
        EXPECT_EQ(n.partly, f.counts.partly);
        EXPECT_EQ(n.kept, f.counts.kept);
        EXPECT_EQ(n.direct, f.counts.direct);
        if (f.cleared.empty()) {
            EXPECT_TRUE(backend->targetClears.empty());
        } else {
            ASSERT_EQ(backend->targetClears.size(), 1u);
            const auto& c = backend->targetClears[0];
            EXPECT_NE(c.texture, 0u);
            EXPECT_EQ((std::vector<int32_t>{c.x, c.y, c.width, c.height}), f.cleared);
        }
        const uint32_t picture = backend->batches.back().texture;
        EXPECT_EQ(VerticesInto(picture), f.intoPicture);
        // Every frame ends with the picture laid over the back buffer in one call.
        EXPECT_EQ(backend->batches.back().target, 0u);
        EXPECT_EQ(backend->batches.back().blend, OVERBLEND);
        EXPECT_EQ(std::count_if(backend->batches.begin(), backend->batches.end(),
                                [](const auto& batch) { return batch.target == 0; }),
                  1);
    }
}

// The picture is laid over the 16-pixel cells the boxes touch, each run of cells one quad, its
// texture coordinates reading the picture's bottom-up rows.
TEST_F(DrawCacheTest, ThePictureCoversTheCellsThePartTouches) {
    TDrawCache cache;
    Frame(cache, [] { Boxes({{10, 10, 40, 20}, {100, 50, 30, 30}}); });
    const auto& v = backend->vertices;
    ASSERT_GE(v.size(), 12u);
    std::vector<std::vector<float>> quads;
    for (size_t i = v.size() - 12; i < v.size(); i += 6) {
        quads.push_back({v[i].x, v[i].y, v[i + 2].x, v[i + 2].y});
        EXPECT_FLOAT_EQ(v[i].u, v[i].x / W);
        EXPECT_FLOAT_EQ(v[i].v, 1.0f - v[i].y / H);
    }
    EXPECT_EQ(quads, (std::vector<std::vector<float>>{{0, 0, 64, 32}, {96, 48, 144, 80}}));
}

// New pixels in a texture the part draws with: the picture is drawn anew where it is drawn.
TEST_F(DrawCacheTest, ATextureWithNewPixelsIsDrawnAnew) {
    auto image = TImage::Create(8, 8, 1, 0);
    image->Lock(0)->ClearPixels(0xFF808080u);
    image->Unlock(0);
    const auto part = [&] {
        DrawRect(10, 10, 20, 20);
        DrawImage(image, 200, 100);
    };
    TDrawCache cache;
    Frame(cache, part);
    Frame(cache, part);
    EXPECT_EQ(cache.Counts().kept, 1u);
    image->Lock(0)->ClearPixels(0xFF404040u);
    image->Unlock(0);
    Frame(cache, part);
    EXPECT_EQ(cache.Counts().partly, 1u);
    ASSERT_EQ(backend->targetClears.size(), 1u);
    EXPECT_EQ(backend->targetClears[0].x, 200);
    EXPECT_EQ(backend->targetClears[0].y, 100);
}

// What cannot be kept is drawn directly, in order, and the kept picture stays usable.
TEST_F(DrawCacheTest, OtherBlendModesAndDeviceUseDrawDirectly) {
    TDrawCache cache;
    const auto plain = [] { DrawRect(10, 10, 20, 20); };
    Frame(cache, plain);

    Frame(cache, [] {
        DrawRect(10, 10, 20, 20);
        SetBlend(SHADEBLEND);
        DrawRect(50, 50, 20, 20);
    });
    EXPECT_EQ(cache.Counts().direct, 1u);
    ASSERT_EQ(backend->batches.size(), 2u);
    EXPECT_EQ(backend->batches[0].blend, ALPHABLEND);
    EXPECT_EQ(backend->batches[1].blend, SHADEBLEND);
    EXPECT_EQ(backend->batches[1].target, 0u);

    // A clear in the middle: what came before it is drawn first.
    Frame(cache, [] {
        DrawRect(10, 10, 20, 20);
        Cls();
        DrawRect(50, 50, 20, 20);
    });
    EXPECT_EQ(cache.Counts().direct, 2u);
    ASSERT_EQ(backend->batches.size(), 2u);
    EXPECT_EQ(backend->targetClears.size(), 0u);

    // A texture deleted after it was drawn: it is drawn before it goes.
    auto image = TImage::Create(8, 8, 1, 0);
    image->Lock(0)->ClearPixels(0xFF808080u);
    image->Unlock(0);
    Frame(cache, [&] {
        DrawImage(image, 10, 10);
        image.reset();
        DrawRect(50, 50, 20, 20);
    });
    EXPECT_EQ(cache.Counts().direct, 3u);
    ASSERT_EQ(backend->batches.size(), 2u);
    EXPECT_NE(backend->batches[0].texture, 0u);
    EXPECT_EQ(backend->batches[0].target, 0u);

    Frame(cache, plain);
    EXPECT_EQ(cache.Counts().kept, 1u);
    EXPECT_EQ(cache.Counts().drawn, 1u);
    // Collected batches are no device calls; the picture laid over is one.
    const uint64_t before = TSpriteBatch::Instance().DeviceCalls();
    Frame(cache, plain);
    EXPECT_EQ(TSpriteBatch::Instance().DeviceCalls() - before, 1u);
}

}  // namespace
