#include "platform/TSDLAudioBackend.h"

#include <SDL.h>

#include <cstring>

std::unique_ptr<TSDLAudioBackend> TSDLAudioBackend::Open(std::string& reason) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        reason = SDL_GetError();
        return nullptr;
    }
    const char* name = SDL_GetCurrentAudioDriver();
    if (!name || std::strcmp(name, "dummy") == 0) {
        reason = name ? "only the dummy driver" : "no audio driver";
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    std::unique_ptr<TSDLAudioBackend> backend(new TSDLAudioBackend());
    backend->driver = name;
    SDL_AudioSpec want{};
    want.freq = TSound::rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = blockFrames;
    want.callback = _callback;
    want.userdata = backend.get();
    SDL_AudioSpec have{};
    backend->device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (backend->device == 0) {
        reason = SDL_GetError();
        backend.reset();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(backend->device, 0);
    return backend;
}

TSDLAudioBackend::~TSDLAudioBackend() {
    if (device == 0) return;
    SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TSDLAudioBackend::_callback(void* context, uint8_t* stream, int len) {
    auto* self = static_cast<TSDLAudioBackend*>(context);
    const std::lock_guard<std::mutex> guard(self->lock);
    self->mixer.Mix(reinterpret_cast<int16_t*>(stream), len / int(2 * sizeof(int16_t)));
}

TAudioBackend::TVoice TSDLAudioBackend::Play(const std::shared_ptr<const TSound>& sound, float volume, float pan,
                                             bool loop) {
    const std::lock_guard<std::mutex> guard(lock);
    return mixer.Play(sound, volume, pan, loop);
}

void TSDLAudioBackend::Set(TVoice voice, float volume, float pan) {
    const std::lock_guard<std::mutex> guard(lock);
    mixer.Set(voice, volume, pan);
}

void TSDLAudioBackend::Stop(TVoice voice) {
    const std::lock_guard<std::mutex> guard(lock);
    mixer.Stop(voice);
}
