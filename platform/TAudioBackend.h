#pragma once
#include <cstdint>
#include <memory>

#include "platform/TSound.h"

// Where sounds play: a device (TSDLAudioBackend), a mixer without device (TMixer, for the bench)
// or a recorder for tests (TRecordingAudioBackend). Volume is 0 … 1, pan −1 (left) … +1 (right).
class TAudioBackend {
public:
    // A playing sound; 0 is none.
    using TVoice = int32_t;

    virtual ~TAudioBackend() = default;
    // Starts the sound once, or looped until stopped; 0 when it cannot play (no sound, every
    // voice busy).
    virtual TVoice Play(const std::shared_ptr<const TSound>& sound, float volume, float pan, bool loop) = 0;
    // A new volume and pan for a playing voice (glided over the next mixed block, so no click).
    virtual void Set(TVoice voice, float volume, float pan) = 0;
    virtual void Stop(TVoice voice) = 0;
};
