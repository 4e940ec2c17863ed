#include "world/TWeatherLayer.h"

#include <algorithm>
#include <cmath>

#include "framework/TFastRandom.h"
#include "persistence/TDataFile.h"
#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TPaths.h"
#include "platform/TScreenSpace.h"
#include "platform/TStream.h"
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
    DrawValue(GetValue(), float(layer->viewWidth), float(layer->viewHeight), layer->GetX(), layer->GetY());
}

void TWeatherLayer::DrawValue(float a, float viewWidth, float viewHeight, float panX, float panY) {
    TScreenSpace screen;
    const float rain = std::clamp(a - 4.0f, 0.0f, 1.0f);
    const float storm = std::clamp(a - 5.0f, 0.0f, 1.0f);
    float t = 0;
    if (a < 2) t = 1.0f - 0.5f * a;
    if (a > 3) t = 1.5f - 0.5f * a;

    if (t > 0) {
        SetBlend(LIGHTBLEND);
        SetColor(int32_t(60 * t), int32_t(40 * t), int32_t(20 * t));
        DrawRect(0, 0, viewWidth, viewHeight);
        SetBlend(ALPHABLEND);
    } else if (t < 0) {
        // Night: the view darkened to shade / 255 and a bluish light added, in one fill.
        const int32_t shade = int32_t(255 + 55 * t);
        SetBlend(DIMBLEND);
        SetColor(int32_t(-55 * t), int32_t(-55 * t), int32_t(-65 * t));
        SetAlpha(float(shade) / 255.0f);
        DrawRect(0, 0, viewWidth, viewHeight);
        SetAlpha(1.0f);
        SetBlend(ALPHABLEND);
    }
    SetColor(255, 255, 255);

    if (rain > 0) {
        // Worked out in double and wrapped to the texture size: the millisecond count is too
        // large for float pixel offsets after a few hours.
        const double now = double(Millisecs());
        const double w = rainImg && rainImg->width > 0 ? rainImg->width : 1;
        const double h = rainImg && rainImg->height > 0 ? rainImg->height : 1;
        auto wrap = [](double v, double size) { return float(std::fmod(v, size)); };
        SetAlpha(rain);
        TileImage(rainImg, wrap(panX + now / 200.0, w), wrap(panY + now / 20.0, h), 0);
        TileImage(rainImg, wrap(panX + now / 100.0, w), wrap(panY + now / 10.0, h), 0);
        SetAlpha(1.0f);
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
