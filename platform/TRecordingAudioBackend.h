#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/TAudioBackend.h"

// A back end without device: it keeps every sound started (name, volume, pan, looped) and the
// state of the voices still playing, so what a session makes heard is checked in unit tests.
// One-shot sounds count as playing until Stop or ClearLog.
class TRecordingAudioBackend : public TAudioBackend {
public:
    struct TPlay {
        std::string name;
        float volume = 0, pan = 0;
        bool loop = false;
        TVoice voice = 0;
    };

    TVoice Play(const std::shared_ptr<const TSound>& sound, float volume, float pan, bool loop) override;
    void Set(TVoice voice, float volume, float pan) override;
    void Stop(TVoice voice) override;

    // The names of the sounds started so far, in order.
    std::vector<std::string> Names() const;
    // The loop of that name still playing, or null.
    const TPlay* Loop(const std::string& name) const;
    // Forgets the sounds started so far (the voices stay).
    void ClearLog() { plays.clear(); }

    std::vector<TPlay> plays;
    std::map<TVoice, TPlay> voices;

private:
    TVoice nextVoice = 1;
};
