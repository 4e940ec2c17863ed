#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "platform/TRenderBackend.h"

// A back end without window or device: it keeps every draw call with its state, every
// batch and every texture upload, so drawing code can be checked in unit tests.
class TRecordingBackend : public TRenderBackend {
public:
    struct TBatch {
        uint32_t texture;
        int32_t blend;
        size_t vertexCount;
        uint32_t target = 0;  // the texture drawn into; 0 the back buffer
    };
    // An upload into a texture, or a clear of a texture drawn into.
    struct TUpload {
        uint32_t texture;
        int32_t x, y, width, height;
    };

    uint32_t CreateTexture(int32_t width, int32_t height, bool filtered) override;
    void UploadTexture(uint32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, const uint32_t* pixels,
                       int32_t pitchPixels) override;
    void DeleteTexture(uint32_t texture) override;
    void DrawTriangles(uint32_t texture, int32_t blend, const TVertex* vertices, size_t count) override;
    void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void Clear(int32_t r, int32_t g, int32_t b) override;
    void Present(int32_t sync) override;
    void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* out) override;
    int32_t MaxTextureSize() const override { return maxTextureSize; }
    bool SetTarget(uint32_t texture) override;
    void ClearTarget(int32_t x, int32_t y, int32_t width, int32_t height) override;
    bool Records() const override { return true; }
    void Record(const TDrawCall& call) override { calls.push_back(call); }

    // Forgets the calls, batches and uploads seen so far (textures stay).
    void ClearLog();

    std::vector<TDrawCall> calls;
    std::vector<TBatch> batches;
    std::vector<TUpload> uploads;
    std::vector<TUpload> targetClears;
    std::vector<TVertex> vertices;                             // every vertex drawn, in order
    std::map<uint32_t, std::pair<int32_t, int32_t>> textures;  // id -> size
    int32_t presents = 0;
    uint32_t clearColor = 0xFF000000u;
    int32_t maxTextureSize = 8192;
    uint32_t target = 0;

private:
    uint32_t nextTexture = 1;
};
