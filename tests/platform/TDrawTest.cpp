#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>

#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"
#include "platform/TSpriteBatch.h"
#include "platform/TStream.h"

namespace {

class DrawTest : public testing::Test {
protected:
    void SetUp() override {
        clock = std::make_shared<TManualClock>(1000);
        TClock::SetSource(clock);
        backend = TGraphics::HeadlessGraphics(320, 200);
    }
    void TearDown() override {
        TGraphics::EndGraphics();
        TClock::SetSource(nullptr);
    }
    // Draws every frame once and forgets the log, so counts below see batching only.
    void Warm(const std::shared_ptr<TImage>& img) {
        for (int32_t i = 0; i < img->FrameCount(); ++i) DrawImage(img, 0, 0, i);
        TSpriteBatch::Instance().Flush();
        backend->ClearLog();
    }
    std::shared_ptr<TManualClock> clock;
    std::shared_ptr<TRecordingBackend> backend;
};

// An image of opaque frames: a fully transparent one is trimmed to nothing.
std::shared_ptr<TImage> Opaque(int32_t w, int32_t h, int32_t frames) {
    auto img = TImage::Create(w, h, frames, 0);
    for (int32_t f = 0; f < frames; ++f) {
        img->Lock(f)->ClearPixels(0xFF808080u);
        img->Unlock(f);
    }
    return img;
}

struct Point {
    float x, y;
};

// Where a point of an image (in image pixels) lands: relative to the handle, scaled, turned
// clockwise on screen by the rotation, then moved to origin + position.
Point Place(float px, float py, float handleX, float handleY, float degrees, float sx, float sy, float atX, float atY) {
    const double a = degrees * M_PI / 180.0;
    const double lx = (px - handleX) * sx, ly = (py - handleY) * sy;
    return Point{float(lx * std::cos(a) - ly * std::sin(a) + atX), float(lx * std::sin(a) + ly * std::cos(a) + atY)};
}

// The four corners of quad `q` among the recorded vertices (triangles 0-1-2, 0-2-3).
std::array<Point, 4> Corners(const TRecordingBackend& b, size_t q) {
    const TVertex* v = &b.vertices[q * 6];
    return {Point{v[0].x, v[0].y}, Point{v[1].x, v[1].y}, Point{v[2].x, v[2].y}, Point{v[5].x, v[5].y}};
}

void ExpectPoint(Point got, Point want, const char* what) {
    EXPECT_NEAR(got.x, want.x, 1e-3f) << what;
    EXPECT_NEAR(got.y, want.y, 1e-3f) << what;
}

TEST_F(DrawTest, ManyFramesOfOneImageAreOneBatch) {
    auto img = Opaque(8, 8, 4);
    for (int32_t i = 0; i < 1000; ++i) DrawImage(img, float(i % 300), float(i % 190), i % 4);
    TSpriteBatch::Instance().Flush();
    ASSERT_EQ(backend->batches.size(), 1u);
    EXPECT_EQ(backend->batches[0].vertexCount, 6000u);
    EXPECT_NE(backend->batches[0].texture, 0u);
    EXPECT_EQ(backend->batches[0].blend, ALPHABLEND);
    EXPECT_EQ(backend->calls.size(), 1000u);
}

TEST_F(DrawTest, BatchesSplitOnTextureAndBlendChanges) {
    auto a = Opaque(4, 4, 1), b = Opaque(4, 4, 1);
    Warm(a);
    Warm(b);
    for (int32_t i = 0; i < 10; ++i) DrawImage(i % 2 ? b : a, 0, 0);
    TSpriteBatch::Instance().Flush();
    ASSERT_EQ(backend->batches.size(), 10u);
    EXPECT_NE(backend->batches[0].texture, backend->batches[1].texture);
    EXPECT_EQ(backend->batches[0].texture, backend->batches[2].texture);

    backend->ClearLog();
    DrawImage(a, 0, 0);
    DrawImage(a, 0, 0);
    SetBlend(LIGHTBLEND);
    DrawImage(a, 0, 0);
    SetBlend(LIGHTBLEND);
    DrawImage(a, 0, 0);
    SetBlend(SHADEBLEND);
    DrawImage(a, 0, 0);
    TSpriteBatch::Instance().Flush();
    ASSERT_EQ(backend->batches.size(), 3u);
    EXPECT_EQ(backend->batches[0].blend, ALPHABLEND);
    EXPECT_EQ(backend->batches[0].vertexCount, 12u);
    EXPECT_EQ(backend->batches[1].blend, LIGHTBLEND);
    EXPECT_EQ(backend->batches[1].vertexCount, 12u);
    EXPECT_EQ(backend->batches[2].blend, SHADEBLEND);
}

TEST_F(DrawTest, PrimitivesShareTheWhiteTextureAndOneBatch) {
    SetColor(1, 2, 3);
    DrawRect(10, 10, 20, 20);
    DrawOval(50, 50, 30, 20);
    DrawLine(0, 0, 100, 40);
    Plot(5, 5);
    DrawPoly({0, 0, 10, 0, 10, 10, 0, 10});
    TSpriteBatch::Instance().Flush();
    ASSERT_EQ(backend->batches.size(), 1u);
    EXPECT_EQ(backend->batches[0].texture, 0u);
    EXPECT_EQ(backend->batches[0].vertexCount, backend->vertices.size());
    EXPECT_EQ(backend->batches[0].vertexCount % 3, 0u);
    for (const TVertex& v : backend->vertices) EXPECT_EQ(v.rgba, 0xFF030201u);
    ASSERT_EQ(backend->calls.size(), 5u);
    EXPECT_EQ(backend->calls[0].kind, TDrawCall::Rect);
    EXPECT_EQ(backend->calls[1].kind, TDrawCall::Oval);
    EXPECT_EQ(backend->calls[2].kind, TDrawCall::Line);
    EXPECT_EQ(backend->calls[3].kind, TDrawCall::Plot);
    EXPECT_EQ(backend->calls[4].kind, TDrawCall::Poly);
}

TEST_F(DrawTest, RectAndPlotLandAtOriginPlusPositionMinusHandle) {
    SetOrigin(5, 7);
    DrawRect(10, 20, 30, 40);
    SetHandle(10, 5);
    DrawRect(10, 20, 30, 40);
    Plot(3, 4);
    TSpriteBatch::Instance().Flush();
    ASSERT_EQ(backend->vertices.size(), 18u);
    auto c = Corners(*backend, 0);
    ExpectPoint(c[0], {15, 27}, "top left");
    ExpectPoint(c[2], {45, 67}, "bottom right");
    c = Corners(*backend, 1);
    ExpectPoint(c[0], {5, 22}, "handled top left");
    ExpectPoint(c[2], {35, 62}, "handled bottom right");
    c = Corners(*backend, 2);
    ExpectPoint(c[0], {8, 11}, "plot");
    ExpectPoint(c[2], {9, 12}, "plot end");
}

TEST_F(DrawTest, TransformedImageCornersFollowTheGeometry) {
    auto img = Opaque(20, 10, 1);
    img->SetHandle(5, 4);
    SetOrigin(100, 50);
    struct Case {
        float rot, sx, sy;
    };
    for (Case k : {Case{0, 1, 1}, Case{90, 2, 1}, Case{90, 2, 3}, Case{-30, 1.5f, 0.5f}, Case{180, 1, 1}}) {
        backend->ClearLog();
        SetTransform(k.rot, k.sx, k.sy);
        DrawImage(img, 10, 20);
        TSpriteBatch::Instance().Flush();
        ASSERT_EQ(backend->vertices.size(), 6u);
        const auto c = Corners(*backend, 0);
        const float px[4] = {0, 20, 20, 0}, py[4] = {0, 0, 10, 10};
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(testing::Message()
                         << "rotation " << k.rot << " scale " << k.sx << "," << k.sy << " corner " << i);
            ExpectPoint(c[size_t(i)], Place(px[i], py[i], 5, 4, k.rot, k.sx, k.sy, 110, 70), "corner");
        }
        // The handle itself stays put whatever the transform.
        const Point centre{(c[0].x + c[2].x) / 2, (c[0].y + c[2].y) / 2};
        ExpectPoint(centre, Place(10, 5, 5, 4, k.rot, k.sx, k.sy, 110, 70), "centre");
    }
}

