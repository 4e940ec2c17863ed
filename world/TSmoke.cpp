#include "world/TSmoke.h"

#include <algorithm>
#include <cstdio>

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TStream.h"
#include "settings/TConfig.h"
#include "world/TSmokeCloud.h"
#include "world/TTicker.h"

void TSmoke::Init(const std::string& prefix) {
    const int32_t frames = std::max(1, TConfig::smokeMaxFrames);
    for (int32_t i = 0; i < kindCount; ++i) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%02d", i);
        const std::string path = prefix + digits + ".png";
        images[size_t(i)].reset();
        if (FileType(path) != FILETYPE_FILE) continue;
        auto img = TImage::LoadAnim(path, 32, 32, 0, frames);
        if (!img) {
            Print("Smoke picture could not be loaded: " + path);
            continue;
        }
        img->MidHandle();
        images[size_t(i)] = img;
    }
}

std::shared_ptr<TSmoke> TSmoke::Create(float x, float y, int32_t id, float speed,
                                       const std::shared_ptr<vesko::TFastRandom>& random) {
    if (id < 0 || id >= kindCount || !images[size_t(id)]) return nullptr;
    auto s = std::make_shared<TSmoke>();
    s->X = x;
    s->Y = y;
    s->id = id;
    s->speed = speed;
    s->ticker = TTicker::Create(60);
    s->eticker = TTicker::Create(2);
    s->random = random ? random : vesko::TFastRandom::Create(0);
    return s;
}

void TSmoke::Draw(float sx, float sy, float scaleX, float scaleY, float alpha, float wind) {
    const float g = ticker->GetF(0);
    const int32_t maxF = TConfig::smokeMaxFrames;
    const auto& img = images[size_t(id)];
    vesko::TFastRandom& r = *random;
    // A snapshot: puffs removed during the walk neither skip nor repeat others.
    const auto puffs = sm;
    for (const auto& puff : puffs) {
        // With a single frame per strip a puff is at its last frame from the start.
        const float t = maxF > 1 ? float(puff->Frame) / float(maxF - 1) : 1.0f;
        SetAlpha(alpha * 0.75f * (1.0f - t * t));
        DrawImage(img, sx + X * scaleX + scaleX * puff->X, sy - Y * scaleY + scaleY * puff->Y, puff->Frame);
        const float sign = float(2 * r.GetIntIn(0, 1) - 1);
        puff->X += (sign * r.GetFloatIn(TConfig::smokeVariationXMin, TConfig::smokeVariationXMax) + t * wind) * g;
        puff->Y -= g * r.GetFloatIn(TConfig::smokeSpeedYMin, TConfig::smokeSpeedYMax) * (speed * 0.001f);
        puff->nf += g * r.GetFloatIn(TConfig::smokeChangeFrameSpeedMin, TConfig::smokeChangeFrameSpeedMax);
        if (puff->nf >= 1.0f) {
            puff->Frame = static_cast<int32_t>(std::min(puff->nf + float(puff->Frame), 1e9f));
            puff->nf = 0;
        }
        if (puff->Frame >= maxF) RemoveCloud(puff);
    }
    SetAlpha(alpha);
    // However many emission ticks passed, one puff per frame.
    if (eticker->Get() > 0) {
        const float sign = r.GetIntIn(0, 1) ? 1.0f : -1.0f;
        AddCloud(sign * r.GetFloatIn(TConfig::smokeStartVariationXMin, TConfig::smokeStartVariationXMax), 0, 0);
    }
}

std::shared_ptr<TSmokeCloud> TSmoke::AddCloud(float x, float y, int32_t frame) {
    auto c = TSmokeCloud::Create(x, y, frame);
    sm.push_back(c);
    return c;
}

void TSmoke::RemoveCloud(const std::shared_ptr<TSmokeCloud>& cloud) {
    sm.erase(std::remove(sm.begin(), sm.end(), cloud), sm.end());
}
