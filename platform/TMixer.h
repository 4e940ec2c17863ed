#pragma once
#include <array>
#include <cstdint>

#include "platform/TAudioBackend.h"

// Mixes up to maxVoices sounds into interleaved 16-bit stereo at TSound::rate, each with its
// volume and pan. Not thread-safe by itself: TSDLAudioBackend guards it for the device's thread.
class TMixer : public TAudioBackend {
public:
    static constexpr int32_t maxVoices = 48;

    TVoice Play(const std::shared_ptr<const TSound>& sound, float volume, float pan, bool loop) override;
    void Set(TVoice voice, float volume, float pan) override;
    void Stop(TVoice voice) override;

    // Writes frames stereo frames (2 × frames samples); silence where nothing plays. Finished
    // voices are freed.
    void Mix(int16_t* out, int32_t frames);
    int32_t Playing() const;

private:
    struct TSlot {
        std::shared_ptr<const TSound> sound;
        TVoice id = 0;
        size_t position = 0;
        bool loop = false;
        // The gains reached at the end of the last block and those asked for now.
        float left = 0, right = 0, wantLeft = 0, wantRight = 0;
    };
    TSlot* _find(TVoice voice);
    static void _gains(float volume, float pan, float& left, float& right);

    std::array<TSlot, maxVoices> slots;
    TVoice nextId = 1;
};
