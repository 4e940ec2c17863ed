#include "platform/TSpriteBatch.h"

#include "platform/TDrawState.h"

TSpriteBatch& TSpriteBatch::Instance() {
    static TSpriteBatch batch;
    return batch;
}

void TSpriteBatch::SetBackend(TRenderBackend* b) {
    vertices.clear();
    backend = b;
    if (backend) vertices.reserve(6 * 4096);
}

void TSpriteBatch::Add(uint32_t tex, int32_t mode, const TVertex* v, size_t count) {
    if (!backend) return;
    if (!vertices.empty() && (tex != texture || mode != blend)) Flush();
    texture = tex;
    blend = mode;
    const size_t first = vertices.size();
    vertices.insert(vertices.end(), v, v + count);
    // Drawn in interface units: the positions become back-buffer pixels here.
    const float k = DrawState().interface_scale;
    if (k == 1.0f) return;
    for (size_t i = first; i < vertices.size(); ++i) {
        vertices[i].x *= k;
        vertices[i].y *= k;
    }
}

void TSpriteBatch::AddQuad(uint32_t tex, int32_t mode, const TVertex c[4]) {
    const TVertex tri[6] = {c[0], c[1], c[2], c[0], c[2], c[3]};
    Add(tex, mode, tri, 6);
}

void TSpriteBatch::Flush() {
    if (!backend || vertices.empty()) return;
    backend->DrawTriangles(texture, blend, vertices.data(), vertices.size());
    if (!backend->Collects()) ++deviceCalls;
    vertices.clear();
}

void TSpriteBatch::Draw(uint32_t tex, int32_t mode, const TVertex* v, size_t count) {
    if (!backend || count == 0) return;
    Flush();
    backend->DrawTriangles(tex, mode, v, count);
    if (!backend->Collects()) ++deviceCalls;
}

uint64_t TSpriteBatch::TextureVersion(uint32_t tex) const {
    const auto it = versions.find(tex);
    return it == versions.end() ? 0 : it->second;
}

void TSpriteBatch::ApplyViewport() {
    if (!backend) return;
    Flush();
    const TDrawState& s = DrawState();
    backend->SetViewport(s.viewport_x, s.viewport_y, s.viewport_w, s.viewport_h);
}
