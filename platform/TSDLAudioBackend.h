#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/TMixer.h"

// The sound device through SDL's audio callback: 16-bit stereo at TSound::rate (SDL converts
// for devices that want another format), mixed by our own TMixer on SDL's audio thread. The game
// thread only changes voices under a lock the callback holds for one block's mix.
class TSDLAudioBackend : public TAudioBackend {
public:
    static constexpr int32_t blockFrames = 512;

    // The opened device, or null with the reason when there is none (no driver, the "dummy"
    // driver, a device that refuses to open).
    static std::unique_ptr<TSDLAudioBackend> Open(std::string& reason);
    ~TSDLAudioBackend() override;

    TVoice Play(const std::shared_ptr<const TSound>& sound, float volume, float pan, bool loop) override;
    void Set(TVoice voice, float volume, float pan) override;
    void Stop(TVoice voice) override;
    // The name of SDL's audio driver in use ("pulseaudio", "alsa", "disk", …).
    const std::string& Driver() const { return driver; }

private:
    TSDLAudioBackend() = default;
    static void _callback(void* context, uint8_t* stream, int len);

    uint32_t device = 0;
    std::string driver;
    std::mutex lock;
    TMixer mixer;
};
