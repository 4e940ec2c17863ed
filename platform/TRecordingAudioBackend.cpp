#include "platform/TRecordingAudioBackend.h"

TAudioBackend::TVoice TRecordingAudioBackend::Play(const std::shared_ptr<const TSound>& sound, float volume, float pan,
                                                   bool loop) {
    if (!sound) return 0;
    const TPlay play{sound->name, volume, pan, loop, nextVoice++};
    plays.push_back(play);
    voices[play.voice] = play;
    return play.voice;
}

void TRecordingAudioBackend::Set(TVoice voice, float volume, float pan) {
    auto it = voices.find(voice);
    if (it == voices.end()) return;
    it->second.volume = volume;
    it->second.pan = pan;
}

void TRecordingAudioBackend::Stop(TVoice voice) { voices.erase(voice); }

std::vector<std::string> TRecordingAudioBackend::Names() const {
    std::vector<std::string> names;
    for (const TPlay& p : plays) names.push_back(p.name);
    return names;
}

const TRecordingAudioBackend::TPlay* TRecordingAudioBackend::Loop(const std::string& name) const {
    for (const auto& [voice, play] : voices) {
        if (play.loop && play.name == name) return &play;
    }
    return nullptr;
}
