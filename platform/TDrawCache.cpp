#include "platform/TDrawCache.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TSpriteBatch.h"

namespace {
constexpr uint32_t ViewportStep = ~0u;

bool SameVertices(const TVertex* a, const TVertex* b, size_t count) {
    return std::memcmp(a, b, count * sizeof(TVertex)) == 0;
}

}  // namespace

TDrawCache::TRect TDrawCache::TRect::Within(const TRect& o) const {
    return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
}

void TDrawCache::TRect::Extend(const TRect& o) {
    if (o.Empty()) return;
    *this = Empty() ? o : TRect{std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
}

TDrawCache::~TDrawCache() {
    if (picture && TGraphics::Backend() == pictureDevice && TGraphics::Generation() == pictureGeneration) {
        pictureDevice->DeleteTexture(picture);
    }
}

void TDrawCache::Begin() {
    TSpriteBatch& batch = TSpriteBatch::Instance();
    if (device || !batch.Backend()) return;
    batch.Flush();
    device = batch.Backend();
    // The device draws what came before while the part is collected.
    device->Submit();
    spilled = false;
    part.steps.clear();
    part.vertices.clear();
    part.textures.clear();
    // The part starts in the viewport in force, which it may leave set when it ends.
    const TDrawState& s = DrawState();
    SetViewport(s.viewport_x, s.viewport_y, s.viewport_w, s.viewport_h);
    batch.SetBackend(this);
}

void TDrawCache::End() {
    if (!device) return;
    TSpriteBatch& batch = TSpriteBatch::Instance();
    batch.Flush();
    TRenderBackend* const to = device;
    device = nullptr;
    if (spilled) {
        ++counts.direct;
        return;
    }
    batch.SetBackend(to);
    const int32_t w = TGraphics::GraphicsWidth(), h = TGraphics::GraphicsHeight();
    // Alpha blending and light (adding) both keep to colours multiplied by their alpha.
    const bool keepable = std::all_of(part.steps.begin(), part.steps.end(), [](const TStep& s) {
        return s.texture == ViewportStep || s.blend == ALPHABLEND || s.blend == LIGHTBLEND;
    });
    // Drawn directly, the kept picture stays as it was, and so does what it shows.
    if (!keepable || !EnsurePicture(w, h)) {
        Replay(part, *to);
        ++counts.direct;
        return;
    }
    for (const TStep& s : part.steps) {
        if (s.texture != ViewportStep) part.textures.emplace_back(s.texture, 0);
    }
    std::sort(part.textures.begin(), part.textures.end());
    part.textures.erase(std::unique(part.textures.begin(), part.textures.end()), part.textures.end());
    for (auto& [texture, version] : part.textures) version = batch.TextureVersion(texture);

    const TRect screen{0, 0, w, h};
    TRect redraw = screen;
    if (keptValid) {
        redraw = Changed(w, h).Within(screen);
        // More than half the screen changed: the whole picture is cleared at once.
        if (int64_t(redraw.x1 - redraw.x0) * (redraw.y1 - redraw.y0) * 2 > int64_t(w) * h) redraw = screen;
    }
    if (redraw.Empty()) {
        ++counts.kept;
        std::swap(kept, part);
    } else if (to->SetTarget(picture)) {
        to->ClearTarget(redraw.x0, redraw.y0, redraw.x1 - redraw.x0, redraw.y1 - redraw.y0);
        Replay(part, *to, &redraw);
        to->SetTarget(0);
        ++(redraw == screen ? counts.drawn : counts.partly);
        std::swap(kept, part);
        keptValid = true;
        cover = Cover(w, h);
    } else {
        Replay(part, *to);
        ++counts.direct;
        return;
    }
    to->SetViewport(0, 0, w, h);
    batch.Draw(picture, OVERBLEND, cover.data(), cover.size());
    batch.ApplyViewport();
}

std::vector<TDrawCache::TTriangle> TDrawCache::Triangles(const TPart& p, int32_t w, int32_t h) {
    std::vector<TTriangle> out;
    out.reserve(p.vertices.size() / 3);
    TRect clip{0, 0, w, h};
    for (const TStep& s : p.steps) {
        if (s.texture == ViewportStep) {
            clip = s.viewport.Within({0, 0, w, h});
            continue;
        }
        for (size_t i = s.first; i + 2 < s.first + s.count; i += 3) out.push_back({&s, clip, p.vertices.data() + i});
    }
    return out;
}

TDrawCache::TRect TDrawCache::Bounds(const TTriangle& t) {
    const TVertex* v = t.v;
    // Clamped first (the limit as the first argument wins over a NaN): a triangle far off the screen
    // must not overflow the integers.
    const auto lo = [](float a, float b, float c) { return int32_t(std::floor(std::max(-1e6f, std::min({a, b, c})))); };
    const auto hi = [](float a, float b, float c) { return int32_t(std::ceil(std::min(1e6f, std::max({a, b, c})))); };
    return TRect{lo(v[0].x, v[1].x, v[2].x), lo(v[0].y, v[1].y, v[2].y), hi(v[0].x, v[1].x, v[2].x),
                 hi(v[0].y, v[1].y, v[2].y)}
        .Within(t.clip);
}

// Where the picture of the part differs from the kept one: the triangles the two share at their
// start and at their end (same texture, blend, viewport and corners) draw alike, so only the
// triangles between them, old and new, and those drawn with a texture whose pixels changed can
// change a pixel.
TDrawCache::TRect TDrawCache::Changed(int32_t w, int32_t h) const {
    TRect dirty{0, 0, 0, 0};
    if (part.textures == kept.textures && part.steps.size() == kept.steps.size() &&
        part.vertices.size() == kept.vertices.size() &&
        SameVertices(part.vertices.data(), kept.vertices.data(), part.vertices.size()) &&
        std::equal(part.steps.begin(), part.steps.end(), kept.steps.begin(), [](const TStep& a, const TStep& b) {
            return a.texture == b.texture && a.blend == b.blend && a.count == b.count && a.viewport == b.viewport;
        })) {
        return dirty;
    }
    const std::vector<TTriangle> before = Triangles(kept, w, h), now = Triangles(part, w, h);
    const auto same = [](const TTriangle& a, const TTriangle& b) {
        return a.step->texture == b.step->texture && a.step->blend == b.step->blend && a.clip == b.clip &&
               SameVertices(a.v, b.v, 3);
    };
    size_t head = 0;
    while (head < before.size() && head < now.size() && same(before[head], now[head])) ++head;
    size_t tail = 0;
    while (tail < before.size() - head && tail < now.size() - head &&
           same(before[before.size() - 1 - tail], now[now.size() - 1 - tail])) {
        ++tail;
    }
    for (size_t i = head; i < before.size() - tail; ++i) dirty.Extend(Bounds(before[i]));
    for (size_t i = head; i < now.size() - tail; ++i) dirty.Extend(Bounds(now[i]));
    std::vector<uint32_t> repainted;
    for (const auto& [texture, version] : part.textures) {
        const auto old = std::lower_bound(kept.textures.begin(), kept.textures.end(), std::pair{texture, uint64_t(0)});
        if (old != kept.textures.end() && old->first == texture && old->second != version) repainted.push_back(texture);
    }
    if (!repainted.empty()) {
        for (const auto* list : {&before, &now}) {
            for (const TTriangle& t : *list) {
                if (std::binary_search(repainted.begin(), repainted.end(), t.step->texture)) dirty.Extend(Bounds(t));
            }
        }
    }
    return dirty;
}

// Draws the part's batches and viewports; `within` a rectangle, only there (the triangles outside
// it are left out).
void TDrawCache::Replay(const TPart& p, TRenderBackend& to, const TRect* within) {
    TSpriteBatch& batch = TSpriteBatch::Instance();
    std::vector<TVertex> inside;
    for (const TStep& s : p.steps) {
        if (s.texture == ViewportStep) {
            const TRect r = within ? s.viewport.Within(*within) : s.viewport;
            to.SetViewport(r.x0, r.y0, std::max(r.x1 - r.x0, 0), std::max(r.y1 - r.y0, 0));
            continue;
        }
        const TVertex* v = p.vertices.data() + s.first;
        if (!within) {
            batch.Draw(s.texture, s.blend, v, s.count);
            continue;
        }
        inside.clear();
        for (size_t i = 0; i + 2 < s.count; i += 3) {
            if (!Bounds({&s, *within, v + i}).Empty()) inside.insert(inside.end(), v + i, v + i + 3);
        }
        batch.Draw(s.texture, s.blend, inside.data(), inside.size());
    }
}

// Something needs the device while the part is collected: what was collected is drawn, and the
// rest of the part goes to the device as it comes.
void TDrawCache::Spill() {
    if (spilled || !device) return;
    TSpriteBatch& batch = TSpriteBatch::Instance();
    batch.Flush();
    spilled = true;
    batch.SetBackend(device);
    Replay(part, *device);
}

bool TDrawCache::EnsurePicture(int32_t w, int32_t h) {
    TRenderBackend* backend = TGraphics::Backend();
    if (!backend || w <= 0 || h <= 0) return false;
    const bool live = picture && pictureDevice == backend && pictureGeneration == TGraphics::Generation();
    if (live && w == pictureWidth && h == pictureHeight) return true;
    if (live) backend->DeleteTexture(picture);
    picture = backend->CreateTexture(w, h, false);
    pictureDevice = backend;
    pictureGeneration = TGraphics::Generation();
    pictureWidth = w;
    pictureHeight = h;
    keptValid = false;
    return picture != 0;
}

// Quads over every cell a triangle of the kept part may touch, cells in a row joined into runs and
// runs over one another into rectangles.
std::vector<TVertex> TDrawCache::Cover(int32_t w, int32_t h) const {
    const int32_t cols = (w + Cell - 1) / Cell, rows = (h + Cell - 1) / Cell;
    std::vector<uint8_t> cells(static_cast<size_t>(cols) * static_cast<size_t>(rows), 0);
    for (const TTriangle& t : Triangles(kept, w, h)) {
        const TRect r = Bounds(t);
        if (r.Empty()) continue;
        for (int32_t cy = r.y0 / Cell; cy <= (r.y1 - 1) / Cell; ++cy) {
            uint8_t* row = cells.data() + static_cast<size_t>(cy) * static_cast<size_t>(cols);
            std::fill(row + r.x0 / Cell, row + (r.x1 - 1) / Cell + 1, uint8_t(1));
        }
    }
    std::vector<TRect> rects;                            // in cells
    std::map<std::pair<int32_t, int32_t>, size_t> open;  // runs of the row above -> their rectangle
    for (int32_t cy = 0; cy < rows; ++cy) {
        std::map<std::pair<int32_t, int32_t>, size_t> next;
        const uint8_t* row = cells.data() + static_cast<size_t>(cy) * static_cast<size_t>(cols);
        for (int32_t cx = 0; cx < cols;) {
            if (!row[cx]) {
                ++cx;
                continue;
            }
            const int32_t start = cx;
            while (cx < cols && row[cx]) ++cx;
            const auto above = open.find({start, cx});
            if (above != open.end()) {
                rects[above->second].y1 = cy + 1;
                next[{start, cx}] = above->second;
            } else {
                next[{start, cx}] = rects.size();
                rects.push_back({start, cy, cx, cy + 1});
            }
        }
        open = std::move(next);
    }
    // The picture's rows run bottom-up, as the device draws into it.
    std::vector<TVertex> quads;
    quads.reserve(rects.size() * 6);
    for (const TRect& r : rects) {
        const float x0 = float(r.x0 * Cell), x1 = float(std::min(r.x1 * Cell, w));
        const float y0 = float(r.y0 * Cell), y1 = float(std::min(r.y1 * Cell, h));
        const auto corner = [w, h](float x, float y) {
            return TVertex{x, y, x / float(w), 1.0f - y / float(h), 0xFFFFFFFFu};
        };
        const TVertex c[4] = {corner(x0, y0), corner(x1, y0), corner(x1, y1), corner(x0, y1)};
        quads.insert(quads.end(), {c[0], c[1], c[2], c[0], c[2], c[3]});
    }
    return quads;
}

uint32_t TDrawCache::CreateTexture(int32_t w, int32_t h, bool filtered) {
    return device->CreateTexture(w, h, filtered);
}

void TDrawCache::UploadTexture(uint32_t t, int32_t x, int32_t y, int32_t w, int32_t h, const uint32_t* p,
                               int32_t pitch) {
    device->UploadTexture(t, x, y, w, h, p, pitch);
}

void TDrawCache::DeleteTexture(uint32_t t) {
    // Collected triangles drawn with it (those still in the batch too) could not be drawn later.
    if (!spilled) TSpriteBatch::Instance().Flush();
    if (std::any_of(part.steps.begin(), part.steps.end(), [t](const TStep& s) { return s.texture == t; })) Spill();
    device->DeleteTexture(t);
}

void TDrawCache::DrawTriangles(uint32_t texture, int32_t blend, const TVertex* v, size_t count) {
    if (spilled) {
        device->DrawTriangles(texture, blend, v, count);
        return;
    }
    part.steps.push_back(TStep{texture, blend, part.vertices.size(), count, {0, 0, 0, 0}});
    part.vertices.insert(part.vertices.end(), v, v + count);
}

void TDrawCache::SetViewport(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (spilled) {
        device->SetViewport(x, y, w, h);
        return;
    }
    // Only the last of viewports set one after another matters.
    if (part.steps.empty() || part.steps.back().texture != ViewportStep) {
        part.steps.push_back(TStep{ViewportStep, 0, 0, 0, {0, 0, 0, 0}});
    }
    part.steps.back().viewport = {x, y, x + w, y + h};
}

void TDrawCache::Clear(int32_t r, int32_t g, int32_t b) {
    TRenderBackend* to = device;
    Spill();
    to->Clear(r, g, b);
}

void TDrawCache::Present(int32_t sync) {
    TRenderBackend* to = device;
    Spill();
    to->Present(sync);
}

void TDrawCache::ReadPixels(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t* out) {
    TRenderBackend* to = device;
    Spill();
    to->ReadPixels(x, y, w, h, out);
}

bool TDrawCache::SetTarget(uint32_t texture) {
    TRenderBackend* to = device;
    Spill();
    return to->SetTarget(texture);
}

int32_t TDrawCache::MaxTextureSize() const { return device->MaxTextureSize(); }

std::pair<int32_t, int32_t> TDrawCache::TextureSize(uint32_t t) const { return device->TextureSize(t); }

bool TDrawCache::Records() const { return device->Records(); }

void TDrawCache::Record(const TDrawCall& call) { device->Record(call); }