TEST_F(DrawTest, StretchedImageScalesItsHandle) {
    auto img = TImage::Create(10, 10, 1, 0);
    img->SetHandle(5, 5);
    DrawImageRect(img, 100, 100, 40, 20);
    TSpriteBatch::Instance().Flush();
    ASSERT_EQ(backend->vertices.size(), 6u);
    const auto c = Corners(*backend, 0);
    ExpectPoint(c[0], {80, 90}, "top left");
    ExpectPoint(c[2], {120, 110}, "bottom right");
}

TEST_F(DrawTest, RecordedCallCarriesTheDrawingState) {
    auto img = Opaque(16, 8, 3);
    img->SetHandle(2, 3);
    SetColor(11, 22, 33);
    SetAlpha(0.25f);
    SetBlend(LIGHTBLEND);
    SetTransform(45, 2, 0.5f);
    SetOrigin(7, 9);
    SetViewport(1, 2, 300, 150);
    DrawImage(img, 40, 50, 2);
    ASSERT_EQ(backend->calls.size(), 1u);
    const TDrawCall& c = backend->calls[0];
    EXPECT_EQ(c.kind, TDrawCall::Image);
    EXPECT_EQ(c.source, img.get());
    EXPECT_EQ(c.frame, 2);
    EXPECT_FLOAT_EQ(c.x, 40);
    EXPECT_FLOAT_EQ(c.y, 50);
    EXPECT_FLOAT_EQ(c.w, 16);
    EXPECT_FLOAT_EQ(c.h, 8);
    EXPECT_EQ(c.r, 11);
    EXPECT_EQ(c.g, 22);
    EXPECT_EQ(c.b, 33);
    EXPECT_FLOAT_EQ(c.alpha, 0.25f);
    EXPECT_EQ(c.blend, LIGHTBLEND);
    EXPECT_FLOAT_EQ(c.rotation, 45);
    EXPECT_FLOAT_EQ(c.scaleX, 2);
    EXPECT_FLOAT_EQ(c.scaleY, 0.5f);
    EXPECT_FLOAT_EQ(c.originX, 7);
    EXPECT_FLOAT_EQ(c.originY, 9);
    EXPECT_FLOAT_EQ(c.handleX, 2);
    EXPECT_FLOAT_EQ(c.handleY, 3);
    EXPECT_EQ(c.viewportX, 1);
    EXPECT_EQ(c.viewportY, 2);
    EXPECT_EQ(c.viewportW, 300);
    EXPECT_EQ(c.viewportH, 150);
    TSpriteBatch::Instance().Flush();
    ASSERT_FALSE(backend->vertices.empty());
    EXPECT_EQ(backend->vertices[0].rgba, (64u << 24) | (33u << 16) | (22u << 8) | 11u);
}

