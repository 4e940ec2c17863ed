#include "world/TWeatherLayer.h"

#include <algorithm>
#include <cmath>

#include "framework/TFastRandom.h"
#include "persistence/TDataFile.h"
#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TPaths.h"
#include "platform/TScreenSpace.h"
#include "platform/TStream.h"
#include "world/TISO.h"
#include "world/TLayer.h"
#include "world/TWorldFile.h"

void TWeatherLayer::Prepare() {
    rainImg = TImage::Load(TPaths::Resolve("data/gfx/wetter/rain.png"), GetAutoImageFlags() | FILTEREDIMAGE);
    if (rainImg) {
        rainImg->SetHandle(0, 0);
    } else {
        Print("Image could not be loaded: data/gfx/wetter/rain.png");
    }
    // The cloud frames are kept for a later cloud layer; nothing draws them yet.
    cloudsImg = TImage::LoadAnim(TPaths::Resolve("data/gfx/wetter/clouds.png"), 512, 512, 0, 8);
    if (!cloudsImg) Print("Image could not be loaded: data/gfx/wetter/clouds.png");
}

void TWeatherLayer::DePrepare() {
    rainImg.reset();
    cloudsImg.reset();
}

std::shared_ptr<TWeatherLayer> TWeatherLayer::_create(TLayer* layer) {
    auto w = std::make_shared<TWeatherLayer>();
    w->layer = layer;
    return w;
}

void TWeatherLayer::nextDay() {
    if (!layer || !layer->random) return;
    const int32_t day = layer->currentDay;
    if (day < nextUpdateDay) return;
    vesko::TFastRandom& r = *layer->random;
    lastMode = currentMode;
    lastDay = day;
    untilChangeDay = day + r.GetIntIn(1, 3);
    nextUpdateDay = untilChangeDay + r.GetIntIn(1, 4);
    currentMode = r.GetIntIn(0, 6);
}

float TWeatherLayer::GetValue() const {
    if (!layer || layer->currentDay >= untilChangeDay || untilChangeDay <= lastDay) return float(currentMode);
    const float t =
        (float(layer->currentDay) + layer->currentDayPart - float(lastDay)) / float(untilChangeDay - lastDay);
    return float(lastMode) + TLayer::smooth(t) * float(currentMode - lastMode);
}

void TWeatherLayer::Draw() {
    if (!layer) return;
    const float vw = float(layer->viewWidth), vh = float(layer->viewHeight);
    const std::vector<TGroundLayer::TRect> wet = _MapOnScreen(vw, vh);
    DrawValue(GetValue(), vw, vh, layer->GetX(), layer->GetY(), &wet);
}

std::vector<TGroundLayer::TRect> TWeatherLayer::_MapOnScreen(float viewWidth, float viewHeight) const {
    if (!layer || !layer->iso || !(viewWidth > 0) || !(viewHeight > 0)) return {};
    // The map's diamond: map point (u, v) lies at ToIso(u, v).
    float px[4], py[4];
    const float corners[4][2] = {{0, 0}, {float(layer->Width), 0}, {float(layer->Width), float(layer->Height)},
                                 {0, float(layer->Height)}};
    for (int32_t i = 0; i < 4; ++i) layer->iso->ToIso(corners[i][0], corners[i][1], px[i], py[i]);
    std::vector<TGroundLayer::TRect> out;
    for (float y0 = 0; y0 < viewHeight; y0 += float(mapBand)) {
        const float y1 = std::min(viewHeight, y0 + float(mapBand));
        // The span of the diamond within the band: its corners inside, its edges where they
        // cross the band's top and bottom.
        float x0 = 1e30f, x1 = -1e30f;
        for (int32_t i = 0; i < 4; ++i) {
            const int32_t j = (i + 1) % 4;
            if (py[i] >= y0 && py[i] <= y1) {
                x0 = std::min(x0, px[i]);
                x1 = std::max(x1, px[i]);
            }
            for (const float y : {y0, y1}) {
                if ((py[i] - y) * (py[j] - y) > 0 || py[i] == py[j]) continue;
                const float x = px[i] + (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]);
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
            }
        }
        // Whole pixels, so that the rain meets the dry part without a gap or an overlap.
        x0 = std::clamp(std::floor(x0), 0.0f, viewWidth);
        x1 = std::clamp(std::ceil(x1), x0, viewWidth);
        if (!std::isfinite(x0) || !std::isfinite(x1)) x0 = x1 = 0;
        if (!out.empty() && out.back().x0 == x0 && out.back().x1 == x1) {
            out.back().y1 = y1;
        } else {
            out.push_back({x0, y0, x1, y1});
        }
    }
    return out;
}

