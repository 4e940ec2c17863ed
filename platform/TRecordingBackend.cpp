#include "platform/TRecordingBackend.h"

#include <algorithm>

uint32_t TRecordingBackend::CreateTexture(int32_t width, int32_t height, bool) {
    const uint32_t id = nextTexture++;
    textures[id] = {width, height};
    return id;
}

void TRecordingBackend::UploadTexture(uint32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                                      const uint32_t*, int32_t) {
    uploads.push_back(TUpload{texture, x, y, width, height});
}

void TRecordingBackend::DeleteTexture(uint32_t texture) { textures.erase(texture); }

void TRecordingBackend::DrawTriangles(uint32_t texture, int32_t blend, const TVertex* v, size_t count) {
    batches.push_back(TBatch{texture, blend, count, target});
    vertices.insert(vertices.end(), v, v + count);
}

bool TRecordingBackend::SetTarget(uint32_t texture) {
    if (texture != 0 && textures.count(texture) == 0) return false;
    target = texture;
    return true;
}

void TRecordingBackend::ClearTarget(int32_t x, int32_t y, int32_t width, int32_t height) {
    targetClears.push_back(TUpload{target, x, y, width, height});
}

void TRecordingBackend::SetViewport(int32_t, int32_t, int32_t, int32_t) {}

void TRecordingBackend::Clear(int32_t r, int32_t g, int32_t b) {
    clearColor = 0xFF000000u | (uint32_t(r & 255) << 16) | (uint32_t(g & 255) << 8) | uint32_t(b & 255);
    TDrawCall c;
    c.kind = TDrawCall::Cls;
    c.r = r;
    c.g = g;
    c.b = b;
    calls.push_back(c);
}

void TRecordingBackend::Present(int32_t) {
    ++presents;
    TDrawCall c;
    c.kind = TDrawCall::Flip;
    calls.push_back(c);
}

void TRecordingBackend::ReadPixels(int32_t, int32_t, int32_t width, int32_t height, uint32_t* out) {
    // Nothing is rasterised: the buffer reads as the last clear colour.
    std::fill(out, out + static_cast<size_t>(width) * static_cast<size_t>(height), clearColor);
}

void TRecordingBackend::ClearLog() {
    calls.clear();
    batches.clear();
    uploads.clear();
    targetClears.clear();
    vertices.clear();
    presents = 0;
}
