#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/TRenderBackend.h"

// Keeps a part of the frame that seldom changes (the interface with its panels) as a picture of
// its own. What is drawn between Begin and End is collected; at End, when it is what was drawn
// the last time, with the same textures unchanged, only the kept picture is laid over the frame,
// in a few quads over the cells the part covers. Otherwise the picture is drawn anew where the
// part changed (the clock's needle: a small square; a panel opened: most of it). On a software
// rasteriser a thousand small blended quads cost several times one pass over the cells they
// touch.
//
// The picture holds colours multiplied by their alpha, so laying it over the frame gives what the
// part's alpha-blended and lit quads would have given (up to rounding). A part drawn in another
// blend mode, or one that needs the device while it is collected (a clear, a read), is drawn
// directly.
class TDrawCache : private TRenderBackend {
public:
    ~TDrawCache() override;
    // From now on the sprite batch's triangles are collected.
    void Begin();
    // Draws what was collected (see above) and hands the sprite batch its back end again.
    void End();

    // How often End drew the whole picture anew, a part of it, laid it over the frame as it was
    // kept, or drew the part directly.
    struct TCounts {
        uint64_t drawn = 0, partly = 0, kept = 0, direct = 0;
    };
    const TCounts& Counts() const { return counts; }
    // Edge of the square cells the picture is laid over in, in back-buffer pixels.
    static constexpr int32_t Cell = 16;

    // x0, y0 to x1, y1 (exclusive) in back-buffer pixels.
    struct TRect {
        int32_t x0, y0, x1, y1;
        bool Empty() const { return x1 <= x0 || y1 <= y0; }
        bool operator==(const TRect&) const = default;
        TRect Within(const TRect& o) const;
        // Grows to hold `o` as well.
        void Extend(const TRect& o);
    };

private:
    // One collected batch, or (texture ~0) a viewport change.
    struct TStep {
        uint32_t texture;
        int32_t blend;
        size_t first, count;
        TRect viewport;
    };
    struct TPart {
        std::vector<TStep> steps;
        std::vector<TVertex> vertices;
        std::vector<std::pair<uint32_t, uint64_t>> textures;  // used textures with their versions
    };
    // A triangle as drawn: texture, blend mode and the viewport in force.
    struct TTriangle {
        const TStep* step;
        TRect clip;
        const TVertex* v;
    };

    static std::vector<TTriangle> Triangles(const TPart& part, int32_t width, int32_t height);
    static TRect Bounds(const TTriangle& t);
    TRect Changed(int32_t width, int32_t height) const;
    void Replay(const TPart& part, TRenderBackend& to, const TRect* within = nullptr);
    void Spill();
    bool EnsurePicture(int32_t width, int32_t height);
    std::vector<TVertex> Cover(int32_t width, int32_t height) const;

    // Collecting: everything but the triangles and the viewport goes on to the device.
    uint32_t CreateTexture(int32_t w, int32_t h, bool filtered) override;
    void UploadTexture(uint32_t t, int32_t x, int32_t y, int32_t w, int32_t h, const uint32_t* p,
                       int32_t pitch) override;
    void DeleteTexture(uint32_t t) override;
    void DrawTriangles(uint32_t texture, int32_t blend, const TVertex* v, size_t count) override;
    void SetViewport(int32_t x, int32_t y, int32_t w, int32_t h) override;
    void Clear(int32_t r, int32_t g, int32_t b) override;
    void Present(int32_t sync) override;
    void ReadPixels(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t* out) override;
    int32_t MaxTextureSize() const override;
    std::pair<int32_t, int32_t> TextureSize(uint32_t t) const override;
    bool Records() const override;
    void Record(const TDrawCall& call) override;
    bool SetTarget(uint32_t texture) override;
    bool Collects() const override { return true; }

    TRenderBackend* device = nullptr;  // while collecting: where the batch drew before
    bool spilled = false;
    TPart part, kept;
    bool keptValid = false;
    std::vector<TVertex> cover;  // the kept picture's quads over the cells the part covers
    uint32_t picture = 0;
    TRenderBackend* pictureDevice = nullptr;
    uint32_t pictureGeneration = 0;
    int32_t pictureWidth = 0, pictureHeight = 0;
    TCounts counts;
};