// The tiles drawn: their top-left corners, all the tile's size, unscaled.
std::set<std::pair<float, float>> Tiles(const TRecordingBackend& b, float w, float h) {
    std::set<std::pair<float, float>> tiles;
    for (size_t q = 0; q < b.vertices.size() / 6; ++q) {
        const auto c = Corners(b, q);
        EXPECT_FLOAT_EQ(c[2].x - c[0].x, w);
        EXPECT_FLOAT_EQ(c[2].y - c[0].y, h);
        tiles.insert({c[0].x, c[0].y});
    }
    return tiles;
}

// Every viewport pixel is covered by exactly one tile and no tile lies wholly outside.
void ExpectTiling(const std::set<std::pair<float, float>>& tiles, size_t quads, float w, float h, int vx, int vy,
                  int vw, int vh, float alignX, float alignY) {
    EXPECT_EQ(tiles.size(), quads) << "no tile drawn twice";
    for (auto [x, y] : tiles) {
        EXPECT_LT(x, float(vx + vw));
        EXPECT_GT(x + w, float(vx));
        EXPECT_LT(y, float(vy + vh));
        EXPECT_GT(y + h, float(vy));
        EXPECT_FLOAT_EQ(std::fmod(x - alignX, w), 0.0f);
        EXPECT_FLOAT_EQ(std::fmod(y - alignY, h), 0.0f);
    }
    for (int py = vy; py < vy + vh; py += 7) {
        for (int px = vx; px < vx + vw; px += 7) {
            int covering = 0;
            for (auto [x, y] : tiles)
                covering += float(px) >= x && float(px) < x + w && float(py) >= y && float(py) < y + h;
            EXPECT_EQ(covering, 1) << px << "," << py;
        }
    }
}

