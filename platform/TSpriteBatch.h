#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/TRenderBackend.h"

// Collects triangles until the texture or the blend mode changes (or the frame needs the
// device for something else), then hands them to the back end in one call.
class TSpriteBatch {
public:
    static TSpriteBatch& Instance();
    // The back end the batch draws to (null: drawing is dropped).
    void SetBackend(TRenderBackend* backend);
    TRenderBackend* Backend() const { return backend; }
    void Add(uint32_t texture, int32_t blend, const TVertex* vertices, size_t count);
    // Appends one quad (corners in order top-left, top-right, bottom-right, bottom-left).
    void AddQuad(uint32_t texture, int32_t blend, const TVertex corners[4]);
    void Flush();
    // Hands finished triangles (positions in back-buffer pixels) to the back end in one call of
    // their own, after what is pending.
    void Draw(uint32_t texture, int32_t blend, const TVertex* vertices, size_t count);
    // New pixels went up into `texture`: counted per texture, so a kept picture of what was drawn
    // with it knows it is out of date. A deleted texture's id does not come back.
    void TextureChanged(uint32_t texture) { ++versions[texture]; }
    void TextureDeleted(uint32_t texture) { versions.erase(texture); }
    uint64_t TextureVersion(uint32_t texture) const;
    // Device draw calls made since the program started (a time demo's calls per frame).
    uint64_t DeviceCalls() const { return deviceCalls; }
    // Flushes and passes the state's viewport to the back end.
    void ApplyViewport();

private:
    TRenderBackend* backend = nullptr;
    std::vector<TVertex> vertices;
    uint32_t texture = 0;
    int32_t blend = ALPHABLEND;
    uint64_t deviceCalls = 0;
    std::unordered_map<uint32_t, uint64_t> versions;
};
