#pragma once
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "platform/TRenderBackend.h"

// OpenGL 3.3 core renderer: one shader (built with and without dropping fragments), one streaming
// vertex buffer, one draw call per batch.
class TGLBackend : public TRenderBackend {
public:
    // Needs a current GL context; false when the shader cannot be built.
    bool Init(int32_t width, int32_t height);
    // The back buffer's new size: the projection and the GL viewport follow.
    void Resize(int32_t width, int32_t height);
    ~TGLBackend() override;

    uint32_t CreateTexture(int32_t width, int32_t height, bool filtered) override;
    void UploadTexture(uint32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, const uint32_t* pixels,
                       int32_t pitchPixels) override;
    void DeleteTexture(uint32_t texture) override;
    void DrawTriangles(uint32_t texture, int32_t blend, const TVertex* vertices, size_t count) override;
    void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void Clear(int32_t r, int32_t g, int32_t b) override;
    void Submit() override;
    void Present(int32_t sync) override;
    void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* out) override;
    int32_t MaxTextureSize() const override { return maxTextureSize; }
    std::pair<int32_t, int32_t> TextureSize(uint32_t texture) const override;
    bool SetTarget(uint32_t texture) override;
    void ClearTarget(int32_t x, int32_t y, int32_t width, int32_t height) override;

    // Set by the window owner: swaps the window's buffers.
    void (*swap)(void* context) = nullptr;
    void* swapContext = nullptr;

private:
    void ApplyBlend(int32_t blend);
    void DiscardBelow(float colour, float alpha);
    void UseProgram(uint32_t program);
    // Both programs' projection for the back buffer's size.
    void SetScreenSize();
    int32_t width = 0, height = 0;
    int32_t maxTextureSize = 2048;
    // A batch alternating more often between texel for pixel and not is drawn filtered throughout.
    static constexpr size_t MaxTexelRuns = 8;
    // program drops fragments (DiscardBelow), plainProgram never does.
    uint32_t program = 0, plainProgram = 0, currentProgram = 0, vao = 0, vbo = 0, white = 0, nearest = 0;
    bool nearestBound = false;
    int32_t uDiscardBelow = -1;
    int32_t currentBlend = -1;
    int32_t scissor[4] = {0, 0, 0, 0};  // GL's, rows counted from the bottom
    uint32_t currentTexture = ~0u;
    std::unordered_map<uint32_t, uint32_t> textures;  // our id -> GL name
    std::unordered_map<uint32_t, std::pair<int32_t, int32_t>> textureSizes;
    std::unordered_set<uint32_t> filteredTextures;
    std::unordered_map<uint32_t, uint32_t> framebuffers;  // texture id -> GL framebuffer drawing into it
    uint32_t nextId = 1;
};