TEST_F(DrawTest, ImagesAreTrimmedToTheirVisiblePixelsWhereTransparentPixelsChangeNothing) {
    // A 20 x 10 frame whose only visible pixels lie in columns 6-8 and rows 3-4, drawn at 100, 50
    // with its handle at 0, 0: the quad covers columns 5-9 and rows 2-5 (one more pixel each
    // side for filtering), with the texture coordinates of those columns and rows.
    auto img = TImage::Create(20, 10, 2, 0);
    for (int32_t y = 3; y <= 4; ++y) {
        for (int32_t x = 6; x <= 8; ++x) img->Lock(0)->WritePixel(x, y, 0x80FF0000u);
    }
    img->Unlock(0);
    img->Lock(1)->WritePixel(0, 9, 0x01000000u);  // a corner pixel: the trim stays in the frame
    img->Unlock(1);
    const TImageFrame whole = *img->Frame(0);
    struct TCase {
        int32_t blend, frame;
        size_t quads;
        float x0, y0, x1, y1;  // the quad drawn, image pixels
    } cases[] = {
        {ALPHABLEND, 0, 1, 5, 2, 10, 6},  {LIGHTBLEND, 0, 1, 5, 2, 10, 6},  {MASKBLEND, 0, 1, 5, 2, 10, 6},
        {SOLIDBLEND, 0, 1, 0, 0, 20, 10}, {SHADEBLEND, 0, 1, 0, 0, 20, 10}, {ALPHABLEND, 1, 1, 0, 8, 2, 10},
    };
    for (const TCase& c : cases) {
        backend->ClearLog();
        SetBlend(c.blend);
        DrawImage(img, 100, 50, c.frame);
        TSpriteBatch::Instance().Flush();
        ASSERT_EQ(backend->vertices.size(), 6 * c.quads) << c.blend;
        const TVertex& tl = backend->vertices[0];
        const TVertex& br = backend->vertices[2];
        EXPECT_FLOAT_EQ(tl.x, 100 + c.x0) << c.blend;
        EXPECT_FLOAT_EQ(tl.y, 50 + c.y0) << c.blend;
        EXPECT_FLOAT_EQ(br.x, 100 + c.x1) << c.blend;
        EXPECT_FLOAT_EQ(br.y, 50 + c.y1) << c.blend;
        const TImageFrame& f = *img->Frame(c.frame);
        const float du = (f.u1 - f.u0) / 20, dv = (f.v1 - f.v0) / 10;
        EXPECT_NEAR(tl.u, f.u0 + c.x0 * du, 1e-6f) << c.blend;
        EXPECT_NEAR(tl.v, f.v0 + c.y0 * dv, 1e-6f) << c.blend;
        EXPECT_NEAR(br.u, f.u0 + c.x1 * du, 1e-6f) << c.blend;
        EXPECT_NEAR(br.v, f.v0 + c.y1 * dv, 1e-6f) << c.blend;
    }
    EXPECT_EQ(img->Frame(0)->u0, whole.u0);
    // New pixels are trimmed anew; a frame without a visible pixel draws nothing; untrimmed on request.
    SetBlend(ALPHABLEND);
    img->Lock(0)->ClearPixels(0);
    img->Unlock(0);
    for (const bool trimming : {true, false}) {
        SetImageTrimming(trimming);
        backend->ClearLog();
        DrawImage(img, 100, 50, 0);
        TSpriteBatch::Instance().Flush();
        EXPECT_EQ(backend->vertices.size(), trimming ? 0u : 6u);
        EXPECT_EQ(backend->calls.size(), 1u) << "the call is recorded either way";
    }
    SetImageTrimming(true);
    // A frame whose pixels were given up after upload (a ground block) is drawn whole.
    auto block = TImage::Create(20, 10, 1, 0);
    ASSERT_TRUE(block->Frame(0));
    block->pixmaps[0].reset();
    backend->ClearLog();
    DrawImage(block, 100, 50, 0);
    TSpriteBatch::Instance().Flush();
    ASSERT_EQ(backend->vertices.size(), 6u);
    EXPECT_FLOAT_EQ(backend->vertices[2].x - backend->vertices[0].x, 20);
}

