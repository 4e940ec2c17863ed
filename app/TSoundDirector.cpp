#include "app/TSoundDirector.h"

#include <algorithm>
#include <utility>

#include "platform/TPaths.h"
#include "platform/TSDLAudioBackend.h"
#include "platform/TSoundBank.h"
#include "platform/TStream.h"
#include "settings/TSettings.h"

const std::array<const char*, TSoundDirector::SoundCount> TSoundDirector::names = {
    "click",     "road",    "build", "demolish", "refused", "money",   "finished",
    "milestone", "thunder", "birds", "wind",     "hum",     "traffic", "rain"};

namespace {
float Percent(int32_t value) { return std::clamp(float(value) / 100.0f, 0.0f, 1.0f); }
}  // namespace

std::unique_ptr<TSoundDirector> TSoundDirector::Open() {
    std::string reason;
    std::unique_ptr<TAudioBackend> device = TSDLAudioBackend::Open(reason);
    if (!device) {
        Print("No sound device (" + reason + "): the game plays silently.");
        return std::make_unique<TSoundDirector>(nullptr, std::vector<std::shared_ptr<const TSound>>{});
    }
    return std::make_unique<TSoundDirector>(std::move(device),
                                            TSoundBank::LoadAll(TPaths::Resolve(folder), {names.begin(), names.end()}));
}

TSoundDirector::TSoundDirector(std::unique_ptr<TAudioBackend> backend,
                               std::vector<std::shared_ptr<const TSound>> sounds)
    : backend(std::move(backend)), sounds(std::move(sounds)) {
    this->sounds.resize(SoundCount);
}

TSoundDirector::~TSoundDirector() { Silence(); }

void TSoundDirector::_play(TSoundId id, float volume, float pan) {
    if (!backend || !TSettings::Sound || volume <= 0.0f) return;
    backend->Play(sounds[size_t(id)], volume, pan, false);
}

void TSoundDirector::Interface(TSoundId id) { _play(id, Percent(TSettings::SoundVolume), 0.0f); }

void TSoundDirector::AtPlace(TSoundId id, float screenX, float viewWidth, float scale, bool paused) {
    if (paused) return;
    _play(id, Percent(TSettings::SoundVolume) * Softening(scale), PanAt(screenX, viewWidth));
}

float TSoundDirector::PanAt(float screenX, float viewWidth) {
    if (viewWidth <= 0) return 0.0f;
    return std::clamp((2.0f * screenX / viewWidth - 1.0f) * widestPan, -widestPan, widestPan);
}

float TSoundDirector::Softening(float scale) { return std::clamp(scale, softestScale, 1.0f); }

TSoundDirector::TLevels TSoundDirector::AmbienceLevels(const TSoundView& view) {
    // Paused, the city holds its breath: only the weather goes on.
    const float alive = view.paused ? 0.0f : 1.0f;
    const float dry = 1.0f - view.rain;
    return {alive * view.nature * dry,                                       // birds keep quiet in rain
            std::min(1.0f, alive * 0.6f * view.nature + 0.7f * view.storm),  // wind, and the storm's
            alive * std::min(1.0f, float(view.buildings) / fullCity),        // the city's hum
            alive * std::min(1.0f, float(view.cars) / fullTraffic),          // traffic
            view.rain};
}

void TSoundDirector::Frame(const TSoundView& view, int32_t nowMs) {
    if (!backend) return;
    if (!TSettings::Sound) {
        Silence();
        return;
    }
    const TLevels levels = AmbienceLevels(view);
    const float volume = Percent(TSettings::AmbienceVolume);
    for (int32_t i = 0; i < loopCount; ++i) {
        const float level = levels[size_t(i)] * volume;
        TAudioBackend::TVoice& voice = loops[size_t(i)];
        if (voice == 0 && level > 0.0f) {
            voice = backend->Play(sounds[size_t(firstLoop + i)], level, 0.0f, true);
        } else if (voice != 0) {
            backend->Set(voice, level, 0.0f);
        }
    }
    if (view.storm <= 0.0f) {
        nextThunderMs = -1;
        return;
    }
    // Thunder every 20 s in a light storm, every 5 s at its height, a little irregular.
    if (nextThunderMs >= 0 && nowMs >= nextThunderMs) {
        const float pan = (float(_random() % 201) / 100.0f - 1.0f) * widestPan;
        _play(Thunder, Percent(TSettings::AmbienceVolume) * (0.5f + 0.5f * view.storm), pan);
        nextThunderMs = -1;
    }
    if (nextThunderMs < 0) nextThunderMs = nowMs + int32_t(5000.0f / view.storm * 0.5f) + int32_t(_random() % 4000);
}

void TSoundDirector::Silence() {
    if (!backend) return;
    for (TAudioBackend::TVoice& voice : loops) {
        if (voice != 0) backend->Stop(voice);
        voice = 0;
    }
}

uint32_t TSoundDirector::_random() {
    thunderState ^= thunderState << 13;
    thunderState ^= thunderState >> 17;
    thunderState ^= thunderState << 5;
    return thunderState;
}