void TWeatherLayer::_ComposeStorm(TPixmap& out, const TPixmap& rain, float alpha, float shade, uint32_t light,
                                  double x1, double y1, double x2, double y2) {
    const int32_t w = rain.width, h = rain.height;
    if (w <= 0 || h <= 0 || out.width != w || out.height != h) return;
    // A layer shifted by (dx, dy) shows at pixel p its picture at p - (dx, dy), between four
    // pixels (wrapped) with weights out of 256 that are the same for every pixel.
    struct TShift {
        int32_t x, y;
        uint32_t fx, fy;
    };
    auto shift = [w, h](double dx, double dy) {
        const double sx = std::isfinite(dx) ? -dx : 0.0, sy = std::isfinite(dy) ? -dy : 0.0;
        const double ix = std::floor(sx), iy = std::floor(sy);
        const auto wrap = [](double v, int32_t n) { return int32_t(v - std::floor(v / n) * n) % n; };
        return TShift{wrap(ix, w), wrap(iy, h), uint32_t(std::clamp(std::lround((sx - ix) * 256), 0L, 256L)),
                      uint32_t(std::clamp(std::lround((sy - iy) * 256), 0L, 256L))};
    };
    const TShift layers[2] = {shift(x1, y1), shift(x2, y2)};
    // The wrapped columns of each layer, worked out once rather than per pixel.
    std::vector<int32_t> columns(size_t(4 * w));
    for (int32_t l = 0; l < 2; ++l) {
        for (int32_t x = 0; x < w; ++x) {
            const int32_t xa = (x + layers[l].x) % w;
            columns[size_t(l * 2 * w + 2 * x)] = xa;
            columns[size_t(l * 2 * w + 2 * x + 1)] = xa + 1 == w ? 0 : xa + 1;
        }
    }
    // Channel ch (A, R, G, B) of a layer at pixel x of the rows ra and rb, 0 … 1.
    auto sample = [&columns, w](const TShift& s, int32_t l, const uint32_t* ra, const uint32_t* rb, int32_t x,
                                float c[4]) {
        const int32_t xa = columns[size_t(l * 2 * w + 2 * x)], xb = columns[size_t(l * 2 * w + 2 * x + 1)];
        const uint32_t p00 = ra[xa], p10 = ra[xb], p01 = rb[xa], p11 = rb[xb];
        for (int32_t ch = 0; ch < 4; ++ch) {
            const uint32_t bits = uint32_t(24 - 8 * ch);
            const uint32_t top = ((p00 >> bits) & 0xFFu) * (256 - s.fx) + ((p10 >> bits) & 0xFFu) * s.fx;
            const uint32_t bottom = ((p01 >> bits) & 0xFFu) * (256 - s.fx) + ((p11 >> bits) & 0xFFu) * s.fx;
            c[ch] = float(top * (256 - s.fy) + bottom * s.fy) * (1.0f / (65536.0f * 255.0f));
        }
    };
    const float light3[3] = {float((light >> 16) & 0xFFu) / 255.0f, float((light >> 8) & 0xFFu) / 255.0f,
                             float(light & 0xFFu) / 255.0f};
    const auto byte = [](float v) { return uint32_t(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    // Where neither layer has a drop the tile is the dim and the light alone (most of it: the
    // layers are sparse), the same value the blend below gives for two clear samples.
    const uint32_t dry = byte(shade) << 24 | byte(light3[0]) << 16 | byte(light3[1]) << 8 | byte(light3[2]);
    // Whether any of the four pixels a layer samples at x holds a drop.
    auto wet = [&columns, w](int32_t l, const uint32_t* ra, const uint32_t* rb, int32_t x) {
        const int32_t xa = columns[size_t(l * 2 * w + 2 * x)], xb = columns[size_t(l * 2 * w + 2 * x + 1)];
        return ((ra[xa] | ra[xb] | rb[xa] | rb[xb]) >> 24) != 0;
    };
    for (int32_t y = 0; y < h; ++y) {
        uint32_t* row = out.Row(y);
        const uint32_t* rows[2][2];
        for (int32_t l = 0; l < 2; ++l) {
            const int32_t ya = (y + layers[l].y) % h;
            rows[l][0] = rain.Row(ya);
            rows[l][1] = rain.Row(ya + 1 == h ? 0 : ya + 1);
        }
        for (int32_t x = 0; x < w; ++x) {
            if (!wet(0, rows[0][0], rows[0][1], x) && !wet(1, rows[1][0], rows[1][1], x)) {
                row[x] = dry;
                continue;
            }
            float c1[4], c2[4];
            sample(layers[0], 0, rows[0][0], rows[0][1], x, c1);
            sample(layers[1], 1, rows[1][0], rows[1][1], x, c2);
            const float a1 = alpha * c1[0], a2 = alpha * c2[0];
            // The target dimmed and lit (target * shade + light), the first layer over it, then
            // the second: target * alpha + colour, as dim blending draws it.
            uint32_t argb = byte(shade * (1 - a1) * (1 - a2)) << 24;
            for (int32_t ch = 0; ch < 3; ++ch) {
                const float lit = a1 * c1[ch + 1] + (1 - a1) * light3[ch];
                argb |= byte(a2 * c2[ch + 1] + (1 - a2) * lit) << (16 - 8 * ch);
            }
            row[x] = argb;
        }
    }
}

void TWeatherLayer::DrawValue(float a, float viewWidth, float viewHeight, float panX, float panY,
                              const std::vector<TGroundLayer::TRect>* wet) {
    TScreenSpace screen;
    const float rain = std::clamp(a - 4.0f, 0.0f, 1.0f);
    const float storm = std::clamp(a - 5.0f, 0.0f, 1.0f);
    float t = 0;
    if (a < 2) t = 1.0f - 0.5f * a;
    if (a > 3) t = 1.5f - 0.5f * a;
    const TPixmap* rainPixels =
        rainImg && !rainImg->pixmaps.empty() && rainImg->pixmaps[0] ? rainImg->pixmaps[0].get() : nullptr;
    const bool raining = rain > 0 && rainPixels && rainPixels->width > 0 && rainPixels->height > 0;
    // Night: the view darkened to shade / 255 and a bluish light added, in one fill.
    const int32_t shade = t < 0 ? int32_t(255 + 55 * t) : 255;
    const int32_t lr = t < 0 ? int32_t(-55 * t) : 0, lb = t < 0 ? int32_t(-65 * t) : 0;

    if (t > 0) {
        SetBlend(LIGHTBLEND);
        SetColor(int32_t(60 * t), int32_t(40 * t), int32_t(20 * t));
        DrawRect(0, 0, viewWidth, viewHeight);
        SetBlend(ALPHABLEND);
    } else if (t < 0 && !raining) {
        SetBlend(DIMBLEND);
        SetColor(lr, lr, lb);
        SetAlpha(float(shade) / 255.0f);
        DrawRect(0, 0, viewWidth, viewHeight);
        SetAlpha(1.0f);
        SetBlend(ALPHABLEND);
    }
    SetColor(255, 255, 255);

    if (raining) {
        // Worked out in double and wrapped to the texture size: the millisecond count is too
        // large for float pixel offsets after a few hours.
        const double now = double(Millisecs());
        const int32_t w = rainPixels->width, h = rainPixels->height;
        if (!stormTile || stormTile->width != w || stormTile->height != h) stormTile = TImage::Create(w, h, 1, DYNAMICIMAGE);
        if (const auto out = stormTile ? stormTile->Lock(0, false, true) : nullptr) {
            _ComposeStorm(*out, *rainPixels, rain, float(shade) / 255.0f, uint32_t(lr << 16 | lr << 8 | lb),
                          std::fmod(panX + now / 200.0, w), std::fmod(panY + now / 20.0, h),
                          std::fmod(panX + now / 100.0, w), std::fmod(panY + now / 10.0, h));
            stormTile->UnlockIntoNewTexture(0);
        }
        const std::vector<TGroundLayer::TRect> whole{{0, 0, viewWidth, viewHeight}};
        SetBlend(DIMBLEND);
        for (const TGroundLayer::TRect& r : wet ? *wet : whole) {
            if (r.x1 > r.x0) TGroundLayer::TileImage(stormTile, 0, 0, r);
            if (t >= 0) continue;
            // Beside the map only the dim.
            SetColor(lr, lr, lb);
            SetAlpha(float(shade) / 255.0f);
            if (r.x0 > 0) DrawRect(0, r.y0, r.x0, r.y1 - r.y0);
            if (r.x1 < viewWidth) DrawRect(r.x1, r.y0, viewWidth - r.x1, r.y1 - r.y0);
            SetColor(255, 255, 255);
            SetAlpha(1.0f);
        }
        SetBlend(ALPHABLEND);
    }

    if (storm > 0) {
        // Lightning at random frames, from the drawing generator: a flash changes nothing else.
        const int32_t n = int32_t(50 - 10 * storm);
        if (layer && layer->drawRandom && layer->drawRandom->GetIntIn(0, n) == 0) {
            const int32_t flash = int32_t(100 * storm);
            SetBlend(LIGHTBLEND);
            SetColor(flash, flash, flash);
            DrawRect(0, 0, viewWidth, viewHeight);
            SetBlend(ALPHABLEND);
            SetColor(255, 255, 255);
        }
    }
}

void TWeatherLayer::_onSave(TWorldFile& wf) const {
    wf.file.addHeader("weather");
    wf.AddRecord(
        "state",
        TRecord().AddInt(currentMode).AddInt(lastMode).AddInt(lastDay).AddInt(untilChangeDay).AddInt(nextUpdateDay));
}

void TWeatherLayer::_onLoad(TWorldFile& wf) {
    const auto section = wf.Section("weather");
    if (!section) return;
    const auto flag = section->findFlag("state");
    TRecord r(flag ? flag->value : std::string());
    const int32_t big = 1 << 30;
    int32_t v[5] = {};
    if (!r.Int(v[0], 0, 6) || !r.Int(v[1], 0, 6) || !r.Int(v[2], -big, big) || !r.Int(v[3], -big, big) ||
        !r.Int(v[4], -big, big) || !r.AtEnd())
        return wf.Broken("weather");
    currentMode = v[0];
    lastMode = v[1];
    lastDay = v[2];
    untilChangeDay = v[3];
    nextUpdateDay = v[4];
}