TEST_F(DrawTest, TileImageCoversTheViewportExactly) {
    auto tile = TImage::Create(32, 16, 1, 0);
    Warm(tile);
    SetViewport(0, 0, 100, 50);
    TileImage(tile, 0, 0);
    TSpriteBatch::Instance().Flush();
    EXPECT_EQ(backend->vertices.size(), 16u * 6u);  // 4 columns x 4 rows
    ExpectTiling(Tiles(*backend, 32, 16), 16, 32, 16, 0, 0, 100, 50, 0, 0);

    // Shifted by (3, 1): a partial column and row more on each side.
    backend->ClearLog();
    TileImage(tile, 3, 1);
    TSpriteBatch::Instance().Flush();
    EXPECT_EQ(backend->vertices.size(), 25u * 6u);
    ExpectTiling(Tiles(*backend, 32, 16), 25, 32, 16, 0, 0, 100, 50, 3, 1);

    // Scale and rotation do not apply; origin and handle move the pattern.
    backend->ClearLog();
    SetTransform(30, 2, 2);
    SetOrigin(10, 0);
    tile->SetHandle(4, 4);
    SetViewport(20, 30, 64, 32);
    TileImage(tile, 0, 0);
    TSpriteBatch::Instance().Flush();
    const auto shifted = Tiles(*backend, 32, 16);
    ExpectTiling(shifted, backend->vertices.size() / 6, 32, 16, 20, 30, 64, 32, 6, -4);
    EXPECT_EQ(backend->vertices.size() / 6, 9u);
}

TEST_F(DrawTest, TextIsOneBatchFromTheFontAtlas) {
    const std::string path = "data/gfx/gui/font.ttf";
    ASSERT_EQ(FileType(path), FILETYPE_FILE) << "the shipped interface font is missing (run from the repository root)";
    auto font = TImageFont::Load(path, 12, SMOOTHFONT);
    ASSERT_TRUE(font) << path << " is not a readable font";
    EXPECT_GT(font->Height(), 8);
    SetImageFont(font);
    EXPECT_EQ(GetImageFont(), font);
    const std::string text = "Größe 12: Häuser";
    const float width = TextWidth(text);
    EXPECT_GT(width, TextWidth("Größe"));
    EXPECT_FLOAT_EQ(TextHeight(text), float(font->Height()));
    backend->ClearLog();
    SetColor(200, 100, 50);
    DrawText(text, 10, 20);
    TSpriteBatch::Instance().Flush();
    ASSERT_EQ(backend->batches.size(), 1u);
    EXPECT_NE(backend->batches[0].texture, 0u);
    // One quad per visible character (the two spaces have none).
    EXPECT_EQ(backend->batches[0].vertexCount, 14u * 6u);
    ASSERT_EQ(backend->calls.size(), 1u);
    EXPECT_EQ(backend->calls[0].kind, TDrawCall::Text);
    EXPECT_EQ(backend->calls[0].text, text);
    EXPECT_FLOAT_EQ(backend->calls[0].w, width);
    // The glyphs lie within the text's box at the position.
    for (const TVertex& v : backend->vertices) {
        EXPECT_GE(v.x, 10.0f - 2);
        EXPECT_LE(v.x, 10.0f + width + 2);
        EXPECT_GE(v.y, 20.0f - 2);
        EXPECT_LE(v.y, 20.0f + float(font->Height()) + 2);
        EXPECT_EQ(v.rgba & 0xFFFFFFu, 0x3264C8u);
    }
}

TEST_F(DrawTest, FontsShareOneSheetUntilALargerOneReplacesIt) {
    const std::string path = "data/gfx/gui/font.ttf";
    auto small = TImageFont::Load(path, 12, SMOOTHFONT), other = TImageFont::Load(path, 20, SMOOTHFONT);
    ASSERT_TRUE(small && other);
    EXPECT_EQ(small->Atlas(), other->Atlas());
    // Two fonts in one line of text: one batch.
    backend->ClearLog();
    SetImageFont(small);
    DrawText("Haus", 0, 0);
    SetImageFont(other);
    DrawText("Straße", 40, 0);
    TSpriteBatch::Instance().Flush();
    EXPECT_EQ(backend->batches.size(), 1u);
    const TImageFont::TGlyph before = *small->Glyph('H');
    // A font too large for the sheet brings a new one; the others render into it again.
    auto large = TImageFont::Load(path, 100, SMOOTHFONT);
    ASSERT_TRUE(large);
    EXPECT_GE(large->Atlas()->width, 1600);
    const TImageFont::TGlyph* again = small->Glyph('H');
    ASSERT_TRUE(again);
    EXPECT_EQ(small->Atlas(), large->Atlas());
    EXPECT_EQ(std::tuple(again->width, again->height, again->advance), std::tuple(before.width, before.height, before.advance));
    // The middle of the H, on its bar, is in the new sheet.
    const auto pix = small->Atlas()->pixmaps[0];
    EXPECT_EQ(pix->ReadPixel(again->atlasX + again->width / 2, again->atlasY + again->height / 2) >> 24, 0xFFu);
}

