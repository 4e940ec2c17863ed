#include "platform/TMixer.h"

#include <algorithm>
#include <vector>

void TMixer::_gains(float volume, float pan, float& left, float& right) {
    const float v = std::clamp(volume, 0.0f, 1.0f), p = std::clamp(pan, -1.0f, 1.0f);
    // The far side fades out while the near side keeps its level.
    left = v * std::min(1.0f, 1.0f - p);
    right = v * std::min(1.0f, 1.0f + p);
}

TMixer::TSlot* TMixer::_find(TVoice voice) {
    if (voice == 0) return nullptr;
    for (TSlot& s : slots) {
        if (s.id == voice) return &s;
    }
    return nullptr;
}

TAudioBackend::TVoice TMixer::Play(const std::shared_ptr<const TSound>& sound, float volume, float pan, bool loop) {
    if (!sound || sound->samples.empty()) return 0;
    for (TSlot& s : slots) {
        if (s.id != 0) continue;
        s.sound = sound;
        s.id = nextId++;
        if (nextId <= 0) nextId = 1;
        s.position = 0;
        s.loop = loop;
        _gains(volume, pan, s.wantLeft, s.wantRight);
        // A one-shot starts at its level; a loop glides in.
        s.left = loop ? 0.0f : s.wantLeft;
        s.right = loop ? 0.0f : s.wantRight;
        return s.id;
    }
    return 0;
}

void TMixer::Set(TVoice voice, float volume, float pan) {
    if (TSlot* s = _find(voice)) _gains(volume, pan, s->wantLeft, s->wantRight);
}

void TMixer::Stop(TVoice voice) {
    if (TSlot* s = _find(voice)) *s = TSlot{};
}

int32_t TMixer::Playing() const {
    return int32_t(std::count_if(slots.begin(), slots.end(), [](const TSlot& s) { return s.id != 0; }));
}

void TMixer::Mix(int16_t* out, int32_t frames) {
    if (frames <= 0) return;
    thread_local std::vector<int32_t> sum;
    sum.assign(size_t(frames) * 2, 0);
    const float step = 1.0f / float(frames);
    for (TSlot& s : slots) {
        if (s.id == 0) continue;
        const std::vector<int16_t>& samples = s.sound->samples;
        const float dl = (s.wantLeft - s.left) * step, dr = (s.wantRight - s.right) * step;
        float l = s.left, r = s.right;
        for (int32_t i = 0; i < frames; ++i) {
            if (s.position >= samples.size()) {
                if (!s.loop) break;
                s.position = 0;
            }
            const float v = float(samples[s.position++]);
            l += dl;
            r += dr;
            sum[size_t(i) * 2] += int32_t(v * l);
            sum[size_t(i) * 2 + 1] += int32_t(v * r);
        }
        s.left = s.wantLeft;
        s.right = s.wantRight;
        if (!s.loop && s.position >= samples.size()) s = TSlot{};
    }
    for (size_t i = 0; i < sum.size(); ++i) out[i] = int16_t(std::clamp(sum[i], -32768, 32767));
}