TEST_F(DrawTest, ViewportChangeFlushesAndClsFlipAreRecorded) {
    DrawRect(0, 0, 5, 5);
    SetViewport(10, 10, 50, 50);
    DrawRect(0, 0, 5, 5);
    SetViewport(10, 10, 50, 50);  // unchanged: no flush
    DrawRect(0, 0, 5, 5);
    SetClsColor(1, 2, 3);
    Cls();
    Flip(0);
    ASSERT_EQ(backend->batches.size(), 2u);
    EXPECT_EQ(backend->batches[1].vertexCount, 12u);
    ASSERT_EQ(backend->calls.size(), 5u);
    EXPECT_EQ(backend->calls[3].kind, TDrawCall::Cls);
    EXPECT_EQ(backend->calls[3].r, 1);
    EXPECT_EQ(backend->calls[3].g, 2);
    EXPECT_EQ(backend->calls[3].b, 3);
    EXPECT_EQ(backend->calls[4].kind, TDrawCall::Flip);
    EXPECT_EQ(backend->presents, 1);
    // Flip sends what is still batched before presenting.
    DrawRect(0, 0, 5, 5);
    Flip(0);
    EXPECT_EQ(backend->batches.size(), 3u);
}

TEST_F(DrawTest, GrabPixmapRefusesRectanglesOutsideTheBuffer) {
    SetClsColor(9, 8, 7);
    Cls();
    auto all = GrabPixmap(0, 0, 320, 200);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->ReadPixel(319, 199), 0xFF090807u);
    EXPECT_TRUE(GrabPixmap(310, 190, 10, 10));
    EXPECT_FALSE(GrabPixmap(311, 190, 10, 10));
    EXPECT_FALSE(GrabPixmap(0, 191, 10, 10));
    EXPECT_FALSE(GrabPixmap(-1, 0, 10, 10));
    EXPECT_FALSE(GrabPixmap(0, -1, 10, 10));
    EXPECT_FALSE(GrabPixmap(0, 0, 0, 10));
    EXPECT_FALSE(GrabPixmap(0, 0, 10, -10));
    EXPECT_FALSE(GrabPixmap(2000000000, 0, 2000000000, 1));
    TGraphics::EndGraphics();
    EXPECT_FALSE(GrabPixmap(0, 0, 1, 1));
}

TEST_F(DrawTest, DrawPixmapDrawsUnscaledAtOriginPlusPosition) {
    auto p = TPixmap::Create(6, 3);
    SetOrigin(2, 3);
    SetTransform(90, 5, 5);
    DrawPixmap(p, 10, 10);
    TSpriteBatch::Instance().Flush();
    ASSERT_EQ(backend->vertices.size(), 6u);
    const auto c = Corners(*backend, 0);
    ExpectPoint(c[0], {12, 13}, "top left");
    ExpectPoint(c[2], {18, 16}, "bottom right");
    EXPECT_EQ(backend->uploads.size(), 1u);
    // The temporary texture is dropped when the frame ends.
    const size_t textures = backend->textures.size();
    Flip(0);
    EXPECT_EQ(backend->textures.size(), textures - 1);
}

TEST_F(DrawTest, FlipPacesSixtyFramesToOneSecond) {
    const uint32_t start = clock->now;
    for (int i = 0; i < 60; ++i) Flip();
    EXPECT_EQ(clock->now - start, 1000u);
    // A frame that took too long is not made up for.
    clock->Advance(100);
    const uint32_t late = clock->now;
    Flip();
    EXPECT_EQ(clock->now, late);
    Flip();
    EXPECT_GE(clock->now - late, 16u);
    EXPECT_LE(clock->now - late, 17u);
}

}  // namespace
